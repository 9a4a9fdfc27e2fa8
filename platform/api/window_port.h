// Windows, dialogs, message boxes and menus (USER32 and COMCTL32).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/api/canvas.h"
#include "platform/api/types.h"

namespace plat {

struct Message {
  std::uint32_t id = kWmNull;
  std::uintptr_t wParam = 0;
  std::intptr_t lParam = 0;
};

// The dialog procedure of a dialog created from a template. Returns true
// when it handled the message (with `result` as its answer), false to let
// the default dialog handling run.
class DialogProcedure {
 public:
  DialogProcedure() = default;
  DialogProcedure(const DialogProcedure&) = delete;
  DialogProcedure& operator=(const DialogProcedure&) = delete;
  virtual bool dialogProc(WindowId window, const Message& message, std::intptr_t& result) = 0;

 protected:
  ~DialogProcedure() = default;
};

// The record a message parameter points at, as WM_SETTEXT, WM_DRAWITEM and
// the control-colour messages pass them.
template <class T>
T* messagePointer(std::uintptr_t parameter) {
  return reinterpret_cast<T*>(parameter);  // NOLINT(performance-no-int-to-ptr)
}

// The window procedure that a subclassed control's messages reach first.
// Returns true when it handled the message; false lets the control's own
// procedure run (DefSubclassProc).
class ControlProcedure {
 public:
  ControlProcedure() = default;
  ControlProcedure(const ControlProcedure&) = delete;
  ControlProcedure& operator=(const ControlProcedure&) = delete;
  virtual bool controlProc(WindowId control, const Message& message, std::intptr_t& result) = 0;

 protected:
  ~ControlProcedure() = default;
};

// WM_DRAWITEM's lParam: the DRAWITEMSTRUCT of an owner-drawn button, with
// its device context as a canvas in the control's coordinates.
struct DrawItem {
  int controlId = 0;
  WindowId control = kNoWindow;
  Dword state = 0;  // kOds... bits
  Rect rect;
  Canvas* canvas = nullptr;
};

// WM_CTLCOLORSTATIC and WM_CTLCOLORBTN: wParam points at this record (the
// device context the control is about to draw with), lParam is the control.
// The answer is the brush the control's background is filled with.
struct ControlColours {
  std::optional<Colour> textColour;
  std::optional<Colour> backColour;
  bool transparent = false;  // SetBkMode(TRANSPARENT)
};

// A tooltip's tool: a window, or a rectangle of it, with an id.
struct ToolInfo {
  WindowId window = kNoWindow;
  std::uintptr_t id = 0;
  Rect rect;
  std::wstring text;
};

class WindowPort {
 public:
  WindowPort() = default;
  WindowPort(const WindowPort&) = delete;
  WindowPort& operator=(const WindowPort&) = delete;
  virtual ~WindowPort() = default;

  // InitCommonControlsEx with the given structure size and class bits.
  virtual bool initCommonControlsEx(Dword size, Dword classes) = 0;

  // EnumWindows: calls `visit` for every top-level window in Z order, top
  // first, until it returns false.
  virtual bool enumWindows(const std::function<bool(WindowId)>& visit) = 0;
  // GetWindowTextW into a buffer of `bufferChars` characters: at most
  // bufferChars - 1 characters of the title come back.
  virtual std::wstring getWindowText(WindowId window, int bufferChars) = 0;
  virtual bool setWindowText(WindowId window, const std::wstring& text) = 0;
  virtual bool isWindow(WindowId window) = 0;
  virtual bool showWindow(WindowId window, int command) = 0;
  virtual bool setForegroundWindow(WindowId window) = 0;

  // DialogBoxParamW on a template of the program's resources: runs the
  // dialog modally and returns the code given to endDialog, or -1 when the
  // dialog could not be created.
  virtual std::intptr_t dialogBox(std::uint32_t templateId, WindowId parent,
                                  DialogProcedure& procedure) = 0;
  virtual bool endDialog(WindowId dialog, std::intptr_t result) = 0;
  virtual WindowId getDlgItem(WindowId dialog, int controlId) = 0;

  virtual bool postMessage(WindowId window, const Message& message) = 0;

  // MessageBoxW: blocks until the user picks a button and returns its id.
  virtual int messageBox(WindowId owner, const std::wstring& text, const std::wstring& caption,
                         Dword type) = 0;

  // GetSystemMenu(window, revert) and AppendMenuW.
  virtual MenuId getSystemMenu(WindowId window, bool revert) = 0;
  virtual bool appendMenu(MenuId menu, Dword flags, std::uintptr_t itemId,
                          const std::wstring& text) = 0;

  // Geometry: the window rectangle in screen coordinates, the client
  // rectangle (origin 0, 0), conversions, and MoveWindow (for a control in
  // its parent's client coordinates).
  virtual Rect getWindowRect(WindowId window) = 0;
  virtual Rect getClientRect(WindowId window) = 0;
  virtual Point clientToScreen(WindowId window, Point point) = 0;
  virtual Point screenToClient(WindowId window, Point point) = 0;
  virtual bool moveWindow(WindowId window, const Rect& rect, bool repaint) = 0;
  virtual Dword getWindowLong(WindowId window, int index) = 0;
  // SetWindowLongW; returns the previous value.
  virtual Dword setWindowLong(WindowId window, int index, Dword value) = 0;
  // SetWindowPos without a change of Z order: the position (unless
  // kSwpNoMove) and size (unless kSwpNoSize) of `rect`; kSwpFrameChanged
  // applies a style change to the frame.
  virtual bool setWindowPos(WindowId window, const Rect& rect, Dword flags) = 0;
  virtual bool isWindowVisible(WindowId window) = 0;
  virtual bool isIconic(WindowId window) = 0;
  virtual bool isWindowEnabled(WindowId window) = 0;
  // EnableWindow, which sends WM_ENABLE when the state changes; true when
  // the window was disabled before.
  virtual bool enableWindow(WindowId window, bool enable) = 0;
  virtual WindowId getParent(WindowId window) = 0;
  virtual int getDlgCtrlId(WindowId window) = 0;
  virtual WindowId windowFromPoint(Point screen) = 0;
  virtual WindowId getFocus() = 0;
  virtual WindowId setFocus(WindowId window) = 0;
  // GetNextDlgTabItem: the control after (or before) `control` in the
  // dialog's tab order that has WS_TABSTOP and is visible and enabled.
  virtual WindowId getNextDlgTabItem(WindowId dialog, WindowId control, bool previous) = 0;
  virtual Point getCursorPos() = 0;

  // SendMessageW on the calling thread's windows and controls.
  virtual std::intptr_t sendMessage(WindowId window, const Message& message) = 0;
  // SetWindowSubclass / RemoveWindowSubclass (null procedure), and
  // DefSubclassProc: the control's own handling of a message.
  virtual bool subclassWindow(WindowId control, ControlProcedure* procedure) = 0;
  virtual std::intptr_t defSubclassProc(WindowId control, const Message& message) = 0;

  // SetTimer and KillTimer with a window; the timer posts WM_TIMER.
  virtual bool setTimer(WindowId window, std::uintptr_t id, Dword milliseconds) = 0;
  virtual bool killTimer(WindowId window, std::uintptr_t id) = 0;
  // TrackMouseEvent with TME_LEAVE: WM_MOUSELEAVE when the mouse leaves.
  virtual bool trackMouseLeave(WindowId window) = 0;

  // Painting: RedrawWindow, and BeginPaint/EndPaint as a canvas that ends
  // the painting when it goes.
  virtual bool redrawWindow(WindowId window, Dword flags) = 0;
  // InvalidateRect: `rect` of the client area is to be repainted.
  virtual bool invalidateRect(WindowId window, const Rect& rect, bool erase) = 0;
  virtual std::unique_ptr<Canvas> beginPaint(WindowId window) = 0;
  virtual Colour getSysColour(int index) = 0;

  // GDI and USER objects: fonts, icons and bitmaps of the program's
  // resources, system cursors, stock brushes.
  virtual GdiObject createFont(const FontSpec& fontSpec) = 0;
  virtual bool deleteObject(GdiObject object) = 0;
  virtual GdiObject getStockObject(int id) = 0;
  // LoadImageW of an icon resource at the default icon size (or the given
  // size), LoadBitmapW, LoadCursorW of a system cursor.
  virtual GdiObject loadIcon(std::uint32_t resourceId, int width, int height) = 0;
  virtual GdiObject loadBitmap(std::uint32_t resourceId) = 0;
  virtual GdiObject loadCursor(std::uint32_t systemId) = 0;
  virtual GdiObject setCursor(GdiObject cursor) = 0;
  virtual bool destroyIcon(GdiObject icon) = 0;
  // GetIconInfo with GetDIBits of its pictures, and CreateIconIndirect.
  virtual std::optional<IconPixels> getIconPixels(GdiObject icon) = 0;
  virtual GdiObject createIcon(const IconPixels& pixels) = 0;
  // GetObjectW of a bitmap: its width and height.
  virtual std::optional<Point> getBitmapSize(GdiObject bitmap) = 0;

  // Tooltips (TOOLTIPS_CLASS): creation, TTM_ADDTOOL, TTM_UPDATETIPTEXTW,
  // TTM_ACTIVATE, TTM_SETMAXTIPWIDTH, TTM_GETTOOLCOUNT, TTM_RELAYEVENT.
  virtual WindowId createTooltip(WindowId owner) = 0;
  virtual bool addTool(WindowId tooltip, const ToolInfo& tool) = 0;
  virtual bool updateToolText(WindowId tooltip, const ToolInfo& tool) = 0;
  virtual bool activateTooltip(WindowId tooltip, bool active) = 0;
  virtual int setTooltipMaxWidth(WindowId tooltip, int pixels) = 0;
  virtual int toolCount(WindowId tooltip) = 0;
  virtual void relayTooltipEvent(WindowId tooltip, WindowId from, const Message& message) = 0;
  virtual bool destroyWindow(WindowId window) = 0;

  // Popup menus: LoadMenuW, GetSubMenu, TrackPopupMenu (the chosen command
  // arrives as WM_COMMAND at the owner), DestroyMenu.
  virtual MenuId loadMenu(std::uint32_t resourceId) = 0;
  virtual MenuId getSubMenu(MenuId menu, int position) = 0;
  virtual bool trackPopupMenu(MenuId menu, Point screen, WindowId owner) = 0;
  virtual bool destroyMenu(MenuId menu) = 0;
  // ModifyMenuW by command: the item `command` gets new flags, id and text.
  virtual bool modifyMenu(MenuId menu, std::uintptr_t command, Dword flags, std::uintptr_t newId,
                          const std::wstring& text) = 0;

  // SetLayeredWindowAttributes of a window with WS_EX_LAYERED (colour key,
  // alpha, kLwa... flags), looked up at run time in "User32.DLL" because
  // Windows before 2000 lacks it: 0, the error code of the call, or
  // kErrorProcNotFound when the library or the function is missing.
  virtual Dword setLayeredWindowAttributes(WindowId window, Colour key, std::uint8_t alpha,
                                           Dword flags) = 0;
};

}  // namespace plat
