// Registering the maker's driver and port monitor and creating the queue of
// a new printer on the simulated machine, and re-creating what an upgrade
// deleted.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "installer/engine/driver_engine.h"
#include "installer/engine/result_lines.h"
#include "platform/api/ports.h"
#include "platform/api/registry_key.h"
#include "tests/engine_fixture.h"
#include "tests/sim_support.h"

namespace brisvane {
namespace {

using plat::sim::Machine;
using plat::sim::MachineConfig;
using testing::engineLogEntries;
using testing::kLv31;
using testing::kMb17tDriver;
using testing::kOldBrand;
using testing::queue;
using testing::runInProcess;
using testing::spoolerWith;

constexpr wchar_t kMonitor[] = L"Seagull Network Monitor";
constexpr wchar_t kMonitorDll[] = L"C:\\Windows\\System32\\Seagull_V3_NetMonDispatcher.dll";
constexpr wchar_t kMb17t[] = L"Corvantis MB17t (203 dpi)";
constexpr wchar_t kStagedDriverDll[] =
    L"C:\\Windows\\System32\\spool\\drivers\\W32X86\\Seagull_V3_PrintDispatcher.dll";

struct InstallRun {
  plat::Dword result = 99;
  std::vector<std::wstring> lines;
  std::wstring installedVersion;
};

// Runs installPrinter with the log on; with `upgrade` the maker's queues
// and drivers are deleted first, as a job that replaces a version does.
InstallRun install(Machine& machine, const std::wstring& port, const std::wstring& name,
                   bool refresh, bool upgrade = false) {
  InstallRun run;
  runInProcess(machine, [&] {
    jobResultLines().clear();
    CDriverEngine engine;
    engine.switchLoggingOn();
    if (upgrade) {
      ASSERT_EQ(engine.deletePrinters(), 0U);
      ASSERT_EQ(engine.deleteDrivers(), 0U);
    }
    run.result = engine.installPrinter(port, name, refresh);
    run.lines = jobResultLines();
    run.installedVersion = engine.getInstalledDriverVersion();
  });
  return run;
}

bool hasMonitor(const Machine& machine) {
  const MachineConfig snapshot = machine.snapshot();
  const auto& monitors = snapshot.spooler->monitors;
  return std::any_of(monitors.begin(), monitors.end(),
                     [](const plat::sim::MonitorConfig& m) { return m.name == kMonitor; });
}

std::vector<std::wstring> driverNames(const Machine& machine) {
  const MachineConfig snapshot = machine.snapshot();
  std::vector<std::wstring> names;
  for (const auto& driver : snapshot.spooler->drivers) names.push_back(driver.name);
  return names;
}

// The log's texts from the first "#" or "Add" on, without time stamps.
std::vector<std::wstring> addLog(const Machine& machine) {
  std::vector<std::wstring> lines;
  for (const std::wstring& entry : engineLogEntries(machine)) {
    const std::size_t at = std::min(entry.find(L"#Add"), entry.find(L"AddPrinterDriver:"));
    if (at != std::wstring::npos) lines.push_back(entry.substr(at));
  }
  return lines;
}

TEST(InstallPrinter, WithoutNamesOnlyTheMonitorIsAdded) {
  MachineConfig config;
  config.spooler = spoolerWith(config.os, {});
  Machine machine(config);
  // The monitor DLL must be in the system folder: nothing was staged.
  EXPECT_EQ(install(machine, L"", L"", false).result, plat::kErrorModNotFound);
  EXPECT_FALSE(machine.file(kStagedDriverDll));

  machine.putFile({kMonitorDll, false, 0, {'M', 'Z'}});
  const InstallRun run = install(machine, L"", L"", false);
  EXPECT_EQ(run.result, 0U);
  EXPECT_TRUE(hasMonitor(machine));
  EXPECT_FALSE(machine.file(kStagedDriverDll));
  EXPECT_EQ(driverNames(machine).size(), 3U);
  EXPECT_TRUE(machine.snapshot().spooler->printers.empty());
}

TEST(InstallPrinter, RefreshWithNothingSavedStagesAndAddsTheMonitorOnce) {
  MachineConfig config;
  config.spooler = spoolerWith(config.os, {});
  Machine machine(config);
  const InstallRun run = install(machine, L"", L"", true);
  // The second AddMonitorW finds the monitor there, which counts as added.
  EXPECT_EQ(run.result, 0U);
  EXPECT_TRUE(hasMonitor(machine));
  EXPECT_TRUE(machine.file(kStagedDriverDll));
  EXPECT_TRUE(run.lines.empty());
  EXPECT_EQ(driverNames(machine).size(), 3U);
}

TEST(InstallPrinter, AnUpgradeReAddsTheModelDriversStampedAndReportsTheDroppedOnes) {
  // 32-bit Windows, where the spooler lists the installer's own drivers.
  MachineConfig config;
  config.os.is64Bit = false;
  config.spooler = spoolerWith(config.os, {queue(L"Front desk", L"IP_10.0.0.5", kLv31)});
  Machine machine(config);
  const InstallRun run = install(machine, L"", L"", true, true);
  EXPECT_EQ(run.result, 0U);
  EXPECT_EQ(run.lines, (std::vector<std::wstring>{std::wstring(L"Updated driver: ") + kLv31,
                                                  std::wstring(L"Deleted driver:") + kOldBrand,
                                                  L"Updated printer: Front desk"}));
  EXPECT_EQ(driverNames(machine), (std::vector<std::wstring>{testing::kOtherDriver, kLv31}));
  // Both drivers are logged; only the model's reaches the spooler.
  EXPECT_EQ(addLog(machine),
            (std::vector<std::wstring>{std::wstring(L"AddPrinterDriver:") + kLv31,
                                       std::wstring(L"AddPrinterDriver:") + kOldBrand}));
  // The stamp is where the installed version is read from.
  EXPECT_EQ(run.installedVersion, L"2021.1.5.0");
  runInProcess(machine, [] {
    plat::RegistryPort& registry = plat::ports().registry();
    const auto key =
        plat::openKey(registry, plat::kHkeyLocalMachine,
                      CDriverEngine().versionKey() + L"\\" + std::wstring(kLv31), plat::kKeyRead);
    ASSERT_TRUE(key);
    for (const auto& [name, text] :
         {std::pair{L"DriverVersion", L"2021.1.5.0"}, std::pair{L"DriverDate", L"07/08/2021"}}) {
      const auto value = registry.regQueryValueEx(key->get(), name, std::nullopt);
      ASSERT_TRUE(value);
      EXPECT_EQ(value->type, plat::kRegSz);
      EXPECT_EQ(value->data, plat::regSzData(text)) << "with its terminating zero";
    }
  });
}

TEST(InstallPrinter, ASavedUsbPrinterIsLeftToPlugAndPlayWithItsDevicesFlagged) {
  constexpr wchar_t kDevice[] = L"USBPRINT\\CORVANTISLV31\\7&2A4F&0&USB001";
  MachineConfig config;
  config.os.is64Bit = false;
  config.spooler = spoolerWith(config.os, {queue(L"Desk USB", L"USB001", kLv31)});
  // Unplugged, so that no reinstallation clears the flag again.
  config.devices = {{kDevice, false, std::vector<std::wstring>{L"USBPRINT\\Corvantis_LV31A1B2"},
                     L"Corvantis", 0U, L"USB001"}};
  Machine machine(config);
  testing::ShownBoxes shown;
  shown.answerAll(machine);
  const InstallRun run = install(machine, L"", L"", true, true);
  EXPECT_EQ(run.result, 0U);
  ASSERT_EQ(run.lines.size(), 3U);
  EXPECT_EQ(run.lines[2], L"Deleted usb printer: Desk USB,auto-add when connect again");
  const MachineConfig snapshot = machine.snapshot();
  EXPECT_TRUE(snapshot.spooler->printers.empty());
  ASSERT_EQ(snapshot.devices.size(), 1U);
  EXPECT_EQ(snapshot.devices[0].configFlags, std::optional<plat::Dword>(0x20)) << "reinstall";
}

TEST(InstallPrinter, ANetworkPrinterGetsItsModelsDriverAndAQueueInTheWindowsEnvironment) {
  for (const bool is64Bit : {true, false}) {
    SCOPED_TRACE(is64Bit ? "64-bit" : "32-bit");
    MachineConfig config;
    config.os.is64Bit = is64Bit;
    config.spooler = spoolerWith(config.os, {});
    Machine machine(config);
    const InstallRun run = install(machine, L"IP_10.0.0.5", kMb17t, false);
    EXPECT_EQ(run.result, 0U);
    const plat::sim::SpoolerConfig spooler = *machine.snapshot().spooler;
    ASSERT_EQ(spooler.drivers.size(), 4U);
    EXPECT_EQ(spooler.drivers.back().name, kMb17tDriver);
    EXPECT_EQ(spooler.drivers.back().environment, is64Bit ? L"Windows x64" : L"Windows NT x86");
    ASSERT_EQ(spooler.printers.size(), 1U);
    EXPECT_EQ(spooler.printers[0].name, kMb17t);
    EXPECT_EQ(spooler.printers[0].driver, kMb17tDriver);
    EXPECT_EQ(spooler.printers[0].port, L"IP_10.0.0.5");
    EXPECT_EQ(spooler.printers[0].printProcessor, L"winprint");
    EXPECT_EQ(run.installedVersion, L"2021.1.5.0");
    EXPECT_EQ(addLog(machine), (std::vector<std::wstring>{
                                   std::wstring(L"#AddPrinterDriver di4.pName:") + kMb17tDriver,
                                   std::wstring(L"#AddPrinter di4.pName:") + kMb17t}));
  }
}

TEST(InstallPrinter, TheFirstFailingCallEndsItWithItsCode) {
  struct Case {
    const char* what;
    std::vector<plat::sim::Fault> faults;
    std::wstring port;
    std::wstring name;
    plat::Dword error;
    bool driverAdded;
  };
  const Case cases[] = {
      {"no driver directory",
       {{"GetPrinterDriverDirectoryW", plat::kErrorInvalidEnvironment, -1}},
       L"IP_10.0.0.5",
       kMb17t,
       plat::kErrorInvalidEnvironment,
       false},
      {"monitor refused",
       {{"AddMonitorW", plat::kErrorAccessDenied, -1}},
       L"IP_10.0.0.5",
       kMb17t,
       plat::kErrorAccessDenied,
       false},
      // A name of no model gives an empty driver name, which the spooler
      // refuses.
      {"no such model", {}, L"IP_10.0.0.5", L"Laser 2000", plat::kErrorInvalidParameter, false},
      {"driver refused",
       {{"AddPrinterDriverW", plat::kErrorAccessDenied, -1}},
       L"IP_10.0.0.5",
       kMb17t,
       plat::kErrorAccessDenied,
       false},
      {"unknown port", {}, L"IP_10.9.9.9", kMb17t, plat::kErrorUnknownPort, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    MachineConfig config;
    config.spooler = spoolerWith(config.os, {});
    config.faults = c.faults;
    Machine machine(config);
    EXPECT_EQ(install(machine, c.port, c.name, false).result, c.error);
    const std::vector<std::wstring> drivers = driverNames(machine);
    EXPECT_EQ(std::count(drivers.begin(), drivers.end(), kMb17tDriver), c.driverAdded ? 1 : 0);
    EXPECT_TRUE(machine.snapshot().spooler->printers.empty());
  }
}

TEST(InstallPrinter, ARefusedMonitorOrSavedDriverStopsTheUpgradeBeforeTheQueues) {
  for (const char* call : {"AddMonitorW", "AddPrinterDriverW"}) {
    SCOPED_TRACE(call);
    MachineConfig config;
    config.os.is64Bit = false;
    config.spooler = spoolerWith(config.os, {queue(L"Front desk", L"IP_10.0.0.5", kLv31)});
    config.faults = {{call, plat::kErrorAccessDenied, -1}};
    Machine machine(config);
    const InstallRun run = install(machine, L"", L"", true, true);
    EXPECT_EQ(run.result, plat::kErrorAccessDenied);
    EXPECT_TRUE(run.lines.empty());
    EXPECT_EQ(driverNames(machine), std::vector<std::wstring>{testing::kOtherDriver});
    EXPECT_TRUE(machine.snapshot().spooler->printers.empty());
  }
}

}  // namespace
}  // namespace brisvane
