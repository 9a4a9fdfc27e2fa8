// Deleting the maker's printer drivers and restarting the print spooler
// service on the simulated machine.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "installer/engine/driver_engine.h"
#include "platform/api/ports.h"
#include "tests/engine_fixture.h"
#include "tests/sim_support.h"

namespace brisvane {
namespace {

using plat::sim::Machine;
using plat::sim::MachineConfig;
using testing::engineLogEntries;
using testing::kLv31;
using testing::kOldBrand;
using testing::kOtherDriver;
using testing::queue;
using testing::runInProcess;
using testing::ShownBoxes;
using testing::spoolerWith;

constexpr wchar_t kLv31s[] = L"Corvantis LV31S (203 dpi)";
// Long enough for any bounded wait of the restart to end.
constexpr plat::Dword kAgesMs = 10 * 60 * 1000;

constexpr wchar_t kX86[] = L"Windows NT x86";

// 32-bit Windows, where the spooler lists the installer's own drivers.
MachineConfig x86Machine() {
  MachineConfig config;
  config.os.is64Bit = false;
  return config;
}

std::vector<std::wstring> driverNames(const Machine& machine) {
  const MachineConfig snapshot = machine.snapshot();
  std::vector<std::wstring> names;
  for (const auto& driver : snapshot.spooler->drivers) names.push_back(driver.name);
  return names;
}

struct RemovalRun {
  plat::Dword result = 0;
  std::vector<std::wstring> saved;
};

// Runs deleteDrivers with the log on, letting virtual time pass so that
// spooler restarts finish.
RemovalRun removeDrivers(Machine& machine) {
  RemovalRun run;
  runInProcess(machine, [&] {
    CDriverEngine engine;
    engine.switchLoggingOn();
    run.result = engine.deleteDrivers();
    run.saved = engine.savedDriverNames();
  });
  machine.advance(kAgesMs);
  return run;
}

// The texts of the engine log's entries, without their time stamps.
std::vector<std::wstring> logTexts(const Machine& machine) {
  std::vector<std::wstring> lines;
  for (const std::wstring& entry : engineLogEntries(machine)) {
    const std::size_t hash = entry.find(L'#');
    const std::size_t at = hash != std::wstring::npos ? hash : entry.find(L"restart");
    if (at != std::wstring::npos) lines.push_back(entry.substr(at));
  }
  return lines;
}

TEST(DriverRemoval, DeletesOnlyTheMakersDriversTheLastWithItsFiles) {
  MachineConfig config = x86Machine();
  config.spooler = spoolerWith(config.os, {queue(L"Laser", L"LPT1:", kOtherDriver)});
  Machine machine(config);
  const RemovalRun run = removeDrivers(machine);
  EXPECT_EQ(run.result, 0U);
  EXPECT_EQ(run.saved, (std::vector<std::wstring>{kLv31, kOldBrand}));
  EXPECT_EQ(driverNames(machine), std::vector<std::wstring>{kOtherDriver});
  EXPECT_EQ(logTexts(machine),
            (std::vector<std::wstring>{std::wstring(L"#DeletePrinterDriver:") + kLv31,
                                       std::wstring(L"#DeletePrinterDriverEx:") + kOldBrand}));
}

TEST(DriverRemoval, NoMakerDriverLeavesEverything) {
  MachineConfig config = x86Machine();
  config.spooler = plat::sim::defaultSpooler();
  config.spooler->drivers.push_back({kOtherDriver, kX86, L""});
  Machine machine(config);
  const RemovalRun run = removeDrivers(machine);
  EXPECT_EQ(run.result, 0U);
  EXPECT_TRUE(run.saved.empty());
  EXPECT_EQ(driverNames(machine), std::vector<std::wstring>{kOtherDriver});
}

TEST(DriverRemoval, OneDriverInUseIsTriedFourWaysThenTheUserIsTold) {
  MachineConfig config = x86Machine();
  config.spooler = spoolerWith(config.os, {queue(L"Label", L"USB001", kLv31)});
  config.spooler->drivers = {{kLv31, kX86, L""}};
  Machine machine(config);
  ShownBoxes shown;
  shown.answerAll(machine);
  const RemovalRun run = removeDrivers(machine);
  EXPECT_EQ(run.result, 0U);
  const std::wstring ex = std::wstring(L"#DeletePrinterDriverEx:") + kLv31;
  const std::wstring plain = std::wstring(L"#DeletePrinterDriver:") + kLv31;
  const std::wstring inUse = L"#DeletePrinterDriver Err code:3001";
  EXPECT_EQ(logTexts(machine),
            (std::vector<std::wstring>{ex, inUse, plain, inUse, L"restartPrintSpooler",
                                       L"restartPrintSpooler Success", ex, inUse, plain, inUse}));
  ASSERT_EQ(shown.boxes.size(), 1U);
  EXPECT_EQ(shown.boxes[0].messageText.rfind(kLv31, 0), 0U);
  EXPECT_NE(shown.boxes[0].messageText.find(L"Please restart your computer"), std::wstring::npos);
  EXPECT_EQ(shown.boxes[0].title, L"Corvantis Printer Driver Installer");
  EXPECT_EQ(driverNames(machine), std::vector<std::wstring>{kLv31});
}

TEST(DriverRemoval, ASpoolerRestartReleasesALoadedDriver) {
  MachineConfig config = x86Machine();
  config.spooler = spoolerWith(config.os, {});
  config.spooler->drivers = {{kLv31, kX86, L""}, {kLv31s, kX86, L""}, {kOldBrand, kX86, L""}};
  config.spooler->loadedDrivers = {kLv31s};
  config.spoolerService.stopMilliseconds = 1500;
  config.spoolerService.startMilliseconds = 800;
  Machine machine(config);
  const RemovalRun run = removeDrivers(machine);
  EXPECT_EQ(run.result, 0U);
  EXPECT_TRUE(driverNames(machine).empty());
  EXPECT_TRUE(machine.snapshot().spooler->loadedDrivers.empty());
  EXPECT_TRUE(machine.snapshot().spoolerService.running);
}

TEST(DriverRemoval, SecondOfThreeStillInUseStopsBeforeTheThird) {
  MachineConfig config = x86Machine();
  config.spooler = spoolerWith(config.os, {queue(L"Held", L"USB001", kLv31s)});
  config.spooler->drivers = {{kLv31, kX86, L""}, {kLv31s, kX86, L""}, {kOldBrand, kX86, L""}};
  Machine machine(config);
  ShownBoxes shown;
  shown.answerAll(machine);
  const RemovalRun run = removeDrivers(machine);
  EXPECT_EQ(run.result, 0U);
  ASSERT_EQ(shown.boxes.size(), 1U);
  EXPECT_EQ(shown.boxes[0].messageText.rfind(kLv31s, 0), 0U);
  EXPECT_EQ(driverNames(machine), (std::vector<std::wstring>{kLv31s, kOldBrand}));
}

TEST(DriverRemoval, OtherErrorsStopTheRemoval) {
  MachineConfig config = x86Machine();
  config.spooler = spoolerWith(config.os, {});
  config.os.isAdministrator = false;
  Machine machine(config);
  const RemovalRun denied = removeDrivers(machine);
  EXPECT_EQ(denied.result, plat::kErrorAccessDenied);
  EXPECT_EQ(denied.saved.size(), 2U);
  EXPECT_EQ(driverNames(machine).size(), 3U);

  MachineConfig failing = x86Machine();
  failing.faults = {{"EnumPrinterDriversW", plat::kErrorNotEnoughMemory, 1}};
  Machine enumFails(failing);
  EXPECT_EQ(removeDrivers(enumFails).result, plat::kErrorNotEnoughMemory);
}

constexpr plat::Dword kRestartGivesUpMs = 70'000;

struct RestartCase {
  const char* name;
  bool running;
  std::optional<plat::Dword> stopMs;
  std::optional<plat::Dword> startMs;
  bool endsRunning;
  bool success;
};

TEST(SpoolerRestart, StopsStartsAndGivesUpOnAServiceThatNeverGetsThere) {
  const RestartCase cases[] = {
      {"running, quick", true, 0, 0, true, true},
      {"running, slow", true, 20'000, 15'000, true, true},
      {"already stopped", false, 0, 0, true, true},
      // A stop that stays pending is saved as a running service.
      {"stop never finishes", true, std::nullopt, 0, true, false},
      {"start never finishes", true, 0, std::nullopt, false, false},
  };
  for (const RestartCase& c : cases) {
    MachineConfig config;
    config.spoolerService = {c.running, c.stopMs, c.startMs};
    Machine machine(config);
    bool returned = false;
    runInProcess(machine, [&] {
      CDriverEngine engine;
      engine.switchLoggingOn();
      engine.restartPrintSpooler();
      returned = true;
    });
    // A minute for a wait that never ends, the pause, and some slack.
    machine.advance(kRestartGivesUpMs);
    EXPECT_TRUE(returned) << c.name;
    EXPECT_EQ(machine.snapshot().spoolerService.running, c.endsRunning) << c.name;
    const auto log = engineLogEntries(machine);
    const bool success =
        !log.empty() && log.back().find(L"restartPrintSpooler Success") != std::wstring::npos;
    EXPECT_EQ(success, c.success) << c.name;
  }
}

}  // namespace
}  // namespace brisvane
