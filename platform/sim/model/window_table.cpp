#include "platform/sim/model/window_table.h"

#include <algorithm>

namespace plat::sim {

WindowId WindowTable::add(std::unique_ptr<SimWindow> window) {
  const WindowId id = nextId_;
  nextId_ += 4;
  window->id = id;
  const bool topLevel = (window->style & kWsChild) == 0;
  windows_.emplace(id, std::move(window));
  if (topLevel) zOrder_.insert(zOrder_.begin(), id);
  return id;
}

void WindowTable::remove(WindowId id) {
  SimWindow* window = find(id);
  if (window == nullptr) return;
  for (const WindowId child : std::vector<WindowId>(window->children)) remove(child);
  if (SimWindow* parent = find(window->parent)) {
    std::erase(parent->children, id);
  }
  std::erase(zOrder_, id);
  if (foreground == id) foreground = zOrder_.empty() ? kNoWindow : zOrder_.front();
  windows_.erase(id);
}

SimWindow* WindowTable::find(WindowId id) {
  const auto it = windows_.find(id);
  return it == windows_.end() ? nullptr : it->second.get();
}

const SimWindow* WindowTable::find(WindowId id) const {
  const auto it = windows_.find(id);
  return it == windows_.end() ? nullptr : it->second.get();
}

void WindowTable::bringToTop(WindowId id) {
  std::erase(zOrder_, id);
  zOrder_.insert(zOrder_.begin(), id);
  foreground = id;
}

WindowId WindowTable::topLevelOf(WindowId id) const {
  const SimWindow* w = find(id);
  while (w != nullptr && (w->style & kWsChild) != 0 && find(w->parent) != nullptr) {
    w = find(w->parent);
  }
  return w == nullptr ? kNoWindow : w->id;
}

Point WindowTable::offsetInTopLevel(WindowId id) const {
  Point offset;
  const SimWindow* w = find(id);
  while (w != nullptr && (w->style & kWsChild) != 0) {
    offset.x += w->rect.left;
    offset.y += w->rect.top;
    w = find(w->parent);
  }
  return offset;
}

Rect WindowTable::clientRect(WindowId id) const {
  const SimWindow* w = find(id);
  if (w == nullptr) return {};
  return {0, 0, std::max(0, w->rect.width() - w->frame.left - w->frame.right),
          std::max(0, w->rect.height() - w->frame.top - w->frame.bottom)};
}

bool WindowTable::invalidate(WindowId id, std::optional<Rect> area) {
  SimWindow* w = find(id);
  SimWindow* top = find(topLevelOf(id));
  if (w == nullptr || top == nullptr) return false;
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
  return true;
}

}  // namespace plat::sim
