#include "platform/sim/machine_state.h"

#include <algorithm>

#include "platform/sim/sim_process.h"
#include "platform/sim/text.h"

namespace plat::sim {

namespace {

thread_local SimThread* tCurrentThread = nullptr;

}  // namespace

SimThread* currentThread() {
  return tCurrentThread;
}

MachineState::MachineState(MachineConfig cfg) : config(std::move(cfg)), registry(config.registry) {
  devices.takeOfflineAbsent(spooler);
  for (const auto& desktopWindow : config.desktop) {
    auto window = std::make_unique<SimWindow>();
    window->program = desktopWindow.program;
    window->title = desktopWindow.title;
    window->className = L"DesktopProgramWindow";
    window->visible = true;
    windows.add(std::move(window));
  }
}

bool MachineState::block(std::unique_lock<std::mutex>& lock, const std::function<bool()>& ready,
                         std::optional<std::uint64_t> deadline) {
  if (ready()) return true;
  if (deadline && now >= *deadline) return false;
  Waiter waiter{&ready, deadline, false};
  waiters_.push_back(&waiter);
  --running_;
  idle_.notify_all();
  wake_.wait(lock, [&] { return waiter.woken; });
  waiters_.erase(std::find(waiters_.begin(), waiters_.end(), &waiter));
  return ready();
}

void MachineState::changed() {
  bool any = false;
  for (Waiter* waiter : waiters_) {
    if (!waiter->woken && ((*waiter->ready)() || (waiter->deadline && now >= *waiter->deadline))) {
      waiter->woken = true;
      ++running_;
      any = true;
    }
  }
  if (any) wake_.notify_all();
}

void MachineState::waitIdle(std::unique_lock<std::mutex>& lock) {
  idle_.wait(lock, [&] { return running_ == 0; });
}

void MachineState::runDueWork() {
  devices.settle(now, disk, spooler);
}

std::optional<std::uint64_t> MachineState::nextDeadline() const {
  std::optional<std::uint64_t> next = devices.installDue();
  for (const Waiter* waiter : waiters_) {
    if (!waiter->woken && waiter->deadline && (!next || *waiter->deadline < *next)) {
      next = waiter->deadline;
    }
  }
  return next;
}

SimThread& MachineState::startThread(SimProcess& process, std::function<Dword()> body) {
  SimThread& thread = threads.emplace_back();
  thread.id = nextThreadId++;
  thread.process = &process;
  ++running_;
  thread.thread = std::thread([this, &thread, body = std::move(body)] {
    tCurrentThread = &thread;
    const Dword exitCode = body();
    std::unique_lock lock(mutex);
    thread.exitCode = exitCode;
    thread.finished = true;
    --running_;
    changed();
    idle_.notify_all();
  });
  return thread;
}

std::optional<Dword> MachineState::takeFault(const std::string& call) {
  for (auto it = config.faults.begin(); it != config.faults.end(); ++it) {
    if (it->call != call) continue;
    const Dword error = it->error;
    if (it->times > 0 && --it->times == 0) config.faults.erase(it);
    return error;
  }
  return std::nullopt;
}

void MachineState::record(const std::string& text) {
  transcript.push_back({static_cast<Dword>(now), oneLine(text)});
}

std::string MachineState::describe(const SimProcess& process) const {
  return toUtf8(process.image.name) + "[" + std::to_string(process.id) + "]";
}

void MachineState::destroyWindow(WindowId id) {
  windows.remove(id);
  changed();
}

void MachineState::post(WindowId target, const Message& message) {
  SimWindow* window = windows.find(target);
  if (window == nullptr || window->thread == nullptr) return;
  window->thread->queue.push_back({target, message});
  changed();
}

void MachineState::invalidate(WindowId id, std::optional<Rect> area) {
  if (windows.invalidate(id, area)) changed();
}

}  // namespace plat::sim
