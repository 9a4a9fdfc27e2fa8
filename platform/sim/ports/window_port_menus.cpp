// The window port of a simulated process, continued: system menus and
// popup menus from menu resources.
#include "platform/sim/ports/sim_window_port.h"

#include <algorithm>

#include "platform/sim/sim_process.h"
#include "platform/sim/text.h"

namespace plat::sim {

MenuId SimWindowPort::getSystemMenu(WindowId window, bool revert) {
  (void)revert;
  std::scoped_lock lock(process_.machine.mutex);
  SimWindow* w = process_.machine.windows.find(window);
  if (w == nullptr || (w->style & kWsSysMenu) == 0) return kNoMenu;
  if (w->systemMenuId == kNoMenu) w->systemMenuId = window + 1;
  return w->systemMenuId;
}

bool SimWindowPort::appendMenu(MenuId menu, Dword flags, std::uintptr_t itemId,
                               const std::wstring& text) {
  std::scoped_lock lock(process_.machine.mutex);
  for (auto& [id, window] : process_.machine.windows) {
    if (menu != kNoMenu && window->systemMenuId == menu) {
      window->systemMenu.push_back({text, itemId, flags});
      return true;
    }
  }
  return false;
}

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
        const MenuId id = m.windows.nextMenuId++;
        std::vector<SimMenuItem> made;
        for (const auto& item : items) {
          const std::uintptr_t itemId = (item.flags & kMfPopup) != 0 ? build(item.items) : item.id;
          made.push_back({item.text, itemId, item.flags});
        }
        m.windows.menus[id] = made;
        return id;
      };
  return build(found->items);
}

MenuId SimWindowPort::getSubMenu(MenuId menu, int position) {
  std::scoped_lock lock(process_.machine.mutex);
  const auto found = process_.machine.windows.menus.find(menu);
  if (found == process_.machine.windows.menus.end() || position < 0 ||
      static_cast<std::size_t>(position) >= found->second.size()) {
    return kNoMenu;
  }
  const SimMenuItem& item = found->second[static_cast<std::size_t>(position)];
  return (item.flags & kMfPopup) != 0 ? item.id : kNoMenu;
}

bool SimWindowPort::trackPopupMenu(MenuId menu, Point screen, WindowId owner) {
  std::unique_lock lock(process_.machine.mutex);
  MachineState& m = process_.machine;
  const auto found = m.windows.menus.find(menu);
  if (found == m.windows.menus.end() || m.windows.openMenu) return false;
  m.windows.openMenu = OpenMenu{owner, found->second, std::nullopt, false};
  std::string line = m.describe(process_) + " opens a menu at (" + std::to_string(screen.x) + ", " +
                     std::to_string(screen.y) + "):";
  for (const auto& item : found->second) {
    if ((item.flags & kMfSeparator) == 0) line += " [" + toUtf8(item.text) + "]";
  }
  m.record(line);
  m.changed();
  const std::function<bool()> done = [&m] { return m.windows.openMenu->done; };
  m.block(lock, done);
  const std::optional<std::uintptr_t> choice = m.windows.openMenu->choice;
  m.windows.openMenu.reset();
  if (choice) m.post(owner, {kWmCommand, *choice, 0});
  return choice.has_value();
}

bool SimWindowPort::destroyMenu(MenuId menu) {
  std::scoped_lock lock(process_.machine.mutex);
  MachineState& m = process_.machine;
  const auto found = m.windows.menus.find(menu);
  if (found == m.windows.menus.end()) return false;
  const std::vector<SimMenuItem> items = found->second;
  m.windows.menus.erase(found);
  for (const auto& item : items) {
    if ((item.flags & kMfPopup) != 0) m.windows.menus.erase(item.id);
  }
  return true;
}

bool SimWindowPort::modifyMenu(MenuId menu, std::uintptr_t command, Dword flags,
                               std::uintptr_t newId, const std::wstring& text) {
  std::scoped_lock lock(process_.machine.mutex);
  MachineState& m = process_.machine;
  std::vector<SimMenuItem>* items = nullptr;
  if (const auto found = m.windows.menus.find(menu); found != m.windows.menus.end())
    items = &found->second;
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

}  // namespace plat::sim
