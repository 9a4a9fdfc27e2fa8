// The table of brisvane-sim's steps: what each is called, takes and does.
#include "tools/brisvane-sim/runner.h"
#include "tools/brisvane-sim/script.h"

namespace brisvane::simrun {

namespace {

plat::Point point(const Step& step, std::size_t first) {
  return {step.numbers[first], step.numbers[first + 1]};
}

}  // namespace

const std::vector<StepType>& stepTypes() {
  static const std::vector<StepType> types = {
      {"wait", "MS", "lets MS milliseconds of virtual time pass", Arguments::Numbers, 1,
       [](Runner& r, const Step& s) { return r.wait(static_cast<unsigned>(s.numbers[0])); }},
      {"answer", "BUTTON", "clicks OK, Cancel, Yes, No, Retry, Abort or Ignore in the message box",
       Arguments::Button, 0, [](Runner& r, const Step& s) { return r.answer(s.numbers[0]); }},
      {"click", "CAPTION|#ID",
       "clicks the button with that caption (\"\\n\" for a line break) or id", Arguments::Caption,
       0,
       [](Runner& r, const Step& s) {
         return s.numbers.empty() ? r.click(s.text) : r.clickControl(s.numbers[0]);
       }},
      {"show", "ID", "prints the text of control ID (1005 the version, 1007 the status)",
       Arguments::Numbers, 1, [](Runner& r, const Step& s) { return r.show(s.numbers[0]); }},
      {"close", "", "closes Brisvane's window on top, as with its close button", Arguments::None, 0,
       [](Runner& r, const Step&) { return r.close(); }},
      {"about", "", "chooses About in the main window's system menu", Arguments::None, 0,
       [](Runner& r, const Step&) { return r.about(); }},
      {"start", "[COMMAND LINE]", "starts Brisvane once more, with that command line",
       Arguments::CommandLine, 0, [](Runner& r, const Step& s) { return r.start(s.text); }},
      {"screenshot", "FILE.png", "saves a picture of Brisvane's window on top", Arguments::Text, 0,
       [](Runner& r, const Step& s) { return r.screenshot(s.text); }},
      {"select", "ID ENTRY", "picks entry ENTRY (from 0) in combo box ID (1027 the language)",
       Arguments::Numbers, 2,
       [](Runner& r, const Step& s) { return r.select(s.numbers[0], s.numbers[1]); }},
      {"move", "X Y", "moves the mouse to a point of the client area", Arguments::Numbers, 2,
       [](Runner& r, const Step& s) { return r.move(point(s, 0)); }},
      {"clickat", "X Y", "clicks at a point of the client area", Arguments::Numbers, 2,
       [](Runner& r, const Step& s) { return r.clickAt(point(s, 0)); }},
      {"drag", "X1 Y1 X2 Y2", "presses at one point, moves to the other and releases",
       Arguments::Numbers, 4,
       [](Runner& r, const Step& s) { return r.drag(point(s, 0), point(s, 2)); }},
      {"menu", "COMMAND", "chooses COMMAND in the popup menu that is open", Arguments::Numbers, 1,
       [](Runner& r, const Step& s) { return r.chooseMenuItem(s.numbers[0]); }},
      {"dismiss", "", "closes the popup menu that is open", Arguments::None, 0,
       [](Runner& r, const Step&) { return r.dismissMenu(); }},
  };
  return types;
}

}  // namespace brisvane::simrun
