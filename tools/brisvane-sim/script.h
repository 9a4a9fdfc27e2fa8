// The user's steps of a brisvane-sim run.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace brisvane::simrun {

struct Step {
  enum class Kind {
    Wait,
    Answer,
    Click,
    Close,
    Start,
    About,
    Screenshot,  // text: the PNG file
    Select,      // numbers: control id, entry
    Move,        // numbers: x, y in the window's client area
    ClickAt,     // numbers: x, y
    Drag,        // numbers: x1, y1, x2, y2
    Menu,        // numbers: the command chosen in the open menu
    Dismiss,     // closes the open menu
  } kind = Kind::Wait;
  unsigned milliseconds = 0;  // wait
  int button = 0;             // answer
  std::string text;           // click: the caption; start: the command line
  int line = 0;
  std::vector<int> numbers;
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
