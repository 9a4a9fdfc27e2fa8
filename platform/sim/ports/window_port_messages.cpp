// The window port of a simulated process, continued: messages and the
// default handling of the control classes, the modal loop and the dialog
// manager's keys, timers on the virtual clock and the mouse.
#include "platform/sim/ports/sim_window_port.h"

#include <algorithm>
#include <utility>

#include "platform/sim/sim_process.h"
#include "platform/sim/text.h"

namespace plat::sim {

namespace {

constexpr std::uintptr_t kScCommandMask = 0xFFF0;
constexpr Dword kLbsSort = 0x0002;
constexpr Dword kMinimumTimer = 10;  // USER_TIMER_MINIMUM

std::intptr_t pointParam(Point p) {
  return static_cast<std::intptr_t>((static_cast<std::uint32_t>(p.y & 0xFFFF) << 16U) |
                                    static_cast<std::uint32_t>(p.x & 0xFFFF));
}

Point pointOf(std::intptr_t lParam) {
  return {static_cast<std::int16_t>(lowWord(static_cast<std::uintptr_t>(lParam))),
          static_cast<std::int16_t>(highWord(static_cast<std::uintptr_t>(lParam)))};
}

std::wstring folded(const std::wstring& text) {
  std::wstring out = text;
  for (wchar_t& c : out) {
    if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
  }
  return out;
}

}  // namespace

std::optional<std::intptr_t> SimWindowPort::callProcedure(WindowId window, const Message& message) {
  DialogProcedure* procedure = nullptr;
  {
    std::scoped_lock lock(process_.machine.mutex);
    const SimWindow* w = process_.machine.windows.find(window);
    if (w == nullptr) return std::nullopt;
    procedure = w->procedure;
  }
  std::intptr_t result = 0;
  if (procedure == nullptr || !procedure->dialogProc(window, message, result)) return std::nullopt;
  return result;
}

std::intptr_t SimWindowPort::sendMessage(WindowId window, const Message& message) {
  ControlProcedure* subclass = nullptr;
  {
    std::scoped_lock lock(process_.machine.mutex);
    const SimWindow* w = process_.machine.windows.find(window);
    if (w == nullptr) return 0;
    subclass = w->subclass;
  }
  std::intptr_t result = 0;
  if (subclass != nullptr && subclass->controlProc(window, message, result)) return result;
  if (const auto answer = callProcedure(window, message)) return *answer;
  return defaultProc(window, message);
}

bool SimWindowPort::subclassWindow(WindowId control, ControlProcedure* procedure) {
  std::scoped_lock lock(process_.machine.mutex);
  SimWindow* w = process_.machine.windows.find(control);
  if (w == nullptr) return false;
  w->subclass = procedure;
  return true;
}

std::intptr_t SimWindowPort::defSubclassProc(WindowId control, const Message& message) {
  return defaultProc(control, message);
}

std::intptr_t SimWindowPort::defaultProc(WindowId window, const Message& message) {
  std::scoped_lock lock(process_.machine.mutex);
  MachineState& m = process_.machine;
  SimWindow* w = m.windows.find(window);
  if (w == nullptr) return 0;
  const bool isButton = w->className == L"Button";
  switch (message.id) {
    case kWmSetText:
      w->title = messagePointer<const wchar_t>(static_cast<std::uintptr_t>(message.lParam));
      m.invalidate(window);
      return 1;
    case kWmSetFont:
      w->font = message.wParam;
      if (message.lParam != 0) m.invalidate(window);
      return 0;
    case kWmSetIcon: {
      GdiObject& slot = message.wParam == kIconBig ? w->bigIcon : w->smallIcon;
      return static_cast<std::intptr_t>(
          std::exchange(slot, static_cast<GdiObject>(message.lParam)));
    }
    case kWmNcHitTest:
      if (w->className == L"Static" && (w->style & kSsNotify) == 0) return kHtTransparent;
      return kHtClient;
    case kCbInsertString: {
      const auto index = static_cast<std::intptr_t>(message.wParam);
      const auto count = static_cast<std::intptr_t>(w->items.size());
      if (index > count) return kCbErr;
      const std::intptr_t at = index < 0 ? count : index;
      w->items.insert(w->items.begin() + at,
                      messagePointer<const wchar_t>(static_cast<std::uintptr_t>(message.lParam)));
      return at;
    }
    case kCbSetCurSel:
      m.invalidate(window);
      if (message.wParam >= w->items.size()) {
        w->selection = -1;
        return kCbErr;
      }
      w->selection = static_cast<int>(message.wParam);
      return w->selection;
    case kCbGetCurSel:
      return w->selection;
    case kCbGetCount:
    case kLbGetCount:
      return static_cast<std::intptr_t>(w->items.size());
    case kLbAddString: {
      const std::wstring text =
          messagePointer<const wchar_t>(static_cast<std::uintptr_t>(message.lParam));
      auto at = w->items.end();
      if ((w->style & kLbsSort) != 0) {
        at = std::upper_bound(
            w->items.begin(), w->items.end(), text,
            [](const std::wstring& a, const std::wstring& b) { return folded(a) < folded(b); });
      }
      m.invalidate(window);
      return w->items.insert(at, text) - w->items.begin();
    }
    case kPbmSetRange: {
      const auto previous = static_cast<std::intptr_t>(
          makeWParam(static_cast<unsigned>(w->rangeLow), static_cast<unsigned>(w->rangeHigh)));
      w->rangeLow = lowWord(static_cast<std::uintptr_t>(message.lParam));
      w->rangeHigh = highWord(static_cast<std::uintptr_t>(message.lParam));
      m.invalidate(window);
      return previous;
    }
    case kPbmSetPos: {
      const int previous = w->position;
      w->position = std::clamp(static_cast<int>(message.wParam), w->rangeLow, w->rangeHigh);
      m.invalidate(window);
      return previous;
    }
    case kPbmGetPos:
      return w->position;
    case kPbmGetRange:
      return message.wParam != 0 ? w->rangeLow : w->rangeHigh;
    case kBmGetCheck:
      return w->check;
    case kBmSetCheck:
      w->check = static_cast<int>(message.wParam);
      m.invalidate(window);
      return 0;
    case kBmSetStyle:
      w->style = (w->style & 0xFFFF0000U) | (static_cast<Dword>(message.wParam) & 0xFFFFU);
      if (message.lParam != 0) m.invalidate(window);
      return 0;
    case kWmGetDlgCode:
      if (w->className == L"Static") return kDlgcStatic;
      if (!isButton) return 0;
      switch (w->style & kBsTypeMask) {
        case kBsPushButton:
          return kDlgcButton | kDlgcUndefPushButton;
        case kBsDefPushButton:
          return kDlgcButton | kDlgcDefPushButton;
        default:
          return kDlgcButton;
      }
    case kDmGetDefId:
      if (w->procedure == nullptr || w->defaultId == 0) return 0;
      return static_cast<std::intptr_t>(
          makeWParam(static_cast<unsigned>(w->defaultId), kDcHasDefId));
    case kWmLButtonDown:
    case kWmLButtonDblClk:
      if (isButton) {
        w->pressed = true;
        m.windows.focus = window;
        m.invalidate(window);
      }
      return 0;
    case kWmLButtonUp:
      if (isButton && w->pressed) {
        w->pressed = false;
        m.invalidate(window);
        if (m.windows.clientRect(window).contains(pointOf(message.lParam))) {
          m.record("user clicks \"" + toUtf8(w->title) + "\"");
          m.post(w->parent,
                 {kWmCommand, makeWParam(static_cast<unsigned>(w->controlId), kBnClicked),
                  static_cast<std::intptr_t>(window)});
        }
      }
      return 0;
    default:
      return 0;
  }
}

void SimWindowPort::runModalLoop(std::unique_lock<std::mutex>& lock, SimWindow& modal) {
  SimThread* thread = currentThread();
  MachineState& machine = process_.machine;
  const std::function<bool()> ready = [&] {
    if (modal.ended || !thread->queue.empty()) return true;
    const auto timer = nextTimer();
    if (timer && *timer <= machine.now) return true;
    return std::any_of(machine.windows.begin(), machine.windows.end(), [thread](const auto& w) {
      return w.second->thread == thread && w.second->needsPaint;
    });
  };
  while (!modal.ended) {
    machine.block(lock, ready, nextTimer());
    if (modal.ended) break;
    if (thread->queue.empty()) {
      runIdleWork(lock);
      continue;
    }
    const PostedMessage posted = thread->queue.front();
    thread->queue.pop_front();
    lock.unlock();
    dispatch(posted);
    lock.lock();
  }
}

void SimWindowPort::dispatch(const PostedMessage& posted) {
  if (posted.input != MouseInput::None) {
    routeMouse(posted);
    return;
  }
  if (posted.message.id == kWmKeyDown && dialogKey(posted.window, posted.message.wParam)) return;
  if (callProcedure(posted.window, posted.message)) return;
  // The default dialog handling: the close command closes the window, and
  // closing a dialog presses its Cancel button.
  const Message& message = posted.message;
  if (message.id == kWmSysCommand && (message.wParam & kScCommandMask) == kScClose) {
    dispatch({posted.window, {kWmClose, 0, 0}});
  } else if (message.id == kWmSysCommand && (message.wParam & kScCommandMask) == kScMinimize) {
    showWindow(posted.window, kSwShowMinimized);
  } else if (message.id == kWmClose) {
    dispatch(
        {posted.window, {kWmCommand, makeWParam(static_cast<unsigned>(kIdCancel), kBnClicked), 0}});
  } else {
    defaultProc(posted.window, message);
  }
}

// The dialog manager's keys, as IsDialogMessage handles them: Enter
// presses the focused push button when it is the default one, else the
// dialog's default button (DM_GETDEFID) unless it is disabled, else IDOK;
// Escape presses IDCANCEL.
bool SimWindowPort::dialogKey(WindowId target, std::uintptr_t key) {
  WindowId dialog = kNoWindow;
  WindowId focus = kNoWindow;
  {
    std::scoped_lock lock(process_.machine.mutex);
    MachineState& m = process_.machine;
    dialog = m.windows.topLevelOf(target);
    const SimWindow* d = m.windows.find(dialog);
    if (d == nullptr || d->procedure == nullptr) return false;
    const SimWindow* f = m.windows.find(m.windows.focus);
    if (f != nullptr && f->parent == dialog) focus = f->id;
  }
  const auto press = [&](int id, WindowId button) {
    sendMessage(dialog, {kWmCommand, makeWParam(static_cast<unsigned>(id), kBnClicked),
                         static_cast<std::intptr_t>(button)});
  };
  if (key == kVkEscape) {
    press(kIdCancel, getDlgItem(dialog, kIdCancel));
    return true;
  }
  if (key != kVkReturn) return false;
  if (focus != kNoWindow &&
      (sendMessage(focus, {kWmGetDlgCode, key, 0}) & kDlgcDefPushButton) != 0) {
    press(getDlgCtrlId(focus), focus);
    return true;
  }
  const auto defaultId = static_cast<std::uintptr_t>(sendMessage(dialog, {kDmGetDefId, 0, 0}));
  if (highWord(defaultId) == kDcHasDefId) {
    const int id = lowWord(defaultId);
    const WindowId button = getDlgItem(dialog, id);
    if (button == kNoWindow || isWindowEnabled(button)) press(id, button);
    return true;
  }
  press(kIdOk, getDlgItem(dialog, kIdOk));
  return true;
}

bool SimWindowPort::setTimer(WindowId window, std::uintptr_t id, Dword milliseconds) {
  std::scoped_lock lock(process_.machine.mutex);
  SimWindow* w = process_.machine.windows.find(window);
  if (w == nullptr || process_.machine.takeFault("SetTimer")) return false;
  const Dword interval = std::max(milliseconds, kMinimumTimer);
  w->timers[id] = {interval, process_.machine.now + interval};
  process_.machine.changed();
  return true;
}

bool SimWindowPort::killTimer(WindowId window, std::uintptr_t id) {
  std::scoped_lock lock(process_.machine.mutex);
  SimWindow* w = process_.machine.windows.find(window);
  return w != nullptr && w->timers.erase(id) != 0;
}

std::optional<std::uint64_t> SimWindowPort::nextTimer() const {
  std::optional<std::uint64_t> next;
  const SimThread* thread = currentThread();
  for (const auto& [id, w] : process_.machine.windows) {
    if (w->thread != thread) continue;
    for (const auto& [timerId, timer] : w->timers) {
      if (!next || timer.due < *next) next = timer.due;
    }
  }
  return next;
}

bool SimWindowPort::runIdleWork(std::unique_lock<std::mutex>& lock) {
  MachineState& m = process_.machine;
  const SimThread* thread = currentThread();
  for (const auto& [id, w] : m.windows) {
    if (w->thread == thread && w->needsPaint && (w->style & kWsChild) == 0) {
      const WindowId top = id;
      lock.unlock();
      paint(top);
      lock.lock();
      return true;
    }
  }
  WindowId window = kNoWindow;
  std::uintptr_t timerId = 0;
  std::uint64_t due = 0;
  for (const auto& [id, w] : m.windows) {
    if (w->thread != thread) continue;
    for (const auto& [tid, timer] : w->timers) {
      if (timer.due <= m.now && (window == kNoWindow || timer.due < due)) {
        window = id;
        timerId = tid;
        due = timer.due;
      }
    }
  }
  if (window == kNoWindow) return false;
  SimWindow::Timer& timer = m.windows.find(window)->timers[timerId];
  timer.due = m.now + timer.interval;
  lock.unlock();
  sendMessage(window, {kWmTimer, timerId, 0});
  lock.lock();
  return true;
}

void SimWindowPort::routeMouse(const PostedMessage& posted) {
  const WindowId top = posted.window;
  const Point client = screenToClient(top, posted.screen);
  std::vector<WindowId> under;
  std::optional<Point> dragFrom;
  {
    std::scoped_lock lock(process_.machine.mutex);
    MachineState& m = process_.machine;
    SimWindow* w = m.windows.find(top);
    if (w == nullptr) return;
    m.windows.cursor = posted.screen;
    dragFrom = w->dragFrom;
    for (const WindowId child : w->children) {
      const SimWindow* c = m.windows.find(child);
      if (c->visible && c->className != kTooltipClass && c->rect.contains(client)) {
        under.push_back(child);
      }
    }
  }
  if (dragFrom) {
    if (posted.input == MouseInput::Up) {
      std::scoped_lock lock(process_.machine.mutex);
      MachineState& m = process_.machine;
      SimWindow* w = m.windows.find(top);
      w->rect = w->rect.offset(posted.screen.x - dragFrom->x, posted.screen.y - dragFrom->y);
      w->dragFrom.reset();
      m.record("user drags \"" + toUtf8(w->title) + "\" to (" + std::to_string(w->rect.left) +
               ", " + std::to_string(w->rect.top) + ")");
    }
    return;
  }
  const std::intptr_t screenParam = pointParam(posted.screen);
  WindowId target = top;
  std::intptr_t hit = kHtClient;
  for (const WindowId child : under) {
    hit = sendMessage(child, {kWmNcHitTest, 0, screenParam});
    if (hit != kHtTransparent) {
      target = child;
      break;
    }
  }
  if (target == top) hit = sendMessage(top, {kWmNcHitTest, 0, screenParam});
  WindowId left = kNoWindow;
  {
    std::scoped_lock lock(process_.machine.mutex);
    MachineState& m = process_.machine;
    if (m.windows.hover != target) {
      SimWindow* previous = m.windows.find(m.windows.hover);
      if (previous != nullptr && previous->trackLeave) {
        previous->trackLeave = false;
        left = m.windows.hover;
      }
      m.windows.hover = target;
    }
  }
  if (left != kNoWindow) sendMessage(left, {kWmMouseLeave, 0, 0});
  if (target == top && hit == kHtCaption) {
    if (posted.input == MouseInput::Down) {
      std::scoped_lock lock(process_.machine.mutex);
      process_.machine.windows.find(top)->dragFrom = posted.screen;
    }
    return;
  }
  const Point local = screenToClient(target, posted.screen);
  const std::uint32_t id = posted.input == MouseInput::Down ? kWmLButtonDown
                           : posted.input == MouseInput::Up ? kWmLButtonUp
                                                            : kWmMouseMove;
  sendMessage(target, {id, posted.message.wParam, pointParam(local)});
}

bool SimWindowPort::trackMouseLeave(WindowId window) {
  std::scoped_lock lock(process_.machine.mutex);
  SimWindow* w = process_.machine.windows.find(window);
  if (w == nullptr) return false;
  w->trackLeave = true;
  return true;
}

}  // namespace plat::sim
