#include "platform/sim/machine.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "platform/sim/machine_state.h"
#include "platform/sim/sim_process.h"
#include "platform/sim/text.h"

namespace plat::sim {

namespace {

constexpr int kShutdownRounds = 64;

WindowInfo infoOf(const SimWindow& w) {
  WindowInfo info;
  info.id = w.id;
  info.process = w.process != nullptr ? w.process->id : 0;
  info.program = w.program;
  info.title = w.title;
  info.className = w.className;
  info.visible = w.visible;
  info.enabled = w.enabled;
  info.minimized = w.minimized;
  info.isMessageBox = w.isMessageBox;
  info.messageText = w.messageText;
  info.messageType = w.messageType;
  if (w.layered && (w.layered->flags & kLwaAlpha) != 0 && (w.exStyle & kWsExLayered) != 0) {
    info.alpha = w.layered->alpha;
  }
  return info;
}

std::wstring withoutAmpersands(const std::wstring& text) {
  std::wstring out;
  for (const wchar_t c : text) {
    if (c != L'&') out += c;
  }
  return out;
}

}  // namespace

Machine::Machine(MachineConfig config)
    : state_(std::make_unique<MachineState>(std::move(config))) {}

Machine::~Machine() {
  for (int round = 0; round < kShutdownRounds; ++round) {
    settle();
    std::vector<WindowId> open;
    {
      std::scoped_lock lock(state_->mutex);
      const bool running = std::any_of(state_->threads.begin(), state_->threads.end(),
                                       [](const SimThread& t) { return !t.finished; });
      if (!running) break;
      for (const WindowId id : state_->windows.zOrder()) {
        const SimWindow* w = state_->windows.find(id);
        if (w->process != nullptr) open.push_back(id);
      }
    }
    if (open.empty()) {
      // Only timed waits are left: let their time pass.
      advance(60'000);
    }
    for (const WindowId id : open) {
      if (!close(id)) {
        const auto buttons = this->buttons(id);
        if (!buttons.empty()) click(id, buttons.front().id);
      }
    }
  }
  std::unique_lock lock(state_->mutex);
  for (SimThread& thread : state_->threads) {
    if (!thread.finished) {
      std::fprintf(stderr, "simulated machine: a thread of %s is still blocked at shutdown\n",
                   state_->describe(*thread.process).c_str());
      std::abort();
    }
  }
  lock.unlock();
  for (SimThread& thread : state_->threads) thread.thread.join();
}

void Machine::installProgram(ProgramImage image) {
  std::scoped_lock lock(state_->mutex);
  const std::wstring name = image.name;
  state_->programs[name] = std::move(image);
}

ProcessId Machine::startProcess(const std::wstring& program, const std::wstring& arguments,
                                const std::wstring& directory) {
  std::scoped_lock lock(state_->mutex);
  const auto found = state_->programs.find(program);
  if (found == state_->programs.end()) return 0;
  const ProcessId id = state_->nextProcessId++;
  auto process = std::make_unique<SimProcess>(
      *state_, id, found->second, arguments,
      directory.empty() ? std::wstring(L"C:\\Users\\User\\Desktop") : directory);
  SimProcess& ref = *process;
  state_->processes.emplace(id, std::move(process));
  state_->record(state_->describe(ref) + " starts with command line \"" + toUtf8(arguments) + "\"");
  state_->startThread(ref, [&ref] {
    const int code = ref.image.entry();
    std::scoped_lock innerLock(ref.machine.mutex);
    ref.terminate(static_cast<Dword>(code));
    return static_cast<Dword>(code);
  });
  return id;
}

void Machine::settle() {
  std::unique_lock lock(state_->mutex);
  state_->waitIdle(lock);
}

void Machine::advance(Dword milliseconds) {
  std::unique_lock lock(state_->mutex);
  const std::uint64_t target = state_->now + milliseconds;
  while (true) {
    state_->waitIdle(lock);
    const auto next = state_->nextDeadline();
    if (!next || *next > target) break;
    state_->now = std::max(state_->now, *next);
    state_->runDueWork();
    state_->changed();
  }
  state_->now = target;
  state_->runDueWork();
  state_->changed();
  state_->waitIdle(lock);
}

Dword Machine::now() const {
  std::scoped_lock lock(state_->mutex);
  return static_cast<Dword>(state_->now);
}

bool Machine::isRunning(ProcessId process) const {
  std::scoped_lock lock(state_->mutex);
  const auto it = state_->processes.find(process);
  return it != state_->processes.end() && !it->second->ended;
}

std::optional<int> Machine::exitCode(ProcessId process) const {
  std::scoped_lock lock(state_->mutex);
  const auto it = state_->processes.find(process);
  if (it == state_->processes.end() || !it->second->ended) return std::nullopt;
  return static_cast<int>(it->second->exitCode);
}

bool Machine::privilegeEnabled(ProcessId process, const std::wstring& name) const {
  std::scoped_lock lock(state_->mutex);
  const auto it = state_->processes.find(process);
  return it != state_->processes.end() && it->second->enabledPrivileges.count(name) != 0;
}

std::vector<ProcessId> Machine::processes() const {
  std::scoped_lock lock(state_->mutex);
  std::vector<ProcessId> ids;
  for (const auto& [id, process] : state_->processes) ids.push_back(id);
  return ids;
}

std::vector<WindowInfo> Machine::windows() const {
  std::scoped_lock lock(state_->mutex);
  std::vector<WindowInfo> out;
  for (const WindowId id : state_->windows.zOrder())
    out.push_back(infoOf(*state_->windows.find(id)));
  return out;
}

std::optional<WindowInfo> Machine::window(WindowId id) const {
  std::scoped_lock lock(state_->mutex);
  const SimWindow* w = state_->windows.find(id);
  if (w == nullptr) return std::nullopt;
  return infoOf(*w);
}

std::optional<WindowInfo> Machine::foregroundWindow() const {
  std::scoped_lock lock(state_->mutex);
  const SimWindow* w = state_->windows.find(state_->windows.foreground);
  if (w == nullptr) return std::nullopt;
  return infoOf(*w);
}

std::vector<ButtonInfo> Machine::buttons(WindowId window) const {
  std::scoped_lock lock(state_->mutex);
  std::vector<ButtonInfo> out;
  const SimWindow* w = state_->windows.find(window);
  if (w == nullptr) return out;
  for (const WindowId child : w->children) {
    const SimWindow* c = state_->windows.find(child);
    if (c->className == L"Button" && c->visible) out.push_back({c->controlId, c->title});
  }
  return out;
}

std::vector<ButtonInfo> Machine::systemMenu(WindowId window) const {
  std::scoped_lock lock(state_->mutex);
  std::vector<ButtonInfo> out;
  const SimWindow* w = state_->windows.find(window);
  if (w == nullptr) return out;
  for (const auto& item : w->systemMenu) {
    if ((item.flags & kMfSeparator) == 0) out.push_back({static_cast<int>(item.id), item.text});
  }
  return out;
}

bool Machine::click(WindowId window, int controlId) {
  std::scoped_lock lock(state_->mutex);
  SimWindow* w = state_->windows.find(window);
  if (w == nullptr || !w->enabled || w->thread == nullptr) return false;
  for (const WindowId child : w->children) {
    const SimWindow* c = state_->windows.find(child);
    if (c->controlId != controlId || c->className != L"Button") continue;
    if (!c->visible || !c->enabled) return false;
    state_->record("user clicks \"" + toUtf8(withoutAmpersands(c->title)) + "\" in \"" +
                   toUtf8(w->title) + "\"");
    if (w->isMessageBox) {
      w->result = controlId;
      w->ended = true;
      state_->changed();
    } else {
      state_->post(window, {kWmCommand, makeWParam(static_cast<unsigned>(controlId), kBnClicked),
                            static_cast<std::intptr_t>(child)});
    }
    return true;
  }
  return false;
}

bool Machine::clickButtonText(WindowId window, const std::wstring& text) {
  for (const auto& button : buttons(window)) {
    if (withoutAmpersands(button.text) == withoutAmpersands(text)) return click(window, button.id);
  }
  return false;
}

bool Machine::close(WindowId window) {
  std::scoped_lock lock(state_->mutex);
  SimWindow* w = state_->windows.find(window);
  if (w == nullptr || !w->enabled || w->thread == nullptr) return false;
  if (w->isMessageBox) {
    // The close button of a message box answers Cancel, or OK when OK is
    // the only button; boxes without either cannot be closed.
    const Dword buttons = w->messageType & kMbTypeMask;
    int answer = 0;
    if (buttons == kMbOk) answer = kIdOk;
    if (buttons == kMbOkCancel || buttons == kMbYesNoCancel || buttons == kMbRetryCancel) {
      answer = kIdCancel;
    }
    if (answer == 0) return false;
    state_->record("user closes \"" + toUtf8(w->title) + "\"");
    w->result = answer;
    w->ended = true;
    state_->changed();
    return true;
  }
  state_->record("user closes \"" + toUtf8(w->title) + "\"");
  state_->post(window, {kWmSysCommand, kScClose, 0});
  return true;
}

bool Machine::activate(WindowId window) {
  std::scoped_lock lock(state_->mutex);
  SimWindow* w = state_->windows.find(window);
  if (w == nullptr || w->parent != kNoWindow || !w->visible) return false;
  state_->record("user activates \"" + toUtf8(w->title) + "\"");
  state_->windows.bringToTop(window);
  return true;
}

bool Machine::minimize(WindowId window) {
  std::scoped_lock lock(state_->mutex);
  SimWindow* w = state_->windows.find(window);
  if (w == nullptr || w->parent != kNoWindow || !w->visible) return false;
  state_->record("user minimises \"" + toUtf8(w->title) + "\"");
  w->minimized = true;
  return true;
}

bool Machine::chooseSystemMenuItem(WindowId window, std::uintptr_t command) {
  std::scoped_lock lock(state_->mutex);
  SimWindow* w = state_->windows.find(window);
  if (w == nullptr || !w->enabled || w->thread == nullptr) return false;
  for (const auto& item : w->systemMenu) {
    if (item.id == command && (item.flags & kMfSeparator) == 0) {
      state_->record("user chooses \"" + toUtf8(withoutAmpersands(item.text)) +
                     "\" in the system menu of \"" + toUtf8(w->title) + "\"");
      state_->post(window, {kWmSysCommand, command, 0});
      return true;
    }
  }
  return false;
}

bool Machine::pressKey(WindowId window, std::uintptr_t virtualKey) {
  std::scoped_lock lock(state_->mutex);
  SimWindow* w = state_->windows.find(window);
  if (w == nullptr || w->parent != kNoWindow || !w->visible || !w->enabled ||
      w->thread == nullptr) {
    return false;
  }
  const SimWindow* focus = state_->windows.find(state_->windows.focus);
  const WindowId target =
      focus != nullptr && state_->windows.topLevelOf(focus->id) == window ? focus->id : window;
  const char* name = virtualKey == kVkReturn   ? "Enter"
                     : virtualKey == kVkEscape ? "Escape"
                                               : "a key";
  state_->record(std::string("user presses ") + name + " in \"" + toUtf8(w->title) + "\"");
  state_->post(target, {kWmKeyDown, virtualKey, 0});
  return true;
}

void Machine::addMessageBoxRule(MessageBoxRule rule) {
  std::scoped_lock lock(state_->mutex);
  state_->messageBoxRules.push_back(std::move(rule));
}

std::vector<TranscriptLine> Machine::transcript() const {
  std::scoped_lock lock(state_->mutex);
  return state_->transcript;
}

void Machine::configure(const std::function<void(MachineConfig&)>& change) {
  std::scoped_lock lock(state_->mutex);
  change(state_->config);
  state_->changed();
}

MachineConfig Machine::config() const {
  std::scoped_lock lock(state_->mutex);
  return state_->config;
}

MachineConfig Machine::snapshot() const {
  std::scoped_lock lock(state_->mutex);
  MachineConfig out = state_->config;
  out.desktop.clear();
  for (auto it = state_->windows.zOrder().rbegin(); it != state_->windows.zOrder().rend(); ++it) {
    const SimWindow* w = state_->windows.find(*it);
    if (w->process == nullptr) out.desktop.push_back({w->program, w->title});
  }
  out.files = state_->disk.entries();
  out.registry = state_->registry.save();
  state_->spooler.settleJobs(state_->now);
  out.spooler = state_->spooler.save();
  out.spoolerService = state_->services.save();
  out.devices = state_->devices.save();
  return out;
}

std::vector<FileEntry> Machine::folderContents(const std::wstring& folder) const {
  std::scoped_lock lock(state_->mutex);
  return state_->disk.entriesIn(folder);
}

std::optional<FileEntry> Machine::file(const std::wstring& path) const {
  std::scoped_lock lock(state_->mutex);
  const FileSystem::Node* node = state_->disk.find(path);
  if (node == nullptr) return std::nullopt;
  return node->entry;
}

bool Machine::plugDevice(const std::wstring& instanceId, bool present) {
  std::scoped_lock lock(state_->mutex);
  const bool known = state_->devices.setPresent(instanceId, present, state_->now, state_->spooler);
  state_->changed();
  return known;
}

bool Machine::submitPrintJob(const std::wstring& printer, const PrintJobConfig& job) {
  std::scoped_lock lock(state_->mutex);
  const bool done = state_->spooler.submitJob(printer, job);
  state_->changed();
  return done;
}

void Machine::putFile(FileEntry entry) {
  std::scoped_lock lock(state_->mutex);
  state_->disk.add(std::move(entry));
}

std::vector<ShellLaunch> Machine::launches() const {
  std::scoped_lock lock(state_->mutex);
  return state_->launches;
}

}  // namespace plat::sim

namespace plat {

Ports& ports() {
  sim::SimThread* thread = sim::currentThread();
  if (thread == nullptr) {
    std::fprintf(stderr, "ports() called outside a simulated process\n");
    std::abort();
  }
  return *thread->process;
}

}  // namespace plat
