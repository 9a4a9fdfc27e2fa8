#include "tools/brisvane-sim/script.h"

#include <map>
#include <sstream>

#include "platform/api/types.h"

namespace brisvane::simrun {

namespace {

const std::map<std::string, int>& buttonNames() {
  static const std::map<std::string, int> names = {
      {"OK", plat::kIdOk},       {"Cancel", plat::kIdCancel}, {"Abort", plat::kIdAbort},
      {"Retry", plat::kIdRetry}, {"Ignore", plat::kIdIgnore}, {"Yes", plat::kIdYes},
      {"No", plat::kIdNo},
  };
  return names;
}

std::string trim(const std::string& text) {
  const std::size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) return {};
  const std::size_t last = text.find_last_not_of(" \t\r");
  return text.substr(first, last - first + 1);
}

// The numbers of a step: exactly `count` non-negative integers.
std::optional<std::vector<int>> numbersOf(const std::string& text, std::size_t count) {
  std::istringstream in(text);
  std::vector<int> out;
  std::string word;
  while (in >> word) {
    if (word.size() > 9 || word.find_first_not_of("0123456789") != std::string::npos) {
      return std::nullopt;
    }
    out.push_back(std::stoi(word));
  }
  if (out.size() != count) return std::nullopt;
  return out;
}

struct NumberStep {
  Step::Kind kind;
  std::size_t count;
  const char* usage;
};

const std::map<std::string, NumberStep>& numberSteps() {
  static const std::map<std::string, NumberStep> steps = {
      {"select", {Step::Kind::Select, 2, "select needs a control id and an entry number"}},
      {"move", {Step::Kind::Move, 2, "move needs x and y"}},
      {"clickat", {Step::Kind::ClickAt, 2, "clickat needs x and y"}},
      {"drag", {Step::Kind::Drag, 4, "drag needs x1 y1 x2 y2"}},
      {"menu", {Step::Kind::Menu, 1, "menu needs a command id"}},
  };
  return steps;
}

}  // namespace

ScriptResult parseScript(const std::string& text) {
  ScriptResult result;
  std::istringstream in(text);
  std::string raw;
  int number = 0;
  while (std::getline(in, raw)) {
    ++number;
    const std::string line = trim(raw);
    if (line.empty() || line[0] == '#') continue;
    const std::size_t space = line.find(' ');
    const std::string word = line.substr(0, space);
    const std::string rest = space == std::string::npos ? "" : trim(line.substr(space + 1));
    Step step;
    step.line = number;
    auto fail = [&](const std::string& problem) {
      result.error = "script line " + std::to_string(number) + ": " + problem;
    };
    if (word == "wait") {
      step.kind = Step::Kind::Wait;
      if (rest.empty() || rest.size() > 9 ||
          rest.find_first_not_of("0123456789") != std::string::npos) {
        fail("wait needs a number of milliseconds");
        return result;
      }
      step.milliseconds = static_cast<unsigned>(std::stoul(rest));
    } else if (word == "answer") {
      step.kind = Step::Kind::Answer;
      const auto found = buttonNames().find(rest);
      if (found == buttonNames().end()) {
        fail("answer needs OK, Cancel, Yes, No, Retry, Abort or Ignore");
        return result;
      }
      step.button = found->second;
    } else if (word == "click") {
      step.kind = Step::Kind::Click;
      if (rest.empty()) {
        fail("click needs the caption of a button");
        return result;
      }
      step.text = rest;
    } else if (word == "close" && rest.empty()) {
      step.kind = Step::Kind::Close;
    } else if (word == "about" && rest.empty()) {
      step.kind = Step::Kind::About;
    } else if (word == "dismiss" && rest.empty()) {
      step.kind = Step::Kind::Dismiss;
    } else if (word == "screenshot") {
      step.kind = Step::Kind::Screenshot;
      if (rest.empty()) {
        fail("screenshot needs a file name");
        return result;
      }
      step.text = rest;
    } else if (const auto found = numberSteps().find(word); found != numberSteps().end()) {
      step.kind = found->second.kind;
      const auto numbers = numbersOf(rest, found->second.count);
      if (!numbers) {
        fail(found->second.usage);
        return result;
      }
      step.numbers = *numbers;
    } else if (word == "start") {
      step.kind = Step::Kind::Start;
      // The command line is the rest of the line as written, so that
      // spaces and letter case reach the program unchanged.
      step.text = space == std::string::npos ? "" : raw.substr(raw.find("start") + 6);
      if (!step.text.empty() && step.text.back() == '\r') step.text.pop_back();
    } else {
      fail("unknown step '" + line + "'");
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
