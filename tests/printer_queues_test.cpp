// The maker rules and the engine's queue operations: deleting the maker's
// queues, re-creating them, and unique names for new queues.
#include <gtest/gtest.h>

#include "installer/engine/driver_engine.h"
#include "installer/engine/maker_rules.h"
#include "installer/engine/printer_queues.h"
#include "installer/engine/result_lines.h"
#include "platform/api/ports.h"
#include "tests/engine_fixture.h"
#include "tests/sim_support.h"

namespace brisvane {
namespace {

using plat::sim::Machine;
using plat::sim::MachineConfig;
using testing::kLv31;
using testing::kOldBrand;
using testing::kOtherDriver;
using testing::queue;
using testing::runInProcess;
using testing::spoolerWith;

constexpr wchar_t kPrintersKey[] =
    L"HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Print\\Printers";

std::vector<std::wstring> queueNames(const Machine& machine) {
  const MachineConfig snapshot = machine.snapshot();
  std::vector<std::wstring> names;
  for (const auto& printer : snapshot.spooler->printers) names.push_back(printer.name);
  return names;
}

TEST(MakerRules, DriverDecidesWithBrandWordAndSpaceCaseSensitive) {
  const std::pair<const wchar_t*, bool> drivers[] = {
      {L"Corvantis LV31 (203 dpi)", true},  {L"Veltrane PX40", true},
      {L"Label Corvantis MB17t", true},     {L"CorvantisLV31", false},
      {L"corvantis LV31 (203 dpi)", false}, {L"Veltrane X", false},
      {L"Microsoft Print To PDF", false},   {L"", false},
  };
  for (const auto& [driver, maker] : drivers) {
    EXPECT_EQ(isMakerDriverName(driver), maker) << ::testing::PrintToString(std::wstring(driver));
  }
  EXPECT_TRUE(isUsbPort(L"USB001"));
  EXPECT_TRUE(isUsbPort(L"Virtual USB port"));
  EXPECT_FALSE(isUsbPort(L"usb001"));
  EXPECT_FALSE(isUsbPort(L"IP_10.0.0.5"));
}

struct DeleteRun {
  plat::Dword result = 0;
  std::vector<std::wstring> drivers, names, ports, log;
};

DeleteRun deleteAll(Machine& machine) {
  DeleteRun run;
  runInProcess(machine, [&] {
    CDriverEngine engine;
    engine.switchLoggingOn();
    run.result = engine.deletePrinters();
    for (const SavedPrinter& saved : engine.savedPrinters()) {
      run.drivers.push_back(saved.driver);
      run.names.push_back(saved.name);
      run.ports.push_back(saved.port);
    }
  });
  run.log = testing::engineLogEntries(machine);
  return run;
}

// "Office laser" is the maker's through its driver; "Corvantis lookalike"
// is not, whatever its name.
std::vector<plat::sim::PrinterQueueConfig> mixedQueues() {
  return {queue(L"Office laser", L"IP_10.0.0.5", kLv31),
          queue(L"Corvantis lookalike", L"LPT1:", kOtherDriver),
          queue(L"Desk USB", L"USB001", kLv31), queue(L"Old brand", L"USB002", kOldBrand)};
}

TEST(DeletePrinters, RecordsAndDeletesEveryMakerQueueAndNoticesUsbIconsOnWindows10Once) {
  struct Case {
    const char* windows;
    plat::Dword major, minor;
    std::size_t notices;
  };
  for (const Case& c : {Case{"10", 10, 0, 1}, Case{"7", 6, 1, 0}}) {
    SCOPED_TRACE(c.windows);
    MachineConfig config;
    config.os.majorVersion = c.major;
    config.os.minorVersion = c.minor;
    config.spooler = spoolerWith(config.os, mixedQueues());
    // Each USB queue's connection is deleted first; its failure is ignored.
    config.faults = {{"DeletePrinterConnectionW", plat::kErrorInvalidPrinterName, 2}};
    Machine machine(config);
    testing::ShownBoxes shown;
    shown.answerAll(machine);

    const DeleteRun run = deleteAll(machine);
    EXPECT_EQ(run.result, 0U);
    EXPECT_EQ(run.names, (std::vector<std::wstring>{L"Office laser", L"Desk USB", L"Old brand"}));
    EXPECT_EQ(run.drivers, (std::vector<std::wstring>{kLv31, kLv31, kOldBrand}));
    EXPECT_EQ(run.ports, (std::vector<std::wstring>{L"IP_10.0.0.5", L"USB001", L"USB002"}));
    EXPECT_EQ(queueNames(machine), std::vector<std::wstring>{L"Corvantis lookalike"});
    EXPECT_TRUE(machine.config().faults.empty());
    EXPECT_EQ(run.log,
              (std::vector<std::wstring>{L"#DeletePrinter:Office laser", L"#DeletePrinter:Desk USB",
                                         L"#DeletePrinter:Old brand"}));
    ASSERT_EQ(shown.boxes.size(), c.notices);
    if (c.notices == 1) {
      EXPECT_EQ(shown.boxes[0].title, L"Corvantis Printer Driver Installer");
      EXPECT_EQ(shown.boxes[0].messageText.rfind(L"Deleted USB printer Desk USB, etc.", 0), 0U);
      EXPECT_EQ(shown.boxes[0].messageText.find(L"$PRN$"), std::wstring::npos);
    }
  }
}

TEST(DeletePrinters, SkipsQueuesItCannotOpenAndStopsAtTheFirstFailedDeletion) {
  MachineConfig config;
  config.spooler = spoolerWith(
      config.os, {queue(L"A", L"IP_10.0.0.5", kLv31), queue(L"B", L"IP_10.0.0.5", kLv31),
                  queue(L"C", L"IP_10.0.0.5", kLv31)});
  config.faults = {{"OpenPrinterW", plat::kErrorInvalidPrinterName, 1},
                   {"DeletePrinter", plat::kErrorAccessDenied, 1}};
  Machine machine(config);

  const DeleteRun run = deleteAll(machine);
  EXPECT_EQ(run.result, plat::kErrorAccessDenied);
  // A could not be opened, B could not be deleted, C was never reached.
  EXPECT_EQ(run.names, (std::vector<std::wstring>{L"A", L"B"}));
  EXPECT_EQ(queueNames(machine), (std::vector<std::wstring>{L"A", L"B", L"C"}));
}

TEST(DeletePrinters, WithoutAdministratorRightsEveryQueueIsRecordedAndStays) {
  MachineConfig config;
  config.os.isAdministrator = false;
  config.spooler = spoolerWith(config.os, {queue(L"A", L"IP_10.0.0.5", kLv31)});
  Machine machine(config);

  const DeleteRun run = deleteAll(machine);
  EXPECT_EQ(run.result, 0U);
  EXPECT_EQ(run.names, std::vector<std::wstring>{L"A"});
  EXPECT_EQ(queueNames(machine), std::vector<std::wstring>{L"A"});
}

TEST(DeletePrinters, FailedEnumerationKeepsTheListsAndAnEmptyOneEmptiesThem) {
  MachineConfig config;
  config.spooler = spoolerWith(config.os, {queue(L"A", L"IP_10.0.0.5", kLv31)});
  Machine machine(config);
  runInProcess(machine, [&] {
    CDriverEngine engine;
    EXPECT_EQ(engine.deletePrinters(), 0U);
    EXPECT_EQ(engine.savedPrinters().size(), 1U);
    machine.configure([](MachineConfig& c) {
      c.faults.push_back({"EnumPrintersW", plat::kErrorNotEnoughMemory, 1});
    });
    EXPECT_EQ(engine.deletePrinters(), plat::kErrorNotEnoughMemory);
    EXPECT_EQ(engine.savedPrinters().size(), 1U);
    EXPECT_EQ(engine.deletePrinters(), 0U);  // nothing left to enumerate
    EXPECT_TRUE(engine.savedPrinters().empty());
  });
}

struct UpdateRun {
  plat::Dword result = 0;
  bool passedUsb = false;
  std::vector<std::wstring> lines;
};

// Deletes the maker's queues, runs `between`, then re-creates them.
UpdateRun deleteAndRecreate(
    Machine& machine, const std::function<void()>& between = [] {}) {
  UpdateRun run;
  runInProcess(machine, [&] {
    CDriverEngine engine;
    jobResultLines().clear();
    ASSERT_EQ(engine.deletePrinters(), 0U);
    between();
    const plat::Result<bool> updated = engine.updateSavedPrinters(queueRecord(L"", L"", L""));
    run.result = updated.error();
    run.passedUsb = updated.valueOr(false);
    run.lines = jobResultLines();
  });
  return run;
}

TEST(UpdateSavedPrinters, RecreatesPackageQueuesAndReportsTheOthersInTheUiLanguage) {
  struct Case {
    plat::LangId language;
    std::vector<std::wstring> lines;
  };
  const Case cases[] = {
      {plat::kLangEnglishUs,
       {L"Updated printer: Office laser", L"Deleted printer:Old brand",
        L"Deleted usb printer: Desk USB,auto-add when connect again"}},
      {plat::kLangKorean,
       {L"업데이트된 프린터: Office laser", L"삭제된 프린터:Old brand",
        L"삭제된 USB 프린터: Desk USB,다시 연결하면 자동으로 추가됩니다"}},
  };
  for (const Case& c : cases) {
    MachineConfig config = testing::machineWithLanguage(c.language);
    config.os.majorVersion = 6;  // Windows 7: no icon notice
    config.os.minorVersion = 1;
    config.spooler = spoolerWith(config.os, {queue(L"Office laser", L"IP_10.0.0.5", kLv31),
                                             queue(L"Old brand", L"IP_10.0.0.5", kOldBrand),
                                             queue(L"Desk USB", L"USB001", kLv31)});
    Machine machine(config);

    const UpdateRun run = deleteAndRecreate(machine);
    EXPECT_EQ(run.result, 0U);
    EXPECT_TRUE(run.passedUsb);
    EXPECT_EQ(run.lines, c.lines);
    const auto printers = machine.snapshot().spooler->printers;
    ASSERT_EQ(printers.size(), 1U);
    EXPECT_EQ(printers[0].name, L"Office laser");
    EXPECT_EQ(printers[0].port, L"IP_10.0.0.5");
    EXPECT_EQ(printers[0].driver, kLv31);
    EXPECT_EQ(printers[0].printProcessor, L"winprint");
    EXPECT_EQ(printers[0].datatype, L"RAW");
  }
}

TEST(UpdateSavedPrinters, StopsAtTheFirstFailingAddPrinterKeepingEarlierQueues) {
  MachineConfig config;
  config.spooler = spoolerWith(
      config.os, {queue(L"A", L"IP_10.0.0.5", kLv31), queue(L"B", L"IP_10.0.0.5", kLv31),
                  queue(L"C", L"IP_10.0.0.5", kLv31)});
  Machine machine(config);

  // Someone else takes the name B before it is re-created.
  const UpdateRun run = deleteAndRecreate(machine, [] {
    plat::SpoolerPort& spooler = plat::ports().spooler();
    const auto added = plat::addPrinter(spooler, queueRecord(L"B", L"LPT1:", kOtherDriver));
    ASSERT_TRUE(added);
  });
  EXPECT_EQ(run.result, plat::kErrorPrinterAlreadyExists);
  EXPECT_FALSE(run.passedUsb);
  EXPECT_EQ(run.lines, std::vector<std::wstring>{L"Updated printer: A"});
  EXPECT_EQ(queueNames(machine), (std::vector<std::wstring>{L"B", L"A"}));
}

TEST(RenameValidPrinter, NumbersTheWantedNameUntilNoQueueHasIt) {
  struct Case {
    std::vector<std::wstring> existing;
    std::wstring wanted, expected;
  };
  const Case cases[] = {
      {{L"Other"}, L"X", L"X"},
      {{L"X", L"X #1"}, L"X", L"X #2"},
      {{L"x", L"X #1"}, L"X", L"X"},  // a clash only in letter case does not count
      {{L"X", L"X #2"}, L"X", L"X #1"},
      {{L"X #1 #1", L"X", L"X #1"}, L"X", L"X #2"},
      {{}, L"", L""},
  };
  for (const Case& c : cases) {
    MachineConfig config;
    for (const auto& name : c.existing) {
      config.registry.push_back({std::wstring(kPrintersKey) + L"\\" + name, false, {}});
    }
    Machine machine(config);
    std::wstring name;
    plat::Dword result = 99;
    runInProcess(machine, [&] {
      CDriverEngine engine;
      engine.switchLoggingOn();
      const plat::Result<std::wstring> renamed = engine.renameValidPrinter(c.wanted);
      result = renamed.error();
      name = renamed.valueOr(L"");
    });
    const std::vector<std::wstring> log = testing::engineLogEntries(machine);
    EXPECT_EQ(result, 0U);
    EXPECT_EQ(name, c.expected);
    EXPECT_EQ(log, std::vector<std::wstring>{L"renameValidPrinter " + c.expected});
  }
}

TEST(RenameValidPrinter, UnreadablePrinterListGives1011) {
  for (const char* call : {"RegOpenKeyExW", "RegQueryInfoKeyW"}) {
    MachineConfig config;
    config.registry.push_back({std::wstring(kPrintersKey) + L"\\X", false, {}});
    config.faults = {{call, plat::kErrorAccessDenied, 1}};
    Machine machine(config);
    plat::Dword result = 0;
    runInProcess(machine, [&] { result = CDriverEngine().renameValidPrinter(L"X").error(); });
    EXPECT_EQ(result, kErrorCantOpen) << call;
  }
}

TEST(DriverEngine, EnvironmentAndVersionKeyFollowWow64) {
  for (const bool is64Bit : {false, true}) {
    MachineConfig config;
    config.os.is64Bit = is64Bit;
    Machine machine(config);
    runInProcess(machine, [&] {
      const CDriverEngine engine;
      EXPECT_EQ(engine.onWow64(), is64Bit);
      const std::wstring environment = is64Bit ? L"Windows x64" : L"Windows NT x86";
      EXPECT_EQ(engine.driverEnvironment(), environment);
      EXPECT_EQ(engine.versionKey(), L"SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\" +
                                         environment + L"\\Drivers\\Version-3");
    });
  }
}

}  // namespace
}  // namespace brisvane
