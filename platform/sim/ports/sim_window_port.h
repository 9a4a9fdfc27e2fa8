// The window port of a simulated process: windows and controls, messages,
// drawing, menus and tooltips, implemented in window_port_*.cpp along those
// lines.
#pragma once

#include <memory>
#include <mutex>
#include <optional>

#include "platform/api/window_port.h"

namespace plat::sim {

class SimProcess;
struct SimWindow;
struct PostedMessage;

class SimWindowPort final : public WindowPort {
 public:
  explicit SimWindowPort(SimProcess& process) : process_(process) {}
  bool initCommonControlsEx(Dword size, Dword classes) override;
  bool enumWindows(const std::function<bool(WindowId)>& visit) override;
  std::wstring getWindowText(WindowId window, int bufferChars) override;
  bool setWindowText(WindowId window, const std::wstring& text) override;
  bool isWindow(WindowId window) override;
  bool showWindow(WindowId window, int command) override;
  bool setForegroundWindow(WindowId window) override;
  std::intptr_t dialogBox(std::uint32_t templateId, WindowId parent,
                          DialogProcedure& procedure) override;
  bool endDialog(WindowId dialog, std::intptr_t result) override;
  WindowId getDlgItem(WindowId dialog, int controlId) override;
  bool postMessage(WindowId window, const Message& message) override;
  int messageBox(WindowId owner, const std::wstring& text, const std::wstring& caption,
                 Dword type) override;
  MenuId getSystemMenu(WindowId window, bool revert) override;
  bool appendMenu(MenuId menu, Dword flags, std::uintptr_t itemId,
                  const std::wstring& text) override;

  Rect getWindowRect(WindowId window) override;
  Rect getClientRect(WindowId window) override;
  Point clientToScreen(WindowId window, Point point) override;
  Point screenToClient(WindowId window, Point point) override;
  bool moveWindow(WindowId window, const Rect& rect, bool repaint) override;
  Dword getWindowLong(WindowId window, int index) override;
  Dword setWindowLong(WindowId window, int index, Dword value) override;
  bool setWindowPos(WindowId window, const Rect& rect, Dword flags) override;
  bool isWindowVisible(WindowId window) override;
  bool isIconic(WindowId window) override;
  bool isWindowEnabled(WindowId window) override;
  bool enableWindow(WindowId window, bool enable) override;
  WindowId getParent(WindowId window) override;
  int getDlgCtrlId(WindowId window) override;
  WindowId windowFromPoint(Point screen) override;
  WindowId getFocus() override;
  WindowId setFocus(WindowId window) override;
  WindowId getNextDlgTabItem(WindowId dialog, WindowId control, bool previous) override;
  Point getCursorPos() override;
  std::intptr_t sendMessage(WindowId window, const Message& message) override;
  bool subclassWindow(WindowId control, ControlProcedure* procedure) override;
  std::intptr_t defSubclassProc(WindowId control, const Message& message) override;
  bool setTimer(WindowId window, std::uintptr_t id, Dword milliseconds) override;
  bool killTimer(WindowId window, std::uintptr_t id) override;
  bool trackMouseLeave(WindowId window) override;
  bool redrawWindow(WindowId window, Dword flags) override;
  bool invalidateRect(WindowId window, const Rect& rect, bool erase) override;
  std::unique_ptr<Canvas> beginPaint(WindowId window) override;
  Colour getSysColour(int index) override;
  GdiObject createFont(const FontSpec& fontSpec) override;
  bool deleteObject(GdiObject object) override;
  GdiObject getStockObject(int id) override;
  GdiObject loadIcon(std::uint32_t resourceId, int width, int height) override;
  GdiObject loadBitmap(std::uint32_t resourceId) override;
  GdiObject loadCursor(std::uint32_t systemId) override;
  GdiObject setCursor(GdiObject cursor) override;
  bool destroyIcon(GdiObject icon) override;
  std::optional<IconPixels> getIconPixels(GdiObject icon) override;
  GdiObject createIcon(const IconPixels& pixels) override;
  std::optional<Point> getBitmapSize(GdiObject bitmap) override;
  WindowId createTooltip(WindowId owner) override;
  bool addTool(WindowId tooltip, const ToolInfo& tool) override;
  bool updateToolText(WindowId tooltip, const ToolInfo& tool) override;
  bool activateTooltip(WindowId tooltip, bool active) override;
  int setTooltipMaxWidth(WindowId tooltip, int pixels) override;
  int toolCount(WindowId tooltip) override;
  void relayTooltipEvent(WindowId tooltip, WindowId from, const Message& message) override;
  bool destroyWindow(WindowId window) override;
  MenuId loadMenu(std::uint32_t resourceId) override;
  MenuId getSubMenu(MenuId menu, int position) override;
  bool trackPopupMenu(MenuId menu, Point screen, WindowId owner) override;
  bool destroyMenu(MenuId menu) override;
  bool modifyMenu(MenuId menu, std::uintptr_t command, Dword flags, std::uintptr_t newId,
                  const std::wstring& text) override;
  Dword setLayeredWindowAttributes(WindowId window, Colour key, std::uint8_t alpha,
                                   Dword flags) override;

 private:
  // The work a UI thread does when no message is posted: painting, then
  // due timers. Returns false when there was none.
  bool runIdleWork(std::unique_lock<std::mutex>& lock);
  // When the next timer of the calling thread falls due.
  std::optional<std::uint64_t> nextTimer() const;
  void paint(WindowId topLevel);
  // Nothing of the window or its controls waits to be repainted any more.
  void validate(WindowId topLevel);
  void paintControl(WindowId control);
  void routeMouse(const PostedMessage& posted);
  std::intptr_t defaultProc(WindowId window, const Message& message);
  // The dialog procedure's answer, or nullopt when it leaves the message
  // to the default handling.
  std::optional<std::intptr_t> callProcedure(WindowId window, const Message& message);

  // Runs the calling thread's messages until `modal` has ended.
  void runModalLoop(std::unique_lock<std::mutex>& lock, SimWindow& modal);
  void dispatch(const PostedMessage& posted);
  // A key pressed in a dialog that the dialog manager takes; false leaves
  // it to the window it was posted to.
  bool dialogKey(WindowId target, std::uintptr_t key);
  SimProcess& process_;
};

}  // namespace plat::sim
