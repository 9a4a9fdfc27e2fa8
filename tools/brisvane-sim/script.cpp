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
