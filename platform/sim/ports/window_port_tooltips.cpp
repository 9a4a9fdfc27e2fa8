// The window port of a simulated process, continued: tooltips and the
// tools they show a tip for.
#include "platform/sim/ports/sim_window_port.h"

#include <algorithm>
#include <utility>

#include "platform/sim/sim_process.h"
#include "platform/sim/text.h"

namespace plat::sim {

WindowId SimWindowPort::createTooltip(WindowId owner) {
  std::scoped_lock lock(process_.machine.mutex);
  MachineState& m = process_.machine;
  SimWindow* ownerWindow = m.windows.find(m.windows.topLevelOf(owner));
  if (ownerWindow == nullptr) return kNoWindow;
  auto tip = std::make_unique<SimWindow>();
  tip->process = &process_;
  tip->program = process_.image.name;
  tip->thread = currentThread();
  tip->parent = ownerWindow->id;
  tip->className = kTooltipClass;
  tip->style = kWsChild;
  const WindowId id = m.windows.add(std::move(tip));
  ownerWindow->children.push_back(id);
  return id;
}

bool SimWindowPort::addTool(WindowId tooltip, const ToolInfo& tool) {
  std::scoped_lock lock(process_.machine.mutex);
  SimWindow* w = process_.machine.windows.find(tooltip);
  if (w == nullptr || w->className != kTooltipClass) return false;
  w->tools.push_back(tool);
  return true;
}

bool SimWindowPort::updateToolText(WindowId tooltip, const ToolInfo& tool) {
  std::scoped_lock lock(process_.machine.mutex);
  SimWindow* w = process_.machine.windows.find(tooltip);
  if (w == nullptr) return false;
  for (ToolInfo& t : w->tools) {
    if (t.window == tool.window && t.id == tool.id) t.text = tool.text;
  }
  return true;
}

bool SimWindowPort::activateTooltip(WindowId tooltip, bool active) {
  std::scoped_lock lock(process_.machine.mutex);
  SimWindow* w = process_.machine.windows.find(tooltip);
  if (w == nullptr) return false;
  w->tooltipActive = active;
  if (!active) w->shownTip.clear();
  return true;
}

int SimWindowPort::setTooltipMaxWidth(WindowId tooltip, int pixels) {
  std::scoped_lock lock(process_.machine.mutex);
  SimWindow* w = process_.machine.windows.find(tooltip);
  return w == nullptr ? -1 : std::exchange(w->tooltipMaxWidth, pixels);
}

int SimWindowPort::toolCount(WindowId tooltip) {
  std::scoped_lock lock(process_.machine.mutex);
  const SimWindow* w = process_.machine.windows.find(tooltip);
  return w == nullptr ? 0 : static_cast<int>(w->tools.size());
}

void SimWindowPort::relayTooltipEvent(WindowId tooltip, WindowId from, const Message& message) {
  std::scoped_lock lock(process_.machine.mutex);
  SimWindow* w = process_.machine.windows.find(tooltip);
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

}  // namespace plat::sim
