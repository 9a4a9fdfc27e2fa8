// The window port of a simulated process: top-level windows and controls,
// modal dialogs from resource templates, message boxes, geometry and the
// window facts a program asks for.
#include "platform/sim/ports/sim_window_port.h"

#include <algorithm>

#include "platform/sim/sim_process.h"
#include "platform/sim/text.h"

namespace plat::sim {

namespace {

constexpr Dword kWsCaption = 0x00C00000;
constexpr Dword kWsBorder = 0x00800000;
constexpr Dword kWsDlgFrame = 0x00400000;
constexpr Dword kDsModalFrame = 0x0080;
constexpr int kCaptionHeight = 23;
constexpr int kDialogFrame = 3;
constexpr int kScreenWidth = 1920;
constexpr int kScreenHeight = 1080;
constexpr int kPointsPerInch = 72;
constexpr int kPixelsPerInch = 96;
constexpr std::uintptr_t kScMove = 0xF010;
constexpr Dword kInitCommonControlsExSize = 8;

struct MessageBoxButton {
  int id;
  const wchar_t* text;
};

std::vector<MessageBoxButton> messageBoxButtons(Dword type) {
  switch (type & kMbTypeMask) {
    case kMbOkCancel:
      return {{kIdOk, L"OK"}, {kIdCancel, L"Cancel"}};
    case kMbAbortRetryIgnore:
      return {{kIdAbort, L"&Abort"}, {kIdRetry, L"&Retry"}, {kIdIgnore, L"&Ignore"}};
    case kMbYesNoCancel:
      return {{kIdYes, L"&Yes"}, {kIdNo, L"&No"}, {kIdCancel, L"Cancel"}};
    case kMbYesNo:
      return {{kIdYes, L"&Yes"}, {kIdNo, L"&No"}};
    case kMbRetryCancel:
      return {{kIdRetry, L"&Retry"}, {kIdCancel, L"Cancel"}};
    default:
      return {{kIdOk, L"OK"}};
  }
}

std::string buttonName(const std::wstring& text) {
  std::wstring plain;
  for (const wchar_t c : text) {
    if (c != L'&') plain += c;
  }
  return toUtf8(plain);
}

// Dialog base units of the template font at 96 DPI, as Windows measures
// them for "MS Shell Dlg" (Tahoma): 6 × 13 at 8 points, 7 × 14 at 9 points.
// The height is Tahoma's line height, its ascent and descent (2049 and 423
// of 2048 units) each rounded at 11 or 12 pixels to the em.
Point baseUnits(int points) {
  if (points <= 8) return {6, 13};
  if (points == 9) return {7, 14};
  return {(points * 7 + 4) / 9, (points * 15 + 4) / 9};
}

int mulDiv(int value, int numerator, int denominator) {
  return (value * numerator + denominator / 2) / denominator;
}

Rect dialogUnitsToPixels(Point base, int x, int y, int width, int height) {
  const int left = mulDiv(x, base.x, 4);
  const int top = mulDiv(y, base.y, 8);
  return {left, top, left + mulDiv(width, base.x, 4), top + mulDiv(height, base.y, 8)};
}

// The widths of a top-level window's frame around its client area.
Rect frameOf(Dword style, Dword exStyle) {
  int border = 0;
  if ((exStyle & kWsExStaticEdge) != 0 || (style & kWsBorder) != 0) border = 1;
  if ((style & (kDsModalFrame | kWsDlgFrame)) != 0) border = kDialogFrame;
  const int caption = (style & kWsCaption) == kWsCaption ? kCaptionHeight : 0;
  return {border, border + caption, border, border};
}

WindowId addControl(MachineState& machine, SimWindow& parent, const std::wstring& className,
                    const std::wstring& text, int controlId, Dword style, const Rect& rect = {}) {
  auto control = std::make_unique<SimWindow>();
  control->process = parent.process;
  control->program = parent.program;
  control->thread = parent.thread;
  control->parent = parent.id;
  control->controlId = controlId;
  control->className = className;
  control->title = text;
  control->style = style | kWsChild;
  control->visible = (style & kWsVisible) != 0;
  control->enabled = (style & kWsDisabled) == 0;
  control->rect = rect;
  const WindowId id = machine.windows.add(std::move(control));
  parent.children.push_back(id);
  return id;
}

const DialogResource* findDialog(const SimProcess& process, std::uint32_t templateId) {
  const ResourceSet* resources = process.image.resources;
  if (resources == nullptr) return nullptr;
  for (const LangId lang : process.resourceLanguages(*currentThread())) {
    for (const auto& d : resources->dialogs) {
      if (d.id == templateId && d.language == lang) return &d;
    }
  }
  for (const auto& d : resources->dialogs) {
    if (d.id == templateId) return &d;
  }
  return nullptr;
}

}  // namespace

bool SimWindowPort::initCommonControlsEx(Dword size, Dword classes) {
  (void)classes;
  std::scoped_lock lock(process_.machine.mutex);
  if (process_.machine.takeFault("InitCommonControlsEx")) return false;
  return size == kInitCommonControlsExSize;
}

bool SimWindowPort::enumWindows(const std::function<bool(WindowId)>& visit) {
  std::vector<WindowId> snapshot;
  {
    std::scoped_lock lock(process_.machine.mutex);
    if (process_.machine.takeFault("EnumWindows")) return false;
    snapshot = process_.machine.windows.zOrder();
  }
  for (const WindowId id : snapshot) {
    if (!visit(id)) break;
  }
  return true;
}

std::wstring SimWindowPort::getWindowText(WindowId window, int bufferChars) {
  std::scoped_lock lock(process_.machine.mutex);
  const SimWindow* w = process_.machine.windows.find(window);
  if (w == nullptr || bufferChars <= 0) return {};
  return w->title.substr(0, static_cast<std::size_t>(bufferChars - 1));
}

bool SimWindowPort::setWindowText(WindowId window, const std::wstring& text) {
  std::scoped_lock lock(process_.machine.mutex);
  SimWindow* w = process_.machine.windows.find(window);
  if (w == nullptr) return false;
  w->title = text;
  process_.machine.invalidate(window);
  return true;
}

bool SimWindowPort::isWindow(WindowId window) {
  std::scoped_lock lock(process_.machine.mutex);
  return process_.machine.windows.find(window) != nullptr;
}

bool SimWindowPort::showWindow(WindowId window, int command) {
  std::scoped_lock lock(process_.machine.mutex);
  MachineState& machine = process_.machine;
  SimWindow* w = machine.windows.find(window);
  if (w == nullptr) return false;
  const bool wasVisible = w->visible;
  w->visible = command != kSwHide;
  w->minimized = command == kSwShowMinimized;
  machine.invalidate(window);
  if (w->parent == kNoWindow) {
    const char* verb = command == kSwHide            ? " hides window \""
                       : command == kSwShowMinimized ? " minimises window \""
                       : command == kSwShowNormal    ? " restores window \""
                                                     : " shows window \"";
    machine.record(machine.describe(process_) + verb + toUtf8(w->title) + "\"");
  }
  return wasVisible;
}

bool SimWindowPort::setForegroundWindow(WindowId window) {
  std::scoped_lock lock(process_.machine.mutex);
  MachineState& machine = process_.machine;
  SimWindow* w = machine.windows.find(window);
  if (w == nullptr || w->parent != kNoWindow) return false;
  machine.windows.bringToTop(window);
  machine.record(machine.describe(process_) + " brings window \"" + toUtf8(w->title) +
                 "\" to the front");
  return true;
}

bool SimWindowPort::setWindowPos(WindowId window, const Rect& rect, Dword flags) {
  std::scoped_lock lock(process_.machine.mutex);
  MachineState& machine = process_.machine;
  SimWindow* w = machine.windows.find(window);
  if (w == nullptr) return false;
  Rect placed = w->rect;
  if ((flags & kSwpNoMove) == 0)
    placed = placed.offset(rect.left - placed.left, rect.top - placed.top);
  if ((flags & kSwpNoSize) == 0) {
    placed.right = placed.left + rect.width();
    placed.bottom = placed.top + rect.height();
  }
  // The frame follows the window's style only when told that it changed.
  const bool frameChanged = (flags & kSwpFrameChanged) != 0;
  if (frameChanged && (w->style & kWsChild) == 0) w->frame = frameOf(w->style, w->exStyle);
  if (frameChanged || placed != w->rect) {
    w->rect = placed;
    machine.invalidate(window);
  }
  return true;
}

std::intptr_t SimWindowPort::dialogBox(std::uint32_t templateId, WindowId parent,
                                       DialogProcedure& procedure) {
  std::unique_lock lock(process_.machine.mutex);
  MachineState& machine = process_.machine;
  const DialogResource* resource = findDialog(process_, templateId);
  if (resource == nullptr || machine.takeFault("DialogBoxParamW")) return -1;

  auto dialog = std::make_unique<SimWindow>();
  dialog->process = &process_;
  dialog->program = process_.image.name;
  dialog->thread = currentThread();
  dialog->parent = kNoWindow;
  dialog->className = L"#32770";
  dialog->title = resource->caption;
  dialog->style = resource->style & ~kWsChild;
  dialog->exStyle = resource->exStyle;
  dialog->procedure = &procedure;
  SimWindow& self = *dialog;
  const WindowId id = machine.windows.add(std::move(dialog));
  if ((self.style & kWsSysMenu) != 0) {
    self.systemMenu = {{L"&Move", kScMove, 0}, {L"&Close", kScClose, 0}};
  }
  const Point base = baseUnits(resource->fontPoints);
  self.dialogFont.height = -mulDiv(resource->fontPoints, kPixelsPerInch, kPointsPerInch);
  self.dialogFont.face = resource->fontFace;
  self.frame = frameOf(self.style, self.exStyle);
  const Rect client = dialogUnitsToPixels(base, 0, 0, resource->width, resource->height);
  self.rect = {0, 0, client.right + self.frame.left + self.frame.right,
               client.bottom + self.frame.top + self.frame.bottom};
  // The default button is IDOK unless the template marks one.
  self.defaultId = kIdOk;
  for (const auto& control : resource->controls) {
    const WindowId child =
        addControl(machine, self, control.className, control.text, control.id, control.style,
                   dialogUnitsToPixels(base, control.x, control.y, control.width, control.height));
    if (control.className == L"Button" && (control.style & kBsTypeMask) == kBsDefPushButton) {
      self.defaultId = control.id;
    }
    // A static icon control shows the icon its text names.
    if (control.className == L"Static" && (control.style & kSsTypeMask) == 3U) {
      lock.unlock();
      const GdiObject icon = loadIcon(
          static_cast<std::uint32_t>(std::wcstoul(control.text.c_str(), nullptr, 10)), 0, 0);
      lock.lock();
      machine.windows.find(child)->bigIcon = icon;
    }
  }

  lock.unlock();
  std::intptr_t initResult = 0;
  procedure.dialogProc(id, {kWmInitDialog, 0, 0}, initResult);
  lock.lock();

  // DialogBox shows the dialog whether or not its template is visible, and
  // the framework centres it on its owner or the screen.
  self.visible = true;
  machine.invalidate(id);
  const SimWindow* centreOn = machine.windows.find(parent);
  const Rect area = centreOn != nullptr ? centreOn->rect : Rect{0, 0, kScreenWidth, kScreenHeight};
  self.rect = self.rect.offset(area.left + (area.width() - self.rect.width()) / 2 - self.rect.left,
                               area.top + (area.height() - self.rect.height()) / 2 - self.rect.top);
  machine.windows.bringToTop(id);
  machine.record(machine.describe(process_) + " shows window \"" + toUtf8(self.title) + "\"");
  SimWindow* owner = machine.windows.find(parent);
  if (owner != nullptr) owner->enabled = false;

  runModalLoop(lock, self);

  const std::intptr_t result = self.result;
  machine.record(machine.describe(process_) + " closes window \"" + toUtf8(self.title) + "\"");
  machine.destroyWindow(id);
  if ((owner = machine.windows.find(parent)) != nullptr) {
    owner->enabled = true;
    machine.windows.bringToTop(parent);
  }
  return result;
}

bool SimWindowPort::endDialog(WindowId dialog, std::intptr_t result) {
  std::scoped_lock lock(process_.machine.mutex);
  SimWindow* w = process_.machine.windows.find(dialog);
  if (w == nullptr || w->procedure == nullptr) return false;
  w->result = result;
  w->ended = true;
  process_.machine.changed();
  return true;
}

WindowId SimWindowPort::getNextDlgTabItem(WindowId dialog, WindowId control, bool previous) {
  std::scoped_lock lock(process_.machine.mutex);
  MachineState& m = process_.machine;
  const SimWindow* d = m.windows.find(dialog);
  if (d == nullptr) return kNoWindow;
  const std::vector<WindowId>& order = d->children;
  const auto n = static_cast<std::ptrdiff_t>(order.size());
  const auto found = std::find(order.begin(), order.end(), control);
  // From the control on, round the dialog, back to the control itself;
  // without one, from the first (or last) control.
  std::ptrdiff_t at = found == order.end() ? (previous ? 0 : n - 1) : found - order.begin();
  for (std::ptrdiff_t step = 0; step < n; ++step) {
    at = (at + (previous ? n - 1 : 1)) % n;
    const SimWindow* c = m.windows.find(order[static_cast<std::size_t>(at)]);
    if ((c->style & kWsTabStop) != 0 && c->visible && c->enabled) return c->id;
  }
  return kNoWindow;
}

WindowId SimWindowPort::getDlgItem(WindowId dialog, int controlId) {
  std::scoped_lock lock(process_.machine.mutex);
  const SimWindow* w = process_.machine.windows.find(dialog);
  if (w == nullptr) return kNoWindow;
  for (const WindowId child : w->children) {
    if (process_.machine.windows.find(child)->controlId == controlId) return child;
  }
  return kNoWindow;
}

bool SimWindowPort::postMessage(WindowId window, const Message& message) {
  std::scoped_lock lock(process_.machine.mutex);
  if (process_.machine.windows.find(window) == nullptr) return false;
  process_.machine.post(window, message);
  return true;
}

int SimWindowPort::messageBox(WindowId owner, const std::wstring& text, const std::wstring& caption,
                              Dword type) {
  std::unique_lock lock(process_.machine.mutex);
  MachineState& machine = process_.machine;
  auto box = std::make_unique<SimWindow>();
  box->process = &process_;
  box->program = process_.image.name;
  box->thread = currentThread();
  box->className = L"#32770";
  box->title = caption.empty() ? std::wstring(L"Error") : caption;
  box->isMessageBox = true;
  box->messageText = text;
  box->messageType = type;
  box->visible = true;
  SimWindow& self = *box;
  const WindowId id = machine.windows.add(std::move(box));
  std::string line = machine.describe(process_) + " shows message box \"" + toUtf8(self.title) +
                     "\": \"" + toUtf8(text) + "\"";
  for (const auto& button : messageBoxButtons(type)) {
    addControl(machine, self, L"Button", button.text, button.id, kWsVisible);
    line += " [" + buttonName(button.text) + "]";
  }
  machine.windows.bringToTop(id);
  machine.record(line);
  SimWindow* ownerWindow = machine.windows.find(owner);
  if (ownerWindow != nullptr) ownerWindow->enabled = false;

  WindowInfo info;
  info.id = id;
  info.process = process_.id;
  info.program = self.program;
  info.title = self.title;
  info.isMessageBox = true;
  info.messageText = text;
  info.messageType = type;
  info.visible = true;
  for (const auto& rule : machine.messageBoxRules) {
    if (const auto answer = rule(info)) {
      for (const auto& button : messageBoxButtons(type)) {
        if (button.id == *answer) {
          machine.record("user clicks \"" + buttonName(button.text) + "\" in \"" +
                         toUtf8(self.title) + "\"");
        }
      }
      self.result = *answer;
      self.ended = true;
      break;
    }
  }

  runModalLoop(lock, self);

  const auto result = static_cast<int>(self.result);
  machine.destroyWindow(id);
  if ((ownerWindow = machine.windows.find(owner)) != nullptr) {
    ownerWindow->enabled = true;
    machine.windows.bringToTop(owner);
  }
  return result;
}

Rect SimWindowPort::getWindowRect(WindowId window) {
  std::scoped_lock lock(process_.machine.mutex);
  MachineState& m = process_.machine;
  const SimWindow* w = m.windows.find(window);
  if (w == nullptr) return {};
  if ((w->style & kWsChild) == 0) return w->rect;
  const SimWindow* top = m.windows.find(m.windows.topLevelOf(window));
  const Point offset = m.windows.offsetInTopLevel(window);
  const Point origin{top->rect.left + top->frame.left, top->rect.top + top->frame.top};
  return Rect{0, 0, w->rect.width(), w->rect.height()}.offset(origin.x + offset.x,
                                                              origin.y + offset.y);
}

Rect SimWindowPort::getClientRect(WindowId window) {
  std::scoped_lock lock(process_.machine.mutex);
  return process_.machine.windows.clientRect(window);
}

Point SimWindowPort::clientToScreen(WindowId window, Point point) {
  std::scoped_lock lock(process_.machine.mutex);
  MachineState& m = process_.machine;
  const SimWindow* top = m.windows.find(m.windows.topLevelOf(window));
  if (top == nullptr) return point;
  const Point offset = m.windows.offsetInTopLevel(window);
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
  SimWindow* w = process_.machine.windows.find(window);
  if (w == nullptr) return false;
  w->rect = rect;
  process_.machine.invalidate(window);
  return true;
}

Dword SimWindowPort::getWindowLong(WindowId window, int index) {
  std::scoped_lock lock(process_.machine.mutex);
  const SimWindow* w = process_.machine.windows.find(window);
  if (w == nullptr) return 0;
  return index == kGwlExStyle ? w->exStyle : index == kGwlStyle ? w->style : 0;
}

Dword SimWindowPort::setWindowLong(WindowId window, int index, Dword value) {
  std::scoped_lock lock(process_.machine.mutex);
  SimWindow* w = process_.machine.windows.find(window);
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
  const SimWindow* w = process_.machine.windows.find(window);
  return w != nullptr && w->visible;
}

bool SimWindowPort::isIconic(WindowId window) {
  std::scoped_lock lock(process_.machine.mutex);
  const SimWindow* w = process_.machine.windows.find(window);
  return w != nullptr && w->minimized;
}

bool SimWindowPort::isWindowEnabled(WindowId window) {
  std::scoped_lock lock(process_.machine.mutex);
  const SimWindow* w = process_.machine.windows.find(window);
  return w != nullptr && w->enabled;
}

bool SimWindowPort::enableWindow(WindowId window, bool enable) {
  {
    std::scoped_lock lock(process_.machine.mutex);
    const SimWindow* w = process_.machine.windows.find(window);
    if (w == nullptr) return false;
    if (w->enabled == enable) return !enable;
  }
  // A window being disabled first cancels what the mouse was doing with it,
  // and loses the focus.
  if (!enable) sendMessage(window, {kWmCancelMode, 0, 0});
  {
    std::scoped_lock lock(process_.machine.mutex);
    MachineState& m = process_.machine;
    SimWindow* w = m.windows.find(window);
    if (w == nullptr) return enable;
    w->enabled = enable;
    w->style = enable ? w->style & ~kWsDisabled : w->style | kWsDisabled;
    if (!enable && m.windows.focus == window) m.windows.focus = kNoWindow;
    m.invalidate(window);
  }
  sendMessage(window, {kWmEnable, enable ? 1U : 0U, 0});
  return enable;
}

WindowId SimWindowPort::getParent(WindowId window) {
  std::scoped_lock lock(process_.machine.mutex);
  const SimWindow* w = process_.machine.windows.find(window);
  return w == nullptr ? kNoWindow : w->parent;
}

int SimWindowPort::getDlgCtrlId(WindowId window) {
  std::scoped_lock lock(process_.machine.mutex);
  const SimWindow* w = process_.machine.windows.find(window);
  return w == nullptr ? 0 : w->controlId;
}

WindowId SimWindowPort::windowFromPoint(Point screen) {
  std::vector<WindowId> order;
  {
    std::scoped_lock lock(process_.machine.mutex);
    order = process_.machine.windows.zOrder();
  }
  for (const WindowId top : order) {
    if (!getWindowRect(top).contains(screen) || !isWindowVisible(top)) continue;
    const Point client = screenToClient(top, screen);
    std::scoped_lock lock(process_.machine.mutex);
    for (const WindowId child : process_.machine.windows.find(top)->children) {
      const SimWindow* c = process_.machine.windows.find(child);
      if (c->visible && c->className != kTooltipClass && c->rect.contains(client)) return child;
    }
    return top;
  }
  return kNoWindow;
}

WindowId SimWindowPort::getFocus() {
  std::scoped_lock lock(process_.machine.mutex);
  return process_.machine.windows.focus;
}

WindowId SimWindowPort::setFocus(WindowId window) {
  std::scoped_lock lock(process_.machine.mutex);
  const WindowId previous = process_.machine.windows.focus;
  process_.machine.windows.focus = window;
  process_.machine.invalidate(window);
  return previous;
}

Point SimWindowPort::getCursorPos() {
  std::scoped_lock lock(process_.machine.mutex);
  return process_.machine.windows.cursor;
}

bool SimWindowPort::destroyWindow(WindowId window) {
  std::scoped_lock lock(process_.machine.mutex);
  if (process_.machine.windows.find(window) == nullptr) return false;
  process_.machine.destroyWindow(window);
  return true;
}

Dword SimWindowPort::setLayeredWindowAttributes(WindowId window, Colour key, std::uint8_t alpha,
                                                Dword flags) {
  std::scoped_lock lock(process_.machine.mutex);
  MachineState& machine = process_.machine;
  // User32 has the function from Windows 2000 (5.0) on.
  if (machine.config.os.majorVersion < 5) return kErrorProcNotFound;
  if (const auto fault = machine.takeFault("SetLayeredWindowAttributes")) return *fault;
  SimWindow* w = machine.windows.find(window);
  if (w == nullptr) return kErrorInvalidWindowHandle;
  if ((w->exStyle & kWsExLayered) == 0) return kErrorInvalidParameter;
  w->layered = SimWindow::Layered{key, alpha, flags};
  machine.invalidate(window);
  return kErrorSuccess;
}

}  // namespace plat::sim
