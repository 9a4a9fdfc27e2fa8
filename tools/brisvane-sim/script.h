// The user's steps of a brisvane-sim run.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace brisvane::simrun {

struct Step {
  enum class Kind { Wait, Answer, Click, Close, Start, About } kind = Kind::Wait;
  unsigned milliseconds = 0;  // wait
  int button = 0;             // answer
  std::string text;           // click: the caption; start: the command line
  int line = 0;
};

struct ScriptResult {
  std::vector<Step> steps;
  std::string error;  // "script line N: ..." when a line cannot be read
};

// One step per line; blank lines and lines starting with '#' are skipped.
ScriptResult parseScript(const std::string& text);

// The steps of the built-in demo.
std::vector<Step> demoScript();

}  // namespace brisvane::simrun
