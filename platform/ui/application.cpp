#include "platform/ui/application.h"

#include "platform/api/ports.h"

namespace plat::ui {

std::wstring Application::commandLine() {
  return ports().system().commandLineArguments();
}

int runApplication(Application& app) {
  // A program that ends from its start-up routine has no message loop to
  // run; its exit code is 0 either way.
  app.initInstance();
  return 0;
}

}  // namespace plat::ui
