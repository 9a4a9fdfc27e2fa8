#include "platform/ui/control.h"

namespace plat::ui {

namespace {

constexpr int kTitleChars = 512;

WindowPort& windows() {
  return ports().windows();
}

}  // namespace

Control::~Control() {
  if (subclassed_ && windows().isWindow(window_)) {
    windows().subclassWindow(window_, nullptr);
  }
}

void Control::attach(WindowId window) {
  window_ = window;
  subclassed_ = subclasses() && windows().subclassWindow(window, this);
  onAttached();
}

int Control::id() const {
  return windows().getDlgCtrlId(window_);
}

void Control::setText(const std::wstring& text) {
  send(kWmSetText, 0, reinterpret_cast<std::intptr_t>(text.c_str()));
}

std::wstring Control::text() const {
  return windows().getWindowText(window_, kTitleChars);
}

void Control::show(bool visible) {
  windows().showWindow(window_, visible ? kSwShow : kSwHide);
}

bool Control::isVisible() const {
  return windows().isWindowVisible(window_);
}

Rect Control::rectInParent() const {
  const Rect screen = windows().getWindowRect(window_);
  const WindowId parent = windows().getParent(window_);
  const Point topLeft = windows().screenToClient(parent, {screen.left, screen.top});
  return {topLeft.x, topLeft.y, topLeft.x + screen.width(), topLeft.y + screen.height()};
}

void Control::moveTo(const Rect& rect) {
  windows().moveWindow(window_, rect, true);
}

void Control::redraw(Dword flags) {
  windows().redrawWindow(window_, flags);
}

std::intptr_t Control::send(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
  return windows().sendMessage(window_, {message, wParam, lParam});
}

std::intptr_t Control::defaultHandling(const Message& message) {
  return windows().defSubclassProc(window_, message);
}

bool Control::controlProc(WindowId control, const Message& message, std::intptr_t& result) {
  (void)control;
  return onMessage(message, result);
}

Tooltip::~Tooltip() {
  if (window_ != kNoWindow) windows().destroyWindow(window_);
}

bool Tooltip::create(WindowId owner) {
  window_ = windows().createTooltip(owner);
  return window_ != kNoWindow;
}

void Tooltip::addTool(const ToolInfo& tool) {
  windows().addTool(window_, tool);
}

void Tooltip::updateText(const ToolInfo& tool) {
  windows().updateToolText(window_, tool);
}

void Tooltip::activate(bool active) {
  windows().activateTooltip(window_, active);
}

void Tooltip::setMaxWidth(int pixels) {
  windows().setTooltipMaxWidth(window_, pixels);
}

int Tooltip::toolCount() const {
  return windows().toolCount(window_);
}

void Tooltip::relay(WindowId from, const Message& message) {
  windows().relayTooltipEvent(window_, from, message);
}

}  // namespace plat::ui
