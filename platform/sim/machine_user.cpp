// The scripted user's mouse, selections and menus, and what the user sees
// of controls and pictures of windows.
#include <algorithm>

#include "platform/sim/machine.h"
#include "platform/sim/machine_state.h"
#include "platform/sim/text.h"
#include "platform/sim/text_render.h"

namespace plat::sim {

namespace {

constexpr Colour kFrameShadow = rgb(160, 160, 160);
constexpr Colour kFrameLight = rgb(255, 255, 255);
constexpr Colour kCaptionColour = rgb(255, 255, 255);
constexpr Colour kCaptionText = rgb(0, 0, 0);
constexpr Colour kOuterFrame = rgb(100, 100, 100);

// The point of a window's client area in screen coordinates.
std::optional<Point> toScreen(const MachineState& state, WindowId window, Point client) {
  const SimWindow* w = state.windows.find(window);
  if (w == nullptr) return std::nullopt;
  return Point{w->rect.left + w->frame.left + client.x, w->rect.top + w->frame.top + client.y};
}

}  // namespace

bool Machine::moveMouse(WindowId window, Point client) {
  std::scoped_lock lock(state_->mutex);
  SimWindow* w = state_->windows.find(window);
  const auto screen = toScreen(*state_, window, client);
  if (w == nullptr || !screen || !w->enabled || w->thread == nullptr) return false;
  w->thread->queue.push_back({window, {kWmMouseMove, 0, 0}, MouseInput::Move, *screen});
  state_->changed();
  return true;
}

bool Machine::clickAt(WindowId window, Point client) {
  return drag(window, client, client);
}

bool Machine::drag(WindowId window, Point from, Point to) {
  std::scoped_lock lock(state_->mutex);
  SimWindow* w = state_->windows.find(window);
  const auto start = toScreen(*state_, window, from);
  const auto end = toScreen(*state_, window, to);
  if (w == nullptr || !start || !w->enabled || w->thread == nullptr) return false;
  auto& queue = w->thread->queue;
  queue.push_back({window, {kWmMouseMove, 0, 0}, MouseInput::Move, *start});
  queue.push_back({window, {kWmLButtonDown, kMkLButton, 0}, MouseInput::Down, *start});
  if (from != to) queue.push_back({window, {kWmMouseMove, kMkLButton, 0}, MouseInput::Move, *end});
  queue.push_back({window, {kWmLButtonUp, 0, 0}, MouseInput::Up, *end});
  state_->changed();
  return true;
}

bool Machine::select(WindowId window, int controlId, int index) {
  std::scoped_lock lock(state_->mutex);
  SimWindow* w = state_->windows.find(window);
  if (w == nullptr || !w->enabled || w->thread == nullptr) return false;
  for (const WindowId child : w->children) {
    SimWindow* c = state_->windows.find(child);
    if (c->controlId != controlId || c->className != L"ComboBox") continue;
    if (!c->visible || !c->enabled || index < 0 || index >= static_cast<int>(c->items.size())) {
      return false;
    }
    c->selection = index;
    state_->record("user selects \"" + toUtf8(c->items[static_cast<std::size_t>(index)]) +
                   "\" in \"" + toUtf8(w->title) + "\"");
    state_->post(window, {kWmCommand, makeWParam(static_cast<unsigned>(controlId), kCbnSelChange),
                          static_cast<std::intptr_t>(child)});
    state_->invalidate(window);
    return true;
  }
  return false;
}

std::vector<ButtonInfo> Machine::openMenu() const {
  std::scoped_lock lock(state_->mutex);
  std::vector<ButtonInfo> out;
  if (!state_->windows.openMenu) return out;
  for (const auto& item : state_->windows.openMenu->items) {
    if ((item.flags & kMfSeparator) == 0) out.push_back({static_cast<int>(item.id), item.text});
  }
  return out;
}

bool Machine::chooseMenuItem(std::uintptr_t command) {
  std::scoped_lock lock(state_->mutex);
  if (!state_->windows.openMenu || state_->windows.openMenu->done) return false;
  for (const auto& item : state_->windows.openMenu->items) {
    if (item.id == command && (item.flags & (kMfSeparator | kMfPopup)) == 0) {
      state_->record("user chooses \"" + toUtf8(item.text) + "\" in the menu");
      state_->windows.openMenu->choice = command;
      state_->windows.openMenu->done = true;
      state_->changed();
      return true;
    }
  }
  return false;
}

bool Machine::dismissMenu() {
  std::scoped_lock lock(state_->mutex);
  if (!state_->windows.openMenu || state_->windows.openMenu->done) return false;
  state_->record("user closes the menu");
  state_->windows.openMenu->done = true;
  state_->changed();
  return true;
}

std::optional<ControlInfo> Machine::control(WindowId window, int controlId) const {
  std::scoped_lock lock(state_->mutex);
  const SimWindow* w = state_->windows.find(window);
  if (w == nullptr) return std::nullopt;
  for (const WindowId child : w->children) {
    const SimWindow* c = state_->windows.find(child);
    if (c->controlId != controlId || c->className == kTooltipClass) continue;
    ControlInfo info;
    info.id = controlId;
    info.className = c->className;
    info.text = c->title;
    info.rect = c->rect;
    info.style = c->style;
    info.visible = c->visible;
    info.enabled = c->enabled;
    if (const auto* font = state_->gdi.find<FontSpec>(c->font)) info.font = *font;
    info.items = c->items;
    info.selection = c->selection;
    info.position = c->position;
    info.rangeLow = c->rangeLow;
    info.rangeHigh = c->rangeHigh;
    return info;
  }
  return std::nullopt;
}

std::optional<std::wstring> Machine::readControl(WindowId window, int controlId) {
  std::scoped_lock lock(state_->mutex);
  const SimWindow* w = state_->windows.find(window);
  if (w == nullptr) return std::nullopt;
  for (const WindowId child : w->children) {
    const SimWindow* c = state_->windows.find(child);
    if (c->controlId != controlId || c->className == kTooltipClass) continue;
    state_->record("user reads " + std::to_string(controlId) + " in \"" + toUtf8(w->title) +
                   "\": \"" + toUtf8(c->title) + "\"");
    return c->title;
  }
  return std::nullopt;
}

std::optional<Rect> Machine::windowRect(WindowId window) const {
  std::scoped_lock lock(state_->mutex);
  const SimWindow* w = state_->windows.find(window);
  if (w == nullptr) return std::nullopt;
  return w->rect;
}

std::optional<Rect> Machine::updateRect(WindowId window) const {
  std::scoped_lock lock(state_->mutex);
  const SimWindow* w = state_->windows.find(window);
  if (w == nullptr) return std::nullopt;
  return w->updateRect;
}

std::wstring Machine::tooltip(WindowId window) const {
  std::scoped_lock lock(state_->mutex);
  const SimWindow* w = state_->windows.find(window);
  if (w == nullptr) return {};
  for (const WindowId child : w->children) {
    const SimWindow* c = state_->windows.find(child);
    if (c->className == kTooltipClass && !c->shownTip.empty()) return c->shownTip;
  }
  return {};
}

std::optional<Image> Machine::screenshot(WindowId window) {
  settle();
  std::scoped_lock lock(state_->mutex);
  const SimWindow* w = state_->windows.find(window);
  if (w == nullptr || (w->style & kWsChild) != 0) return std::nullopt;
  Image out(w->rect.width(), w->rect.height(), rgb(240, 240, 240));
  const Rect& f = w->frame;
  for (int y = 0; y < w->surface.height && y + f.top < out.height; ++y) {
    for (int x = 0; x < w->surface.width && x + f.left < out.width; ++x) {
      out.at(x + f.left, y + f.top) = w->surface.at(x, y);
    }
  }
  // The frame: a caption bar with the title, and the edge.
  if (f.top > f.left) {
    for (int y = f.left; y < f.top; ++y) {
      for (int x = f.left; x < out.width - f.right; ++x) out.at(x, y) = kCaptionColour;
    }
    const FontSpec captionFont{-12, 0, 400, false, false, 0, 0, 0, 0, 0, L"Segoe UI"};
    const int textTop = f.left + (f.top - f.left - textMetrics(captionFont).height) / 2;
    drawTextLine(out, {0, 0, out.width, f.top}, f.left + 8, textTop, captionFont, w->title,
                 kCaptionText);
  }
  for (int i = 0; i < f.left; ++i) {
    const Colour topLeft = i == 0 ? kOuterFrame : kFrameLight;
    const Colour bottomRight = i == 0 ? kOuterFrame : kFrameShadow;
    for (int x = i; x < out.width - i; ++x) {
      out.at(x, i) = topLeft;
      out.at(x, out.height - 1 - i) = bottomRight;
    }
    for (int y = i; y < out.height - i; ++y) {
      out.at(i, y) = topLeft;
      out.at(out.width - 1 - i, y) = bottomRight;
    }
  }
  return out;
}

std::size_t Machine::liveGdiObjects() const {
  std::scoped_lock lock(state_->mutex);
  return state_->gdi.liveObjects();
}

}  // namespace plat::sim
