// The window port of a simulated process, continued: geometry, control
// state, painting, timers on the virtual clock, the mouse, GDI objects,
// tooltips and popup menus.
#include <algorithm>
#include <utility>

#include "platform/sim/sim_process.h"
#include "platform/sim/text.h"

namespace plat::sim {

namespace {

constexpr Dword kLbsSort = 0x0002;
constexpr Dword kMinimumTimer = 10;  // USER_TIMER_MINIMUM
constexpr int kDefaultIconSize = 32;
constexpr int kComboFieldHeight = 22;
constexpr int kTextPadding = 4;

const wchar_t kTooltipClass[] = L"tooltips_class32";

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

Colour sysColour(int index) {
  switch (index) {
    case kColorWindow:
      return rgb(255, 255, 255);
    case kColorBtnShadow:
      return rgb(160, 160, 160);
    case kColorBtnText:
      return rgb(0, 0, 0);
    case kColorBtnHighlight:
      return rgb(255, 255, 255);
    default:
      return rgb(240, 240, 240);  // COLOR_BTNFACE and the rest
  }
}

const FileResource* findFile(const SimProcess& process, const wchar_t* type, std::uint32_t id) {
  const ResourceSet* resources = process.image.resources;
  if (resources == nullptr) return nullptr;
  const auto found =
      std::find_if(resources->files.begin(), resources->files.end(),
                   [&](const FileResource& f) { return f.id == id && f.type == type; });
  return found == resources->files.end() ? nullptr : &*found;
}

}  // namespace

// ---------------------------------------------------------------------------
// MachineState helpers

WindowId MachineState::topLevelOf(WindowId id) const {
  const SimWindow* w = find(id);
  while (w != nullptr && (w->style & kWsChild) != 0 && find(w->parent) != nullptr) {
    w = find(w->parent);
  }
  return w == nullptr ? kNoWindow : w->id;
}

Point MachineState::offsetInTopLevel(WindowId id) const {
  Point offset;
  const SimWindow* w = find(id);
  while (w != nullptr && (w->style & kWsChild) != 0) {
    offset.x += w->rect.left;
    offset.y += w->rect.top;
    w = find(w->parent);
  }
  return offset;
}

Rect MachineState::clientRect(WindowId id) const {
  const SimWindow* w = find(id);
  if (w == nullptr) return {};
  return {0, 0, std::max(0, w->rect.width() - w->frame.left - w->frame.right),
          std::max(0, w->rect.height() - w->frame.top - w->frame.bottom)};
}

void MachineState::invalidate(WindowId id, std::optional<Rect> area) {
  SimWindow* w = find(id);
  SimWindow* top = find(topLevelOf(id));
  if (w == nullptr || top == nullptr) return;
  const Rect client = clientRect(id);
  Rect part = area.value_or(client);
  part = {std::max(part.left, 0), std::max(part.top, 0), std::min(part.right, client.right),
          std::min(part.bottom, client.bottom)};
  if (part.width() > 0 && part.height() > 0) {
    const Rect old = w->updateRect.value_or(part);
    w->updateRect = Rect{std::min(old.left, part.left), std::min(old.top, part.top),
                         std::max(old.right, part.right), std::max(old.bottom, part.bottom)};
  }
  top->needsPaint = true;
  changed();
}

// ---------------------------------------------------------------------------
// Geometry and window facts

Rect SimWindowPort::getWindowRect(WindowId window) {
  std::scoped_lock lock(process_.machine.mutex);
  MachineState& m = process_.machine;
  const SimWindow* w = m.find(window);
  if (w == nullptr) return {};
  if ((w->style & kWsChild) == 0) return w->rect;
  const SimWindow* top = m.find(m.topLevelOf(window));
  const Point offset = m.offsetInTopLevel(window);
  const Point origin{top->rect.left + top->frame.left, top->rect.top + top->frame.top};
  return Rect{0, 0, w->rect.width(), w->rect.height()}.offset(origin.x + offset.x,
                                                              origin.y + offset.y);
}

Rect SimWindowPort::getClientRect(WindowId window) {
  std::scoped_lock lock(process_.machine.mutex);
  return process_.machine.clientRect(window);
}

Point SimWindowPort::clientToScreen(WindowId window, Point point) {
  std::scoped_lock lock(process_.machine.mutex);
  MachineState& m = process_.machine;
  const SimWindow* top = m.find(m.topLevelOf(window));
  if (top == nullptr) return point;
  const Point offset = m.offsetInTopLevel(window);
  return {point.x + offset.x + top->rect.left + top->frame.left,
          point.y + offset.y + top->rect.top + top->frame.top};
}

Point SimWindowPort::screenToClient(WindowId window, Point point) {
  const Point origin = clientToScreen(window, {0, 0});
  return {point.x - origin.x, point.y - origin.y};
}

bool SimWindowPort::moveWindow(WindowId window, const Rect& rect, bool repaint) {
  (void)repaint;
  std::scoped_lock lock(process_.machine.mutex);
  SimWindow* w = process_.machine.find(window);
  if (w == nullptr) return false;
  w->rect = rect;
  process_.machine.invalidate(window);
  return true;
}

Dword SimWindowPort::getWindowLong(WindowId window, int index) {
  std::scoped_lock lock(process_.machine.mutex);
  const SimWindow* w = process_.machine.find(window);
  if (w == nullptr) return 0;
  return index == kGwlExStyle ? w->exStyle : index == kGwlStyle ? w->style : 0;
}

Dword SimWindowPort::setWindowLong(WindowId window, int index, Dword value) {
  std::scoped_lock lock(process_.machine.mutex);
  SimWindow* w = process_.machine.find(window);
  if (w == nullptr || (index != kGwlStyle && index != kGwlExStyle)) return 0;
  // Windows repaints nothing here: the change shows at the next painting,
  // and reaches the frame with SetWindowPos and SWP_FRAMECHANGED.
  Dword& slot = index == kGwlStyle ? w->style : w->exStyle;
  const Dword previous = slot;
  slot = value;
  return previous;
}

bool SimWindowPort::isWindowVisible(WindowId window) {
  std::scoped_lock lock(process_.machine.mutex);
  const SimWindow* w = process_.machine.find(window);
  return w != nullptr && w->visible;
}

bool SimWindowPort::isIconic(WindowId window) {
  std::scoped_lock lock(process_.machine.mutex);
  const SimWindow* w = process_.machine.find(window);
  return w != nullptr && w->minimized;
}

bool SimWindowPort::isWindowEnabled(WindowId window) {
  std::scoped_lock lock(process_.machine.mutex);
  const SimWindow* w = process_.machine.find(window);
  return w != nullptr && w->enabled;
}

bool SimWindowPort::enableWindow(WindowId window, bool enable) {
  {
    std::scoped_lock lock(process_.machine.mutex);
    const SimWindow* w = process_.machine.find(window);
    if (w == nullptr) return false;
    if (w->enabled == enable) return !enable;
  }
  // A window being disabled first cancels what the mouse was doing with it,
  // and loses the focus.
  if (!enable) sendMessage(window, {kWmCancelMode, 0, 0});
  {
    std::scoped_lock lock(process_.machine.mutex);
    MachineState& m = process_.machine;
    SimWindow* w = m.find(window);
    if (w == nullptr) return enable;
    w->enabled = enable;
    w->style = enable ? w->style & ~kWsDisabled : w->style | kWsDisabled;
    if (!enable && m.focus == window) m.focus = kNoWindow;
    m.invalidate(window);
  }
  sendMessage(window, {kWmEnable, enable ? 1U : 0U, 0});
  return enable;
}

WindowId SimWindowPort::getParent(WindowId window) {
  std::scoped_lock lock(process_.machine.mutex);
  const SimWindow* w = process_.machine.find(window);
  return w == nullptr ? kNoWindow : w->parent;
}

int SimWindowPort::getDlgCtrlId(WindowId window) {
  std::scoped_lock lock(process_.machine.mutex);
  const SimWindow* w = process_.machine.find(window);
  return w == nullptr ? 0 : w->controlId;
}

WindowId SimWindowPort::windowFromPoint(Point screen) {
  std::vector<WindowId> order;
  {
    std::scoped_lock lock(process_.machine.mutex);
    order = process_.machine.zOrder;
  }
  for (const WindowId top : order) {
    if (!getWindowRect(top).contains(screen) || !isWindowVisible(top)) continue;
    const Point client = screenToClient(top, screen);
    std::scoped_lock lock(process_.machine.mutex);
    for (const WindowId child : process_.machine.find(top)->children) {
      const SimWindow* c = process_.machine.find(child);
      if (c->visible && c->className != kTooltipClass && c->rect.contains(client)) return child;
    }
    return top;
  }
  return kNoWindow;
}

WindowId SimWindowPort::getFocus() {
  std::scoped_lock lock(process_.machine.mutex);
  return process_.machine.focus;
}

WindowId SimWindowPort::setFocus(WindowId window) {
  std::scoped_lock lock(process_.machine.mutex);
  const WindowId previous = process_.machine.focus;
  process_.machine.focus = window;
  process_.machine.invalidate(window);
  return previous;
}

Point SimWindowPort::getCursorPos() {
  std::scoped_lock lock(process_.machine.mutex);
  return process_.machine.cursor;
}

// ---------------------------------------------------------------------------
// Messages

std::optional<std::intptr_t> SimWindowPort::callProcedure(WindowId window, const Message& message) {
  DialogProcedure* procedure = nullptr;
  {
    std::scoped_lock lock(process_.machine.mutex);
    const SimWindow* w = process_.machine.find(window);
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
    const SimWindow* w = process_.machine.find(window);
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
  SimWindow* w = process_.machine.find(control);
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
  SimWindow* w = m.find(window);
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
        m.focus = window;
        m.invalidate(window);
      }
      return 0;
    case kWmLButtonUp:
      if (isButton && w->pressed) {
        w->pressed = false;
        m.invalidate(window);
        if (m.clientRect(window).contains(pointOf(message.lParam))) {
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

// ---------------------------------------------------------------------------
// Timers and painting

bool SimWindowPort::setTimer(WindowId window, std::uintptr_t id, Dword milliseconds) {
  std::scoped_lock lock(process_.machine.mutex);
  SimWindow* w = process_.machine.find(window);
  if (w == nullptr || process_.machine.takeFault("SetTimer")) return false;
  const Dword interval = std::max(milliseconds, kMinimumTimer);
  w->timers[id] = {interval, process_.machine.now + interval};
  process_.machine.changed();
  return true;
}

bool SimWindowPort::killTimer(WindowId window, std::uintptr_t id) {
  std::scoped_lock lock(process_.machine.mutex);
  SimWindow* w = process_.machine.find(window);
  return w != nullptr && w->timers.erase(id) != 0;
}

bool SimWindowPort::trackMouseLeave(WindowId window) {
  std::scoped_lock lock(process_.machine.mutex);
  SimWindow* w = process_.machine.find(window);
  if (w == nullptr) return false;
  w->trackLeave = true;
  return true;
}

bool SimWindowPort::redrawWindow(WindowId window, Dword flags) {
  (void)flags;
  std::scoped_lock lock(process_.machine.mutex);
  if (process_.machine.find(window) == nullptr) return false;
  process_.machine.invalidate(window);
  return true;
}

bool SimWindowPort::invalidateRect(WindowId window, const Rect& rect, bool erase) {
  (void)erase;
  std::scoped_lock lock(process_.machine.mutex);
  if (process_.machine.find(window) == nullptr) return false;
  process_.machine.invalidate(window, rect);
  return true;
}

std::unique_ptr<Canvas> SimWindowPort::beginPaint(WindowId window) {
  return std::make_unique<SimCanvas>(process_.machine, window);
}

Colour SimWindowPort::getSysColour(int index) {
  return sysColour(index);
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
  SimWindow::Timer& timer = m.find(window)->timers[timerId];
  timer.due = m.now + timer.interval;
  lock.unlock();
  sendMessage(window, {kWmTimer, timerId, 0});
  lock.lock();
  return true;
}

void SimWindowPort::paint(WindowId topLevel) {
  std::vector<WindowId> children;
  {
    std::scoped_lock lock(process_.machine.mutex);
    MachineState& m = process_.machine;
    SimWindow* w = m.find(topLevel);
    if (w == nullptr) return;
    validate(topLevel);
    if (!w->visible || w->minimized) return;
    const Rect client = m.clientRect(topLevel);
    if (w->surface.width != client.width() || w->surface.height != client.height()) {
      w->surface = Image(client.width(), client.height());
    }
    std::fill(w->surface.pixels.begin(), w->surface.pixels.end(), sysColour(kColorBtnFace));
    for (const WindowId child : w->children) {
      const SimWindow* c = m.find(child);
      if (c->visible && c->className != kTooltipClass) children.push_back(child);
    }
  }
  sendMessage(topLevel, {kWmPaint, 0, 0});
  // The first control of the template is on top, so it paints last.
  for (auto it = children.rbegin(); it != children.rend(); ++it) paintControl(*it);
  std::scoped_lock lock(process_.machine.mutex);
  validate(topLevel);
}

void SimWindowPort::validate(WindowId topLevel) {
  MachineState& m = process_.machine;
  SimWindow* w = m.find(topLevel);
  if (w == nullptr) return;
  w->needsPaint = false;
  w->updateRect.reset();
  for (const WindowId child : w->children) m.find(child)->updateRect.reset();
}

void SimWindowPort::paintControl(WindowId control) {
  ControlProcedure* subclass = nullptr;
  WindowId parent = kNoWindow;
  std::wstring className;
  std::wstring text;
  Dword style = 0;
  Dword state = 0;
  Rect size;
  std::vector<std::wstring> items;
  int selection = -1;
  double fill = 0;
  {
    std::scoped_lock lock(process_.machine.mutex);
    MachineState& m = process_.machine;
    const SimWindow* w = m.find(control);
    subclass = w->subclass;
    parent = w->parent;
    className = w->className;
    text = w->title;
    style = w->style;
    size = m.clientRect(control);
    items = w->items;
    selection = w->selection;
    if (w->pressed || w->check != 0) state |= kOdsSelected;
    if (m.focus == control) state |= kOdsFocus;
    if (!w->enabled) state |= kOdsDisabled;
    if (w->rangeHigh > w->rangeLow) {
      fill = static_cast<double>(w->position - w->rangeLow) / (w->rangeHigh - w->rangeLow);
    }
  }
  std::intptr_t ignored = 0;
  if (subclass != nullptr && subclass->controlProc(control, {kWmPaint, 0, 0}, ignored)) return;
  SimCanvas canvas(process_.machine, control);
  const auto controlId = static_cast<std::uintptr_t>(getDlgCtrlId(control));
  const bool disabled = (state & kOdsDisabled) != 0;
  if (className == L"Button" && (style & kBsTypeMask) == kBsOwnerDraw) {
    DrawItem item{static_cast<int>(controlId), control, state, size, &canvas};
    callProcedure(parent, {kWmDrawItem, controlId, reinterpret_cast<std::intptr_t>(&item)});
    return;
  }
  const bool isStatic = className == L"Static";
  if (isStatic || className == L"Button") {
    ControlColours colours;
    const auto brush = callProcedure(
        parent, {isStatic ? kWmCtlColorStatic : kWmCtlColorBtn,
                 reinterpret_cast<std::uintptr_t>(&colours), static_cast<std::intptr_t>(control)});
    const StockBrush* stock = nullptr;
    {
      std::scoped_lock lock(process_.machine.mutex);
      MachineState& m = process_.machine;
      stock = m.gdi.find<StockBrush>(brush ? static_cast<GdiObject>(*brush) : 0);
    }
    const Colour back = colours.backColour.value_or(sysColour(kColorBtnFace));
    if (stock == nullptr) {
      if (isStatic) canvas.fillRect(size, back);
    } else if (stock->id == kWhiteBrush) {
      canvas.fillRect(size, rgb(255, 255, 255));
    }
    canvas.setTextColour(disabled ? sysColour(kColorBtnShadow)
                                  : colours.textColour.value_or(rgb(0, 0, 0)));
    if (isStatic) {
      Dword format = kDtWordBreak;
      if ((style & kSsTypeMask) == kSsCenter) format = kDtCenter | kDtWordBreak;
      if ((style & kSsTypeMask) == kSsRight) format = kDtRight | kDtWordBreak;
      if ((style & kSsCenterImage) != 0)
        format = (format & ~kDtWordBreak) | kDtSingleLine | kDtVCenter;
      canvas.drawText(text, size, format);
      return;
    }
    canvas.fillRect(size, (state & kOdsSelected) != 0 ? rgb(204, 228, 247) : rgb(225, 225, 225));
    canvas.draw3dRect(size, rgb(173, 173, 173), rgb(173, 173, 173));
    std::wstring plain;
    for (const wchar_t c : text) {
      if (c != L'&') plain += c;
    }
    canvas.drawText(plain, size, kDtCenter | kDtVCenter | kDtSingleLine);
    return;
  }
  if (className == L"ComboBox" || className == L"ListBox") {
    const bool combo = className == L"ComboBox";
    const Rect field{0, 0, size.right,
                     combo ? std::min(size.bottom, kComboFieldHeight) : size.bottom};
    canvas.fillRect(field, rgb(255, 255, 255));
    canvas.draw3dRect(field, rgb(122, 122, 122), rgb(122, 122, 122));
    canvas.setTextColour(rgb(0, 0, 0));
    const int lineHeight = combo ? field.height() : 16;
    for (std::size_t i = 0; i < items.size(); ++i) {
      if (combo && static_cast<int>(i) != selection) continue;
      const int top = combo ? 0 : static_cast<int>(i) * lineHeight;
      canvas.drawText(items[i], {kTextPadding, top, field.right - kTextPadding, top + lineHeight},
                      kDtSingleLine | kDtVCenter);
    }
    if (combo) {
      // The drop-down arrow: a small chevron at the right.
      const int cx = field.right - 10;
      const int cy = field.height() / 2 - 1;
      for (int i = 0; i < 4; ++i) {
        canvas.fillRect({cx - 4 + i, cy + i, cx - 3 + i, cy + i + 1}, rgb(96, 96, 96));
        canvas.fillRect({cx + 3 - i, cy + i, cx + 4 - i, cy + i + 1}, rgb(96, 96, 96));
      }
    }
    return;
  }
  if (className == L"msctls_progress32") {
    canvas.fillRect(size, rgb(230, 230, 230));
    canvas.fillRect({0, 0, static_cast<int>(size.right * fill), size.bottom}, rgb(6, 176, 37));
  }
}

// ---------------------------------------------------------------------------
// The mouse

void SimWindowPort::routeMouse(const PostedMessage& posted) {
  const WindowId top = posted.window;
  const Point client = screenToClient(top, posted.screen);
  std::vector<WindowId> under;
  std::optional<Point> dragFrom;
  {
    std::scoped_lock lock(process_.machine.mutex);
    MachineState& m = process_.machine;
    SimWindow* w = m.find(top);
    if (w == nullptr) return;
    m.cursor = posted.screen;
    dragFrom = w->dragFrom;
    for (const WindowId child : w->children) {
      const SimWindow* c = m.find(child);
      if (c->visible && c->className != kTooltipClass && c->rect.contains(client)) {
        under.push_back(child);
      }
    }
  }
  if (dragFrom) {
    if (posted.input == MouseInput::Up) {
      std::scoped_lock lock(process_.machine.mutex);
      MachineState& m = process_.machine;
      SimWindow* w = m.find(top);
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
    if (m.hover != target) {
      SimWindow* previous = m.find(m.hover);
      if (previous != nullptr && previous->trackLeave) {
        previous->trackLeave = false;
        left = m.hover;
      }
      m.hover = target;
    }
  }
  if (left != kNoWindow) sendMessage(left, {kWmMouseLeave, 0, 0});
  if (target == top && hit == kHtCaption) {
    if (posted.input == MouseInput::Down) {
      std::scoped_lock lock(process_.machine.mutex);
      process_.machine.find(top)->dragFrom = posted.screen;
    }
    return;
  }
  const Point local = screenToClient(target, posted.screen);
  const std::uint32_t id = posted.input == MouseInput::Down ? kWmLButtonDown
                           : posted.input == MouseInput::Up ? kWmLButtonUp
                                                            : kWmMouseMove;
  sendMessage(target, {id, posted.message.wParam, pointParam(local)});
}

// ---------------------------------------------------------------------------
// GDI and USER objects

GdiObject SimWindowPort::createFont(const FontSpec& fontSpec) {
  std::scoped_lock lock(process_.machine.mutex);
  if (process_.machine.takeFault("CreateFontIndirectW")) return kNoObject;
  return process_.machine.gdi.add(fontSpec);
}

bool SimWindowPort::deleteObject(GdiObject object) {
  std::scoped_lock lock(process_.machine.mutex);
  GdiTable& gdi = process_.machine.gdi;
  return gdi.remove<FontSpec>(object) || gdi.remove<Image>(object);
}

GdiObject SimWindowPort::getStockObject(int id) {
  std::scoped_lock lock(process_.machine.mutex);
  return process_.machine.gdi.stockBrush(id);
}

GdiObject SimWindowPort::loadIcon(std::uint32_t resourceId, int width, int height) {
  (void)height;
  std::scoped_lock lock(process_.machine.mutex);
  const FileResource* file = findFile(process_, L"ICON", resourceId);
  if (file == nullptr) return kNoObject;
  auto icon = readIcoFile(file->path, width > 0 ? width : kDefaultIconSize);
  return icon ? process_.machine.gdi.add(std::move(*icon)) : kNoObject;
}

GdiObject SimWindowPort::loadBitmap(std::uint32_t resourceId) {
  std::scoped_lock lock(process_.machine.mutex);
  const FileResource* file = findFile(process_, L"BITMAP", resourceId);
  if (file == nullptr) return kNoObject;
  auto image = readBmpFile(file->path);
  return image ? process_.machine.gdi.add(std::move(*image)) : kNoObject;
}

GdiObject SimWindowPort::loadCursor(std::uint32_t systemId) {
  std::scoped_lock lock(process_.machine.mutex);
  return process_.machine.gdi.cursor(systemId);
}

GdiObject SimWindowPort::setCursor(GdiObject cursor) {
  std::scoped_lock lock(process_.machine.mutex);
  return std::exchange(process_.machine.currentCursor, cursor);
}

bool SimWindowPort::destroyIcon(GdiObject icon) {
  std::scoped_lock lock(process_.machine.mutex);
  return process_.machine.gdi.remove<IconPixels>(icon);
}

std::optional<IconPixels> SimWindowPort::getIconPixels(GdiObject icon) {
  std::scoped_lock lock(process_.machine.mutex);
  const IconPixels* pixels = process_.machine.gdi.find<IconPixels>(icon);
  if (pixels == nullptr) return std::nullopt;
  return *pixels;
}

GdiObject SimWindowPort::createIcon(const IconPixels& pixels) {
  std::scoped_lock lock(process_.machine.mutex);
  return process_.machine.gdi.add(pixels);
}

std::optional<Point> SimWindowPort::getBitmapSize(GdiObject bitmap) {
  std::scoped_lock lock(process_.machine.mutex);
  const Image* image = process_.machine.gdi.find<Image>(bitmap);
  if (image == nullptr) return std::nullopt;
  return Point{image->width, image->height};
}

// ---------------------------------------------------------------------------
// Tooltips

WindowId SimWindowPort::createTooltip(WindowId owner) {
  std::scoped_lock lock(process_.machine.mutex);
  MachineState& m = process_.machine;
  SimWindow* ownerWindow = m.find(m.topLevelOf(owner));
  if (ownerWindow == nullptr) return kNoWindow;
  auto tip = std::make_unique<SimWindow>();
  tip->process = &process_;
  tip->program = process_.image.name;
  tip->thread = currentThread();
  tip->parent = ownerWindow->id;
  tip->className = kTooltipClass;
  tip->style = kWsChild;
  const WindowId id = m.createWindow(std::move(tip));
  ownerWindow->children.push_back(id);
  return id;
}

bool SimWindowPort::addTool(WindowId tooltip, const ToolInfo& tool) {
  std::scoped_lock lock(process_.machine.mutex);
  SimWindow* w = process_.machine.find(tooltip);
  if (w == nullptr || w->className != kTooltipClass) return false;
  w->tools.push_back(tool);
  return true;
}

bool SimWindowPort::updateToolText(WindowId tooltip, const ToolInfo& tool) {
  std::scoped_lock lock(process_.machine.mutex);
  SimWindow* w = process_.machine.find(tooltip);
  if (w == nullptr) return false;
  for (ToolInfo& t : w->tools) {
    if (t.window == tool.window && t.id == tool.id) t.text = tool.text;
  }
  return true;
}

bool SimWindowPort::activateTooltip(WindowId tooltip, bool active) {
  std::scoped_lock lock(process_.machine.mutex);
  SimWindow* w = process_.machine.find(tooltip);
  if (w == nullptr) return false;
  w->tooltipActive = active;
  if (!active) w->shownTip.clear();
  return true;
}

int SimWindowPort::setTooltipMaxWidth(WindowId tooltip, int pixels) {
  std::scoped_lock lock(process_.machine.mutex);
  SimWindow* w = process_.machine.find(tooltip);
  return w == nullptr ? -1 : std::exchange(w->tooltipMaxWidth, pixels);
}

int SimWindowPort::toolCount(WindowId tooltip) {
  std::scoped_lock lock(process_.machine.mutex);
  const SimWindow* w = process_.machine.find(tooltip);
  return w == nullptr ? 0 : static_cast<int>(w->tools.size());
}

void SimWindowPort::relayTooltipEvent(WindowId tooltip, WindowId from, const Message& message) {
  std::scoped_lock lock(process_.machine.mutex);
  SimWindow* w = process_.machine.find(tooltip);
  if (w == nullptr) return;
  // The tip shows while the mouse rests on a tool and goes on a click or
  // when the mouse leaves.
  if (message.id == kWmMouseMove && w->tooltipActive) {
    for (const ToolInfo& tool : w->tools) {
      if (tool.window == from) w->shownTip = tool.text;
    }
  } else if (message.id == kWmMouseLeave || message.id == kWmLButtonDown) {
    w->shownTip.clear();
  }
}

bool SimWindowPort::destroyWindow(WindowId window) {
  std::scoped_lock lock(process_.machine.mutex);
  if (process_.machine.find(window) == nullptr) return false;
  process_.machine.destroyWindow(window);
  return true;
}

// ---------------------------------------------------------------------------
// Popup menus

MenuId SimWindowPort::loadMenu(std::uint32_t resourceId) {
  std::scoped_lock lock(process_.machine.mutex);
  MachineState& m = process_.machine;
  const ResourceSet* resources = process_.image.resources;
  if (resources == nullptr) return kNoMenu;
  const MenuResource* found = nullptr;
  for (const LangId lang : process_.resourceLanguages(*currentThread())) {
    for (const auto& menu : resources->menus) {
      if (found == nullptr && menu.id == resourceId && menu.language == lang) found = &menu;
    }
  }
  if (found == nullptr) return kNoMenu;
  const std::function<MenuId(const std::vector<MenuItemResource>&)> build =
      [&](const std::vector<MenuItemResource>& items) {
        const MenuId id = m.nextMenuId++;
        std::vector<SimMenuItem> made;
        for (const auto& item : items) {
          const std::uintptr_t itemId = (item.flags & kMfPopup) != 0 ? build(item.items) : item.id;
          made.push_back({item.text, itemId, item.flags});
        }
        m.menus[id] = made;
        return id;
      };
  return build(found->items);
}

MenuId SimWindowPort::getSubMenu(MenuId menu, int position) {
  std::scoped_lock lock(process_.machine.mutex);
  const auto found = process_.machine.menus.find(menu);
  if (found == process_.machine.menus.end() || position < 0 ||
      static_cast<std::size_t>(position) >= found->second.size()) {
    return kNoMenu;
  }
  const SimMenuItem& item = found->second[static_cast<std::size_t>(position)];
  return (item.flags & kMfPopup) != 0 ? item.id : kNoMenu;
}

bool SimWindowPort::trackPopupMenu(MenuId menu, Point screen, WindowId owner) {
  std::unique_lock lock(process_.machine.mutex);
  MachineState& m = process_.machine;
  const auto found = m.menus.find(menu);
  if (found == m.menus.end() || m.openMenu) return false;
  m.openMenu = OpenMenu{owner, found->second, std::nullopt, false};
  std::string line = m.describe(process_) + " opens a menu at (" + std::to_string(screen.x) + ", " +
                     std::to_string(screen.y) + "):";
  for (const auto& item : found->second) {
    if ((item.flags & kMfSeparator) == 0) line += " [" + toUtf8(item.text) + "]";
  }
  m.record(line);
  m.changed();
  const std::function<bool()> done = [&m] { return m.openMenu->done; };
  m.block(lock, done);
  const std::optional<std::uintptr_t> choice = m.openMenu->choice;
  m.openMenu.reset();
  if (choice) m.post(owner, {kWmCommand, *choice, 0});
  return choice.has_value();
}

bool SimWindowPort::destroyMenu(MenuId menu) {
  std::scoped_lock lock(process_.machine.mutex);
  MachineState& m = process_.machine;
  const auto found = m.menus.find(menu);
  if (found == m.menus.end()) return false;
  const std::vector<SimMenuItem> items = found->second;
  m.menus.erase(found);
  for (const auto& item : items) {
    if ((item.flags & kMfPopup) != 0) m.menus.erase(item.id);
  }
  return true;
}

bool SimWindowPort::modifyMenu(MenuId menu, std::uintptr_t command, Dword flags,
                               std::uintptr_t newId, const std::wstring& text) {
  std::scoped_lock lock(process_.machine.mutex);
  MachineState& m = process_.machine;
  std::vector<SimMenuItem>* items = nullptr;
  if (const auto found = m.menus.find(menu); found != m.menus.end()) items = &found->second;
  for (auto& [id, window] : m.windows) {
    if (menu != kNoMenu && window->systemMenuId == menu) items = &window->systemMenu;
  }
  if (items == nullptr) return false;
  for (SimMenuItem& item : *items) {
    if (item.id == command && (item.flags & kMfSeparator) == 0) {
      item = {text, newId, flags};
      return true;
    }
  }
  return false;
}

Dword SimWindowPort::setLayeredWindowAttributes(WindowId window, Colour key, std::uint8_t alpha,
                                                Dword flags) {
  std::scoped_lock lock(process_.machine.mutex);
  MachineState& machine = process_.machine;
  // User32 has the function from Windows 2000 (5.0) on.
  if (machine.config.os.majorVersion < 5) return kErrorProcNotFound;
  if (const auto fault = machine.takeFault("SetLayeredWindowAttributes")) return *fault;
  SimWindow* w = machine.find(window);
  if (w == nullptr) return kErrorInvalidWindowHandle;
  if ((w->exStyle & kWsExLayered) == 0) return kErrorInvalidParameter;
  w->layered = SimWindow::Layered{key, alpha, flags};
  machine.invalidate(window);
  return kErrorSuccess;
}

}  // namespace plat::sim
