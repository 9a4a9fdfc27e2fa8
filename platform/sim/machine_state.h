// The simulated machine's inner state: its models of the Windows subsystems,
// its processes and threads and its virtual clock, shared by the machine and
// the ports of its processes. Everything here is guarded by
// `MachineState::mutex`.
#pragma once

#include <condition_variable>
#include <deque>
#include <list>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <typeindex>
#include <vector>

#include "platform/api/system_port.h"
#include "platform/sim/machine.h"
#include "platform/sim/model/device_table.h"
#include "platform/sim/model/file_system.h"
#include "platform/sim/model/gdi_table.h"
#include "platform/sim/model/kernel_objects.h"
#include "platform/sim/model/registry_tree.h"
#include "platform/sim/model/service_table.h"
#include "platform/sim/model/spooler_state.h"
#include "platform/sim/model/window_table.h"

namespace plat::sim {

class SimProcess;

// A thread blocked in the machine, and what wakes it.
struct Waiter {
  const std::function<bool()>* ready = nullptr;
  std::optional<std::uint64_t> deadline;
  bool woken = false;
};

class MachineState {
 public:
  explicit MachineState(MachineConfig config);

  mutable std::mutex mutex;
  MachineConfig config;
  std::uint64_t now = 0;

  std::map<std::wstring, ProgramImage> programs;
  std::map<ProcessId, std::unique_ptr<SimProcess>> processes;
  std::list<SimThread> threads;
  std::map<std::wstring, std::weak_ptr<MutexObject>> namedMutexes;
  WindowTable windows;
  std::vector<MessageBoxRule> messageBoxRules;
  std::vector<TranscriptLine> transcript;

  // Blocks the calling simulated thread until `ready` holds or the virtual
  // clock reaches `deadline`. Returns false on a timeout.
  bool block(std::unique_lock<std::mutex>& lock, const std::function<bool()>& ready,
             std::optional<std::uint64_t> deadline = std::nullopt);
  // To be called after every change that may satisfy a waiter.
  void changed();
  void waitIdle(std::unique_lock<std::mutex>& lock);
  [[nodiscard]] std::optional<std::uint64_t> nextDeadline() const;

  SimThread& startThread(SimProcess& process, std::function<Dword()> body);
  // A port call named `call` fails now: the error to report, if any.
  std::optional<Dword> takeFault(const std::string& call);

  // Adds a line to the transcript; a line break in it shows as "\n".
  void record(const std::string& text);
  std::string describe(const SimProcess& process) const;

  // Removes a window with its controls, and wakes who waits for that.
  void destroyWindow(WindowId id);
  void post(WindowId target, const Message& message);

  std::uint32_t nextThreadId = 1;
  ProcessId nextProcessId = 1;
  KernelHandle nextHandle = 0x100;

  FileSystem disk{config};
  std::vector<ShellLaunch> launches;
  RegistryTree registry;
  SpoolerState spooler{config, registry};
  ServiceTable services{config.spoolerService};
  DeviceTable devices{config.devices};
  // Work that falls due with the clock rather than with a waiting thread:
  // a plug-and-play installation.
  void runDueWork();

  GdiTable gdi;
  // Marks `area` of `id` (all of its client area when not given) for
  // repainting, and has its top-level window painted.
  void invalidate(WindowId id, std::optional<Rect> area = std::nullopt);

 private:
  std::condition_variable wake_;
  std::condition_variable idle_;
  std::vector<Waiter*> waiters_;
  int running_ = 0;
};

// The simulated thread running the caller, or null for the test or the
// script runner acting as the user.
SimThread* currentThread();

}  // namespace plat::sim
