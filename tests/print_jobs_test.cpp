// The check before a job replaces the maker's driver: pending jobs and
// their cancellation, the old brand's printers and connected USB printers,
// as the user sees them in message boxes on the simulated machine.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "installer/engine/driver_engine.h"
#include "platform/api/ports.h"
#include "tests/engine_fixture.h"
#include "tests/sim_support.h"

namespace brisvane {
namespace {

using plat::sim::Machine;
using plat::sim::MachineConfig;
using plat::sim::PrinterQueueConfig;
using plat::sim::WindowInfo;
using testing::kLv31;
using testing::kMb17tDriver;
using testing::kOldBrand;
using testing::kOtherDriver;
using testing::queue;
using testing::runInProcess;
using testing::spoolerWith;

constexpr wchar_t kTitle[] = L"Corvantis Printer Driver Installer";
constexpr wchar_t kUnplug[] =
    L" has been connected to the printer, please unplug the USB cable, then click [Retry].";
// Longer than any wait of the check.
constexpr plat::Dword kAgesMs = 10 * 60 * 1000;

PrinterQueueConfig withJobs(PrinterQueueConfig printer, int count,
                            std::optional<plat::Dword> cancelMs = 0) {
  for (int i = 0; i < count; ++i) {
    printer.jobs.push_back({0, L"labels" + std::to_wstring(i) + L".prn", cancelMs});
  }
  return printer;
}

PrinterQueueConfig offline(PrinterQueueConfig printer) {
  printer.offline = true;
  return printer;
}

Machine machineWith(std::vector<PrinterQueueConfig> queues,
                    std::vector<plat::sim::Fault> faults = {}) {
  MachineConfig config;
  config.spooler = spoolerWith(config.os, std::move(queues));
  config.spooler->drivers.push_back({kMb17tDriver, L"Windows x64", L""});
  config.faults = std::move(faults);
  return Machine(config);
}

// The scripted user: answers the boxes in turn (then OK or Cancel) and
// keeps what each showed.
struct User {
  explicit User(std::vector<int> given = {}) : answers(std::move(given)) {}

  std::vector<int> answers;
  std::vector<WindowInfo> boxes;

  void attach(Machine& machine) {
    machine.addMessageBoxRule([this](const WindowInfo& box) -> std::optional<int> {
      const std::size_t turn = boxes.size();
      boxes.push_back(box);
      if (turn < answers.size()) return answers[turn];
      return (box.messageType & plat::kMbTypeMask) == plat::kMbOk ? plat::kIdOk : plat::kIdCancel;
    });
  }
};

struct CheckRun {
  bool stop = false;
  plat::Dword waitedMs = 0;
  bool returned = false;
};

// Runs checkPrintersReady and lets its waits pass in virtual time.
CheckRun check(Machine& machine) {
  CheckRun run;
  runInProcess(machine, [&run] {
    plat::SystemPort& system = plat::ports().system();
    const plat::Dword start = system.getTickCount();
    CDriverEngine engine;
    run.stop = engine.checkPrintersReady();
    run.waitedMs = system.getTickCount() - start;
    run.returned = true;
  });
  machine.advance(kAgesMs);
  return run;
}

std::size_t jobsLeft(const Machine& machine) {
  const MachineConfig snapshot = machine.snapshot();
  std::size_t jobs = 0;
  for (const auto& printer : snapshot.spooler->printers) jobs += printer.jobs.size();
  return jobs;
}

TEST(CheckPrintersReady, NothingToAskAboutLetsTheJobStartWithoutABox) {
  const std::vector<PrinterQueueConfig> machines[] = {
      {},
      {withJobs(queue(L"Laser", L"LPT1:", kOtherDriver), 2),
       queue(L"Scan", L"USB001", kOtherDriver)},
      {queue(L"Front desk", L"IP_10.0.0.5", kLv31)},
      {offline(queue(L"Unplugged", L"USB001", kLv31))},
  };
  for (const auto& queues : machines) {
    Machine machine = machineWith(queues);
    User user;
    user.attach(machine);
    const CheckRun run = check(machine);
    EXPECT_TRUE(run.returned);
    EXPECT_FALSE(run.stop) << queues.size();
    EXPECT_TRUE(user.boxes.empty()) << queues.size();
  }
}

TEST(CheckPrintersReady, YesCancelsEveryPendingJobAndWaitsForThemToLeave) {
  // The back office's jobs take 90 seconds to leave; two busy printers
  // may take two minutes.
  Machine machine = machineWith({withJobs(queue(L"Front desk", L"IP_10.0.0.5", kLv31), 3),
                                 queue(L"Idle", L"IP_10.0.0.5", kLv31),
                                 withJobs(queue(L"Back office", L"LPT1:", kMb17tDriver), 2, 90'000),
                                 withJobs(queue(L"Laser", L"LPT1:", kOtherDriver), 1)});
  User user({plat::kIdYes});
  user.attach(machine);
  const CheckRun run = check(machine);
  EXPECT_FALSE(run.stop);
  ASSERT_EQ(user.boxes.size(), 1U);
  EXPECT_EQ(user.boxes[0].title, kTitle);
  EXPECT_EQ(user.boxes[0].messageType, plat::kMbYesNoCancel);
  EXPECT_EQ(user.boxes[0].messageText,
            L"There are still 5 print tasks in Corvantis LV31 (203 dpi), etc. If you need to "
            L"cancel forcibly, please click [yes]. If the print was canceled manually or "
            L"completed, please click [no].");
  EXPECT_EQ(run.waitedMs, 90'000U);
  EXPECT_EQ(jobsLeft(machine), 1U);  // the other maker's job stays
}

TEST(CheckPrintersReady, JobsThatStayAfterCancellingAreShownForRetry) {
  struct Case {
    const char* what;
    std::vector<plat::sim::Fault> faults;
    std::optional<plat::Dword> cancelMs;
    plat::Dword waitedMs;
  };
  const Case cases[] = {
      {"a job stuck in the printer", {}, std::nullopt, 60'000},
      {"the queue cannot be opened", {{"OpenPrinterW", plat::kErrorAccessDenied, 1}}, 0, 0},
      {"its jobs cannot be listed", {{"EnumJobsW", plat::kErrorInvalidHandle, 1}}, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Machine machine =
        machineWith({withJobs(queue(L"Back office", L"LPT1:", kLv31), 1, c.cancelMs)}, c.faults);
    User user({plat::kIdYes, plat::kIdCancel});
    user.attach(machine);
    const CheckRun run = check(machine);
    EXPECT_TRUE(run.stop);
    EXPECT_EQ(run.waitedMs, c.waitedMs);
    ASSERT_EQ(user.boxes.size(), 2U);
    EXPECT_EQ(user.boxes[1].messageText,
              L"Failed to cancel the task of Back office , please manually cancel or wait for the "
              L"task to complete, then click [Retry].");
    EXPECT_EQ(user.boxes[1].messageType, plat::kMbRetryCancel);
    EXPECT_EQ(jobsLeft(machine), 1U);
  }
}

TEST(CheckPrintersReady, NoAsksAgainAndCancelStopsTheJob) {
  Machine machine = machineWith({withJobs(queue(L"Front desk", L"IP_10.0.0.5", kLv31), 2)});
  User user({plat::kIdNo, plat::kIdNo, plat::kIdCancel});
  user.attach(machine);
  const CheckRun run = check(machine);
  EXPECT_TRUE(run.stop);
  ASSERT_EQ(user.boxes.size(), 3U);
  for (const WindowInfo& box : user.boxes) {
    EXPECT_EQ(box.messageText, user.boxes[0].messageText);
    EXPECT_NE(box.messageText.find(L"still 2 print tasks"), std::wstring::npos);
  }
  EXPECT_EQ(jobsLeft(machine), 2U);
}

TEST(CheckPrintersReady, AConnectedUsbPrinterMustBeUnpluggedBeforeRetry) {
  constexpr wchar_t kDevice[] = L"USBPRINT\\CORVANTISLV31\\7&2A4F&0&USB001";
  MachineConfig config;
  config.spooler = spoolerWith(config.os, {queue(kLv31, L"USB001", kLv31)});
  config.devices = {{kDevice, true, std::vector<std::wstring>{L"USBPRINT\\Corvantis_LV31A1B2"},
                     L"Corvantis", 0U, L"USB001"}};
  Machine machine(config);
  CheckRun run;
  runInProcess(machine, [&run] {
    CDriverEngine engine;
    run.stop = engine.checkPrintersReady();
    run.returned = true;
  });
  const auto box = machine.foregroundWindow();
  ASSERT_TRUE(box && box->isMessageBox);
  EXPECT_EQ(box->title, kTitle);
  EXPECT_EQ(box->messageText, std::wstring(kLv31) + L" " + kUnplug);
  EXPECT_EQ(box->messageType, plat::kMbRetryCancel);

  // [Retry] while it is still connected asks again; once unplugged it passes.
  ASSERT_TRUE(machine.click(box->id, plat::kIdRetry));
  machine.settle();
  const auto again = machine.foregroundWindow();
  ASSERT_TRUE(again && again->isMessageBox);
  EXPECT_NE(again->id, box->id);
  ASSERT_TRUE(machine.plugDevice(kDevice, false));
  ASSERT_TRUE(machine.click(again->id, plat::kIdRetry));
  machine.settle();
  EXPECT_TRUE(run.returned);
  EXPECT_FALSE(run.stop);
}

TEST(CheckPrintersReady, TheOldBrandQuestionComesOncePerCheck) {
  struct Case {
    int answer;
    bool stop;
  };
  for (const Case& c : {Case{plat::kIdYes, false}, Case{plat::kIdNo, true}}) {
    Machine machine = machineWith({queue(L"Old A", L"IP_10.0.0.5", kOldBrand),
                                   queue(L"Old B", L"LPT1:", kOldBrand),
                                   queue(L"Front desk", L"IP_10.0.0.5", kLv31)});
    User user({c.answer});
    user.attach(machine);
    const CheckRun run = check(machine);
    EXPECT_EQ(run.stop, c.stop);
    ASSERT_EQ(user.boxes.size(), 1U);
    EXPECT_EQ(user.boxes[0].messageType, plat::kMbYesNo);
    EXPECT_EQ(user.boxes[0].messageText.rfind(L"If need to be compatible with veltrane printer", 0),
              0U);
  }
}

TEST(CheckPrintersReady, AFailedPrinterListingIsShownWithItsFixedText) {
  // Only the buffer that cannot be had is a memory error; the call itself
  // failing for lack of memory is not.
  const std::tuple<const char*, plat::Dword, const wchar_t*> cases[] = {
      {"LocalAlloc", plat::kErrorNotEnoughMemory, L"#01 Memory Error"},
      {"EnumPrintersW", plat::kErrorNotEnoughMemory, L"#02 EnumPrinters Error"},
      {"EnumPrintersW", plat::kErrorInvalidParameter, L"#02 EnumPrinters Error"},
  };
  for (const auto& [call, error, text] : cases) {
    Machine machine = machineWith({withJobs(queue(L"Front desk", L"IP_10.0.0.5", kLv31), 1)},
                                  {{call, error, -1}});
    User user;
    user.attach(machine);
    const CheckRun run = check(machine);
    EXPECT_TRUE(run.stop);
    ASSERT_EQ(user.boxes.size(), 1U);
    EXPECT_EQ(user.boxes[0].title, L"Quorvel");
    EXPECT_EQ(user.boxes[0].messageText, text);
    EXPECT_EQ(user.boxes[0].messageType, plat::kMbOk);
  }
}

}  // namespace
}  // namespace brisvane
