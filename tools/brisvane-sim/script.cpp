#include "tools/brisvane-sim/script.h"

#include <algorithm>
#include <map>
#include <optional>
#include <sstream>

#include "platform/api/types.h"

namespace brisvane::simrun {

namespace {

constexpr char kBlanks[] = " \t\r";
constexpr std::size_t kUsageColumn = 26;

const std::map<std::string, int>& buttonNames() {
  static const std::map<std::string, int> names = {
      {"OK", plat::kIdOk},       {"Cancel", plat::kIdCancel}, {"Abort", plat::kIdAbort},
      {"Retry", plat::kIdRetry}, {"Ignore", plat::kIdIgnore}, {"Yes", plat::kIdYes},
      {"No", plat::kIdNo},
  };
  return names;
}

std::string trim(const std::string& text) {
  const std::size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string::npos) return {};
  const std::size_t last = text.find_last_not_of(kBlanks);
  return text.substr(first, last - first + 1);
}

std::optional<int> numberOf(const std::string& word) {
  if (word.empty() || word.size() > 9 ||
      word.find_first_not_of("0123456789") != std::string::npos) {
    return std::nullopt;
  }
  return std::stoi(word);
}

// Exactly `count` non-negative integers.
std::optional<std::vector<int>> numbersOf(const std::string& text, std::size_t count) {
  std::istringstream in(text);
  std::vector<int> out;
  std::string word;
  while (in >> word) {
    const auto number = numberOf(word);
    if (!number) return std::nullopt;
    out.push_back(*number);
  }
  if (out.size() != count) return std::nullopt;
  return out;
}

// A caption as a script writes it: "\n" is a line break, "\\" a backslash.
std::string captionOf(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 1 < text.size() && (text[i + 1] == 'n' || text[i + 1] == '\\')) {
      out += text[++i] == 'n' ? '\n' : '\\';
    } else {
      out += text[i];
    }
  }
  return out;
}

// The arguments of a step of `type`, from `rest` (trimmed) or `raw` (the
// text after the separator, as written); an error text when they do not
// read.
std::string readArguments(const StepType& type, const std::string& rest, const std::string& raw,
                          Step& step) {
  const std::string needs = "expected \"" + std::string(type.name) + " " + type.usage + "\"";
  switch (type.arguments) {
    case Arguments::None:
      return rest.empty() ? std::string() : std::string(type.name) + " takes no arguments";
    case Arguments::Numbers: {
      const auto numbers = numbersOf(rest, type.count);
      if (!numbers) return needs;
      step.numbers = *numbers;
      return {};
    }
    case Arguments::Button: {
      const auto found = buttonNames().find(rest);
      if (found == buttonNames().end()) return needs;
      step.text = rest;
      step.numbers = {found->second};
      return {};
    }
    case Arguments::Text:
      if (rest.empty()) return needs;
      step.text = rest;
      return {};
    case Arguments::Caption:
      if (rest.empty()) return needs;
      if (rest[0] == '#') {
        const auto id = numberOf(rest.substr(1));
        if (!id) return needs;
        step.numbers = {*id};
        return {};
      }
      step.text = captionOf(rest);
      return {};
    case Arguments::CommandLine:
      // As written, so that spaces and letter case reach the program.
      step.text = raw;
      if (!step.text.empty() && step.text.back() == '\r') step.text.pop_back();
      return {};
  }
  return needs;
}

}  // namespace

std::string stepUsage() {
  std::string out = "steps, one a line (a space or a tab before the arguments):\n";
  for (const StepType& type : stepTypes()) {
    std::string left = std::string("  ") + type.name;
    if (type.usage[0] != '\0') left += std::string(" ") + type.usage;
    left.resize(std::max(left.size() + 1, kUsageColumn), ' ');
    out += left + type.help + "\n";
  }
  return out;
}

ScriptResult parseScript(const std::string& text) {
  ScriptResult result;
  std::istringstream in(text);
  std::string raw;
  int number = 0;
  while (std::getline(in, raw)) {
    ++number;
    const std::string line = trim(raw);
    if (line.empty() || line[0] == '#') continue;
    const std::size_t end = line.find_first_of(kBlanks);
    const std::string word = line.substr(0, end);
    const auto type = std::find_if(stepTypes().begin(), stepTypes().end(),
                                   [&](const StepType& t) { return word == t.name; });
    if (type == stepTypes().end()) {
      result.error = "script line " + std::to_string(number) + ": unknown step '" + line + "'";
      return result;
    }
    const std::size_t start = raw.find_first_not_of(kBlanks);
    const std::size_t separator = start + word.size();
    const std::string afterWord = separator < raw.size() ? raw.substr(separator + 1) : "";
    Step step;
    step.type = &*type;
    step.line = number;
    const std::string error = readArguments(
        *type, end == std::string::npos ? "" : trim(line.substr(end)), afterWord, step);
    if (!error.empty()) {
      result.error = "script line " + std::to_string(number) + ": " + error;
      return result;
    }
    result.steps.push_back(step);
  }
  return result;
}

std::vector<Step> demoScript() {
  const ScriptResult demo = parseScript(
      "wait 1000\n"
      "start\n"  // a second instance brings the first to the front and ends
      "about\n"
      "click 确定\n"
      "close\n");
  return demo.steps;
}

}  // namespace brisvane::simrun
