// The user's steps of a brisvane-sim run: one table of the kinds of step,
// from which the script parser reads and the usage text comes.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace brisvane::simrun {

class Runner;
struct Step;

// How a step's arguments read.
enum class Arguments {
  None,
  Numbers,      // `count` non-negative integers
  Button,       // a message box button's name; its id goes in `numbers`
  Text,         // the rest of the line, not empty
  Caption,      // a button's caption with "\n" for a line break, or "#ID"
  CommandLine,  // the rest of the line as written, maybe empty
};

struct StepType {
  const char* name;
  const char* usage;  // the arguments as the usage text shows them
  const char* help;   // what the user does, in one line
  Arguments arguments;
  std::size_t count;  // of Numbers
  // Performs the step; returns an error text when the user cannot do it.
  std::string (*perform)(Runner& runner, const Step& step);
};

struct Step {
  const StepType* type = nullptr;
  std::string text;          // a caption, a file name or a command line
  std::vector<int> numbers;  // the numbers; a button's id; a control id of "click #ID"
  int line = 0;
};

// Every kind of step, in the order the usage text lists them.
const std::vector<StepType>& stepTypes();

// The part of the usage text that lists the steps.
std::string stepUsage();

struct ScriptResult {
  std::vector<Step> steps;
  std::string error;  // "script line N: ..." when a line cannot be read
};

// One step per line; blank lines and lines starting with '#' are skipped. A
// space or a tab separates a step from its arguments.
ScriptResult parseScript(const std::string& text);

// The steps of the built-in demo.
std::vector<Step> demoScript();

}  // namespace brisvane::simrun
