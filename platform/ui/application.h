// The application object: the program's start-up routine and how its
// process ends.
#pragma once

#include <string>

namespace plat::ui {

class Application {
 public:
  Application() = default;
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;
  virtual ~Application() = default;

  // Runs the program. Returning false ends the process, as it does for a
  // dialog-based program whose main window has already closed.
  virtual bool initInstance() = 0;

 protected:
  // The command line after the program name.
  static std::wstring commandLine();
};

// Runs `app` as the process's application and returns the exit code.
int runApplication(Application& app);

}  // namespace plat::ui
