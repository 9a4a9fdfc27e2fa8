#include "platform/ui/dialog.h"

#include "platform/api/ports.h"

namespace plat::ui {

Dialog::Dialog(std::uint32_t templateId, WindowId parent)
    : templateId_(templateId), parent_(parent) {}

std::intptr_t Dialog::doModal() {
  const std::intptr_t result = ports().windows().dialogBox(templateId_, parent_, *this);
  window_ = kNoWindow;
  bound_.clear();
  return result;
}

void Dialog::endDialog(std::intptr_t result) {
  ports().windows().endDialog(window_, result);
}

void Dialog::setWindowText(const std::wstring& text) {
  ports().windows().setWindowText(window_, text);
}

void Dialog::onCommand(int id, unsigned notification) {
  if (notification != kBnClicked) {
    return;
  }
  if (id == kIdOk) {
    onOk();
  } else if (id == kIdCancel) {
    onCancel();
  }
}

bool Dialog::dialogProc(WindowId window, const Message& message, std::intptr_t& result) {
  switch (message.id) {
    case kWmInitDialog:
      window_ = window;
      result = onInitDialog() ? 1 : 0;
      return true;
    case kWmCommand:
      onCommand(lowWord(message.wParam), highWord(message.wParam));
      result = 0;
      return true;
    case kWmSysCommand:
      result = 0;
      return onSysCommand(message.wParam);
    default:
      if (const auto answer = dispatchUiMessage(message)) {
        result = *answer;
        return true;
      }
      return false;
  }
}

namespace {

Point pointOf(std::intptr_t lParam) {
  const auto bits = static_cast<std::uintptr_t>(lParam);
  return {static_cast<std::int16_t>(lowWord(bits)), static_cast<std::int16_t>(highWord(bits))};
}

}  // namespace

std::optional<std::intptr_t> Dialog::dispatchUiMessage(const Message& message) {
  switch (message.id) {
    case kWmPaint:
      return onPaint() ? std::optional<std::intptr_t>(0) : std::nullopt;
    case kWmTimer:
      onTimer(message.wParam);
      return 0;
    case kWmNcHitTest:
      return onHitTest(pointOf(message.lParam));
    case kWmMouseMove:
      return onMouseMove(pointOf(message.lParam), message.wParam) ? std::optional<std::intptr_t>(0)
                                                                  : std::nullopt;
    case kWmLButtonDown:
      return onLButtonDown(pointOf(message.lParam), message.wParam)
                 ? std::optional<std::intptr_t>(0)
                 : std::nullopt;
    case kWmQueryDragIcon:
      return static_cast<std::intptr_t>(onQueryDragIcon());
    case kWmDrawItem: {
      const auto& item =
          *messagePointer<const DrawItem>(static_cast<std::uintptr_t>(message.lParam));
      Control* control = bound(item.controlId);
      if (control == nullptr) return std::nullopt;
      control->drawItem(item);
      return 1;
    }
    case kWmCtlColorStatic:
    case kWmCtlColorBtn: {
      auto& colours = *messagePointer<ControlColours>(message.wParam);
      const auto control = static_cast<WindowId>(message.lParam);
      const int kind = message.id == kWmCtlColorStatic ? kCtlColorStatic : kCtlColorBtn;
      Control* reflected = bound(ports().windows().getDlgCtrlId(control));
      std::optional<GdiObject> brush;
      if (reflected != nullptr) brush = reflected->reflectCtlColour(colours, kind);
      const auto answer = onCtlColour(colours, control, kind, brush);
      if (!answer) return std::nullopt;
      return static_cast<std::intptr_t>(*answer);
    }
    default:
      if (message.id >= kWmUser) return onUserMessage(message);
      return std::nullopt;
  }
}

Control* Dialog::bound(int controlId) const {
  for (const auto& [id, control] : bound_) {
    if (id == controlId) return control;
  }
  return nullptr;
}

WindowId Dialog::item(int controlId) const {
  return ports().windows().getDlgItem(window_, controlId);
}

void Dialog::bind(int controlId, Control& control) {
  control.attach(item(controlId));
  bound_.emplace_back(controlId, &control);
}

void Dialog::setItemText(int controlId, const std::wstring& text) {
  ports().windows().setWindowText(item(controlId), text);
}

void Dialog::showItem(int controlId, bool visible) {
  ports().windows().showWindow(item(controlId), visible ? kSwShow : kSwHide);
}

Rect Dialog::clientRect() const {
  return ports().windows().getClientRect(window_);
}

void Dialog::setTimer(std::uintptr_t id, Dword milliseconds) {
  ports().windows().setTimer(window_, id, milliseconds);
}

void Dialog::killTimer(std::uintptr_t id) {
  ports().windows().killTimer(window_, id);
}

bool Dialog::makeTranslucent(std::uint8_t alpha) {
  WindowPort& windows = ports().windows();
  const Dword exStyle = windows.getWindowLong(window_, kGwlExStyle);
  windows.setWindowLong(window_, kGwlExStyle, exStyle | kWsExLayered);
  if (windows.setLayeredWindowAttributes(window_, 0, alpha, kLwaAlpha) == kErrorSuccess) {
    return true;
  }
  windows.setWindowLong(window_, kGwlExStyle, exStyle);
  return false;
}

void Dialog::postMessage(const Message& message) {
  ports().windows().postMessage(window_, message);
}

int Dialog::messageBox(const std::wstring& text, const std::wstring& caption, Dword type) {
  return ports().windows().messageBox(window_, text, caption, type);
}

void Dialog::redraw(Dword flags) {
  ports().windows().redrawWindow(window_, flags);
}

}  // namespace plat::ui
