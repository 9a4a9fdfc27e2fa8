// The application object of Brisvane: start-up in the user's language, the
// single-instance rule, and the main window's modal run.
#pragma once

#include <string>

#include "platform/api/system_port.h"
#include "platform/api/types.h"
#include "platform/ui/application.h"

namespace brisvane {

// The switch of a command line: the whole text after the program name,
// compared exactly, so "/MULTI", " /multi" or "/multi /del" are no switch.
enum class CommandLineSwitch { None, Multi, Diagnostic };
CommandLineSwitch commandLineSwitch(const std::wstring& arguments);

class CBrisvaneApp final : public plat::ui::Application {
 public:
  // Always returns false: the process ends once the main window has closed,
  // or at once when another instance runs or sockets cannot start.
  bool initInstance() override;
};

// The EnumWindows callback of a second instance: remembers the last
// top-level window whose title (read into 50 characters) contains the main
// window's title, string 105. Always goes on enumerating.
bool searchOtherInstanceWindow(plat::WindowId window);

// The window the search last remembered in this process.
plat::WindowId otherInstanceWindow();

// Brisvane's program entry: runs the application and returns the exit code.
int brisvaneMain();

}  // namespace brisvane
