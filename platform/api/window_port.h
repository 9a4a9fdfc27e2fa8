// Windows, dialogs, message boxes and menus (USER32 and COMCTL32).
#pragma once

#include <cstdint>
#include <functional>
#include <string>

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
};

}  // namespace plat
