// The windows of the simulated machine (USER): top-level windows in Z order
// and their controls, menus, and the state of the mouse and the keyboard
// focus.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/api/window_port.h"
#include "platform/sim/image.h"

namespace plat::sim {

class SimProcess;
struct SimThread;

inline constexpr wchar_t kTooltipClass[] = L"tooltips_class32";

// Mouse input the scripted user gives; the window's thread routes it.
enum class MouseInput { None, Move, Down, Up };

struct PostedMessage {
  WindowId window = kNoWindow;
  Message message;
  MouseInput input = MouseInput::None;
  Point screen{};  // of mouse input
};

struct SimMenuItem {
  std::wstring text;
  std::uintptr_t id = 0;
  Dword flags = 0;
};

struct SimWindow {
  WindowId id = kNoWindow;
  SimProcess* process = nullptr;  // null for a window of a desktop program
  std::wstring program;
  SimThread* thread = nullptr;
  WindowId parent = kNoWindow;  // owner of a top-level window, parent of a control
  int controlId = 0;
  std::wstring className;
  std::wstring title;
  Dword style = 0;
  Dword exStyle = 0;
  // What SetLayeredWindowAttributes gave a layered window.
  struct Layered {
    Colour key = 0;
    std::uint8_t alpha = 255;
    Dword flags = 0;
  };
  std::optional<Layered> layered;
  bool visible = false;
  bool enabled = true;
  bool minimized = false;
  std::vector<WindowId> children;
  std::vector<SimMenuItem> systemMenu;
  MenuId systemMenuId = kNoMenu;
  // A modal dialog or message box runs until `ended`.
  DialogProcedure* procedure = nullptr;
  bool isMessageBox = false;
  std::wstring messageText;
  Dword messageType = 0;
  bool ended = false;
  std::intptr_t result = 0;
  int defaultId = 0;  // of a dialog: its default button, DM_GETDEFID

  // Geometry in pixels: screen coordinates for a top-level window, the
  // parent's client coordinates for a control; the frame's widths.
  Rect rect;
  Rect frame;
  FontSpec dialogFont;  // of a dialog, from its template
  GdiObject font = kNoObject;
  GdiObject bigIcon = kNoObject;
  GdiObject smallIcon = kNoObject;
  // Control state: combo and list box items, progress bar, check box.
  std::vector<std::wstring> items;
  int selection = -1;
  int rangeLow = 0;
  int rangeHigh = 100;
  int position = 0;
  int check = 0;
  bool pressed = false;
  ControlProcedure* subclass = nullptr;
  struct Timer {
    Dword interval = 0;
    std::uint64_t due = 0;
  };
  std::map<std::uintptr_t, Timer> timers;
  bool needsPaint = false;  // of a top-level window: it or a control waits
  // The bounding rectangle of what waits to be repainted of the client
  // area (GetUpdateRect), in the window's own client coordinates.
  std::optional<Rect> updateRect;
  Image surface;  // the client area of a top-level window
  // A tooltip's tools, state and the text it shows now.
  std::vector<ToolInfo> tools;
  bool tooltipActive = false;
  int tooltipMaxWidth = -1;
  std::wstring shownTip;
  bool trackLeave = false;
  std::optional<Point> dragFrom;
};

// The popup menu open on a thread (TrackPopupMenu), until the user picks.
struct OpenMenu {
  WindowId owner = kNoWindow;
  std::vector<SimMenuItem> items;
  std::optional<std::uintptr_t> choice;
  bool done = false;
};

class WindowTable {
 public:
  using Windows = std::map<WindowId, std::unique_ptr<SimWindow>>;

  // Every window, top-level windows and controls, by id.
  [[nodiscard]] Windows::const_iterator begin() const { return windows_.begin(); }
  [[nodiscard]] Windows::const_iterator end() const { return windows_.end(); }
  // Adds a window; a top-level one goes on top of the Z order.
  WindowId add(std::unique_ptr<SimWindow> window);
  // Removes a window with its controls.
  void remove(WindowId id);
  SimWindow* find(WindowId id);
  [[nodiscard]] const SimWindow* find(WindowId id) const;
  // Top-level windows, top first.
  [[nodiscard]] const std::vector<WindowId>& zOrder() const { return zOrder_; }
  void bringToTop(WindowId id);

  // The top-level window of `id`, and the offset of `id`'s client area in
  // that window's client area.
  [[nodiscard]] WindowId topLevelOf(WindowId id) const;
  [[nodiscard]] Point offsetInTopLevel(WindowId id) const;
  [[nodiscard]] Rect clientRect(WindowId id) const;
  // Adds `area` (the whole client area when not given) to the update
  // rectangle of `id`, and marks its top-level window for painting; false
  // when there is no such window.
  bool invalidate(WindowId id, std::optional<Rect> area);

  WindowId foreground = kNoWindow;
  std::map<MenuId, std::vector<SimMenuItem>> menus;
  MenuId nextMenuId = 0x20000;
  std::optional<OpenMenu> openMenu;
  Point cursor;
  WindowId hover = kNoWindow;  // the control or window under the mouse
  WindowId focus = kNoWindow;
  GdiObject currentCursor = kNoObject;

 private:
  Windows windows_;
  std::vector<WindowId> zOrder_;
  WindowId nextId_ = 0x10010;
};

}  // namespace plat::sim
