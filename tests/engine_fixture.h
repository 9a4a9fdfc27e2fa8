// Small builders for tests of the driver install engine on a simulated
// machine: a spooler with the maker's and another maker's drivers and a
// few ports, and the message boxes the scripted user answers.
#pragma once

#include <string>
#include <vector>

#include "platform/sim/machine.h"
#include "platform/sim/machine_config.h"

namespace brisvane::testing {

inline constexpr wchar_t kLv31[] = L"Corvantis LV31 (203 dpi)";
inline constexpr wchar_t kOldBrand[] = L"Veltrane PX40 (203 dpi)";
// The driver the package installs for a "Corvantis MB17t (203 dpi)" printer.
inline constexpr wchar_t kMb17tDriver[] = L"Corvantis MB17t (203 dpi) - DP";
inline constexpr wchar_t kOtherDriver[] = L"Other Laser";

inline plat::sim::PrinterQueueConfig queue(const std::wstring& name, const std::wstring& port,
                                           const std::wstring& driver) {
  plat::sim::PrinterQueueConfig out;
  out.name = name;
  out.port = port;
  out.driver = driver;
  return out;
}

// Drivers for the machine's own environment, the USB, network and local
// ports, and the given queues.
inline plat::sim::SpoolerConfig spoolerWith(const plat::sim::OsProfile& os,
                                            std::vector<plat::sim::PrinterQueueConfig> queues) {
  const std::wstring environment = os.is64Bit ? L"Windows x64" : L"Windows NT x86";
  plat::sim::SpoolerConfig spooler;
  for (const wchar_t* driver : {kLv31, kOldBrand, kOtherDriver}) {
    spooler.drivers.push_back({driver, environment, L""});
  }
  for (const wchar_t* port : {L"USB001", L"USB002", L"IP_10.0.0.5", L"LPT1:"}) {
    spooler.ports.push_back({port, L"Local Port"});
  }
  spooler.printers = std::move(queues);
  return spooler;
}

// The message boxes shown, each answered with OK.
struct ShownBoxes {
  std::vector<plat::sim::WindowInfo> boxes;

  void answerAll(plat::sim::Machine& machine) {
    machine.addMessageBoxRule([this](const plat::sim::WindowInfo& box) -> std::optional<int> {
      boxes.push_back(box);
      return plat::kIdOk;
    });
  }
};

}  // namespace brisvane::testing
