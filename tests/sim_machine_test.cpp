#include <gtest/gtest.h>

#include <chrono>

#include "platform/api/ports.h"
#include "tests/sim_support.h"

namespace plat::sim {
namespace {

using brisvane::testing::lastErrorOf;
using brisvane::testing::runInProcess;

TEST(SimMachine, SleepAdvancesVirtualTimeOnly) {
  Machine machine;
  Dword before = 0;
  Dword after = 0;
  bool done = false;
  const auto realStart = std::chrono::steady_clock::now();
  const ProcessId id = runInProcess(machine, [&] {
    before = ports().system().getTickCount();
    ports().system().sleep(60'000);
    after = ports().system().getTickCount();
    done = true;
  });
  EXPECT_TRUE(machine.isRunning(id));  // asleep until time passes
  machine.advance(59'999);
  EXPECT_FALSE(done);
  machine.advance(1);
  EXPECT_TRUE(done);
  EXPECT_EQ(after - before, 60'000U);
  EXPECT_LT(std::chrono::steady_clock::now() - realStart, std::chrono::seconds(5));
}

TEST(SimMachine, TimedWaitOnAThreadTimesOutInVirtualTime) {
  Machine machine;
  Dword firstWait = 0;
  Dword secondWait = 0;
  runInProcess(machine, [&] {
    SystemPort& system = ports().system();
    const KernelHandle worker = system.createThread([&system] {
      system.sleep(5'000);
      return Dword{7};
    });
    firstWait = system.waitForSingleObject(worker, 1'000);
    secondWait = system.waitForSingleObject(worker, kInfinite);
    EXPECT_EQ(system.getExitCodeThread(worker), 7U);
    system.closeHandle(worker);
  });
  machine.advance(10'000);
  EXPECT_EQ(firstWait, kWaitTimeout);
  EXPECT_EQ(secondWait, kWaitObject0);
}

TEST(SimMachine, NamedMutexIsSharedAcrossProcessesAndGoesWithTheLast) {
  Machine machine;
  Dword firstError = 99;
  Dword secondError = 99;
  Dword afterEnd = 99;
  runInProcess(machine,
               [&] { firstError = lastErrorOf(ports().system().createMutex(true, L"M")); });
  // The first process has ended, so its handle is gone and the name is free.
  runInProcess(machine, [&] {
    SystemPort& system = ports().system();
    afterEnd = lastErrorOf(system.createMutex(true, L"M"));
    secondError = lastErrorOf(system.createMutex(false, L"M"));
    // Names are case-sensitive.
    EXPECT_EQ(lastErrorOf(system.createMutex(false, L"m")), kErrorSuccess);
  });
  EXPECT_EQ(firstError, kErrorSuccess);
  EXPECT_EQ(afterEnd, kErrorSuccess);
  EXPECT_EQ(secondError, kErrorAlreadyExists);
}

TEST(SimMachine, MessageBoxWaitsForTheUserOrARule) {
  Machine machine;
  int answer = 0;
  const ProcessId id = runInProcess(machine, [&] {
    answer = ports().windows().messageBox(kNoWindow, L"Go on?", L"Question", kMbYesNo);
  });
  const auto box = machine.windows().front();
  EXPECT_TRUE(box.isMessageBox);
  EXPECT_EQ(box.title, L"Question");
  EXPECT_FALSE(machine.close(box.id));  // Yes/No boxes have no close answer
  ASSERT_TRUE(machine.click(box.id, kIdNo));
  machine.settle();
  EXPECT_EQ(answer, kIdNo);
  EXPECT_FALSE(machine.isRunning(id));

  machine.addMessageBoxRule([](const WindowInfo& w) -> std::optional<int> {
    if (w.messageText == L"Again?") return kIdRetry;
    return std::nullopt;
  });
  runInProcess(machine, [&] {
    answer = ports().windows().messageBox(kNoWindow, L"Again?", L"", kMbRetryCancel);
  });
  EXPECT_EQ(answer, kIdRetry);
}

TEST(SimMachine, FaultsFailTheNamedCallTheGivenNumberOfTimes) {
  MachineConfig config;
  config.faults.push_back({"CreateMutexW", kErrorAccessDenied, 2});
  Machine machine(config);
  std::vector<Dword> errors;
  runInProcess(machine, [&] {
    for (int i = 0; i < 3; ++i)
      errors.push_back(lastErrorOf(ports().system().createMutex(false, L"")));
  });
  EXPECT_EQ(errors, (std::vector<Dword>{kErrorAccessDenied, kErrorAccessDenied, kErrorSuccess}));
}

TEST(SimMachine, ProcessLocalValuesAreSeparatePerProcess) {
  struct Counter {
    int value = 0;
  };
  Machine machine;
  int first = 0;
  int second = 0;
  runInProcess(machine, [&] {
    processLocal<Counter>().value += 5;
    first = processLocal<Counter>().value;
  });
  runInProcess(machine, [&] {
    processLocal<Counter>().value += 1;
    second = processLocal<Counter>().value;
  });
  EXPECT_EQ(first, 5);
  EXPECT_EQ(second, 1);
}

}  // namespace
}  // namespace plat::sim
