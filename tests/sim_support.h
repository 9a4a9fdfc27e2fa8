// Helpers for tests that run code inside a process of a simulated machine.
#pragma once

#include <functional>
#include <string>

#include "platform/sim/machine.h"
#include "tools/simhost/simhost.h"

namespace brisvane::testing {

// Runs `body` as the main thread of a process that carries Brisvane's
// resources and image facts, and waits until the machine settles.
inline plat::sim::ProcessId runInProcess(plat::sim::Machine& machine, std::function<void()> body,
                                         bool declaresSupportedOs = false) {
  static int counter = 0;
  plat::sim::ProgramImage image = simhost::brisvaneImage();
  image.name = L"probe" + std::to_wstring(++counter) + L".exe";
  image.declaresSupportedOs = declaresSupportedOs;
  image.entry = [body = std::move(body)] {
    body();
    return 0;
  };
  const std::wstring name = image.name;
  machine.installProgram(std::move(image));
  const plat::sim::ProcessId id = machine.startProcess(name, L"");
  machine.settle();
  return id;
}

inline plat::sim::MachineConfig machineWithLanguage(plat::LangId language) {
  plat::sim::MachineConfig config;
  config.os.userUiLanguage = language;
  config.os.userLocale = language;
  return config;
}

}  // namespace brisvane::testing
