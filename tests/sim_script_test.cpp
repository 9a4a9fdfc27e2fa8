// brisvane-sim's script parser: every step of the table reads its
// arguments, and a line that does not read is refused with its number.
#include <gtest/gtest.h>

#include "tools/brisvane-sim/script.h"

namespace brisvane::simrun {
namespace {

TEST(SimScript, StepsReadTheirArguments) {
  struct Case {
    const char* line;
    const char* step;
    std::string text;
    std::vector<int> numbers;
  };
  const Case cases[] = {
      {"wait 250", "wait", "", {250}},
      {"wait\t250", "wait", "", {250}},
      {"  answer\tOK  ", "answer", "OK", {1}},
      {"click Install USB\\nPrinter Driver", "click", "Install USB\nPrinter Driver", {}},
      {"click C:\\\\temp", "click", "C:\\temp", {}},
      {"click #1000", "click", "", {1000}},
      {"show 1005", "show", "", {1005}},
      {"start", "start", "", {}},
      {"start /multi  /del", "start", "/multi  /del", {}},
      {"start\t/multi", "start", "/multi", {}},
      {"select 1027 1", "select", "", {1027, 1}},
      {"drag 1 2 3 4", "drag", "", {1, 2, 3, 4}},
      {"close", "close", "", {}},
      {"screenshot shot.png", "screenshot", "shot.png", {}},
  };
  for (const Case& c : cases) {
    const ScriptResult result = parseScript(std::string("# a comment\n\n") + c.line + "\n");
    ASSERT_EQ(result.error, "") << c.line;
    ASSERT_EQ(result.steps.size(), 1U) << c.line;
    const Step& step = result.steps[0];
    EXPECT_STREQ(step.type->name, c.step) << c.line;
    EXPECT_EQ(step.text, c.text) << c.line;
    EXPECT_EQ(step.numbers, c.numbers) << c.line;
    EXPECT_EQ(step.line, 3) << c.line;
  }
}

TEST(SimScript, BadLinesAreRefusedWithTheirNumber) {
  struct Case {
    const char* line;
    const char* error;
  };
  const Case cases[] = {
      {"jump 3", "script line 2: unknown step 'jump 3'"},
      {"waiting 3", "script line 2: unknown step 'waiting 3'"},
      {"wait", "script line 2: expected \"wait MS\""},
      {"wait -5", "script line 2: expected \"wait MS\""},
      {"wait 5 6", "script line 2: expected \"wait MS\""},
      {"answer Maybe", "script line 2: expected \"answer BUTTON\""},
      {"click", "script line 2: expected \"click CAPTION|#ID\""},
      {"click #", "script line 2: expected \"click CAPTION|#ID\""},
      {"click #10a", "script line 2: expected \"click CAPTION|#ID\""},
      {"show", "script line 2: expected \"show ID\""},
      {"close now", "script line 2: close takes no arguments"},
      {"select 1027", "script line 2: expected \"select ID ENTRY\""},
  };
  for (const Case& c : cases) {
    const ScriptResult result = parseScript(std::string("wait 1\n") + c.line + "\n");
    EXPECT_EQ(result.error, c.error) << c.line;
  }
}

TEST(SimScript, TheUsageListsEveryStep) {
  const std::string usage = stepUsage();
  for (const StepType& type : stepTypes()) {
    EXPECT_NE(usage.find(std::string("\n  ") + type.name), std::string::npos) << type.name;
    EXPECT_NE(usage.find(type.help), std::string::npos) << type.name;
  }
}

}  // namespace
}  // namespace brisvane::simrun
