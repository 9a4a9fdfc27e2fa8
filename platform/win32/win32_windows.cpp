// windows.h first: commctrl.h builds on its types.
#include "platform/win32/win32_ports.h"
// (keep this order)
#include <commctrl.h>

#include <vector>

namespace plat::win32 {

namespace {

BOOL CALLBACK enumWindowsThunk(HWND hwnd, LPARAM parameter) {
  const auto& visit = *reinterpret_cast<const std::function<bool(WindowId)>*>(parameter);
  return visit(toWindowId(hwnd)) ? TRUE : FALSE;
}

// Forwards the dialog's messages to its DialogProcedure, which arrives
// with WM_INITDIALOG and is kept in the dialog's user slot.
INT_PTR CALLBACK dialogThunk(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
  }
  auto* procedure = reinterpret_cast<DialogProcedure*>(GetWindowLongPtrW(hwnd, DWLP_USER));
  if (procedure == nullptr) return FALSE;
  std::intptr_t result = 0;
  const Message forwarded{message, wParam, message == WM_INITDIALOG ? 0 : lParam};
  if (!procedure->dialogProc(toWindowId(hwnd), forwarded, result)) return FALSE;
  if (message == WM_INITDIALOG) return result;
  SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, result);
  return TRUE;
}

}  // namespace

bool Win32Windows::initCommonControlsEx(Dword size, Dword classes) {
  INITCOMMONCONTROLSEX init{};
  init.dwSize = size;
  init.dwICC = classes;
  return InitCommonControlsEx(&init) != FALSE;
}

bool Win32Windows::enumWindows(const std::function<bool(WindowId)>& visit) {
  return EnumWindows(enumWindowsThunk, reinterpret_cast<LPARAM>(&visit)) != FALSE;
}

std::wstring Win32Windows::getWindowText(WindowId window, int bufferChars) {
  if (bufferChars <= 0) return {};
  std::vector<wchar_t> buffer(static_cast<std::size_t>(bufferChars), L'\0');
  const int length = GetWindowTextW(toHwnd(window), buffer.data(), bufferChars);
  return {buffer.data(), static_cast<std::size_t>(length > 0 ? length : 0)};
}

bool Win32Windows::setWindowText(WindowId window, const std::wstring& text) {
  return SetWindowTextW(toHwnd(window), text.c_str()) != FALSE;
}

bool Win32Windows::isWindow(WindowId window) {
  return IsWindow(toHwnd(window)) != FALSE;
}

bool Win32Windows::showWindow(WindowId window, int command) {
  return ShowWindow(toHwnd(window), command) != FALSE;
}

bool Win32Windows::setForegroundWindow(WindowId window) {
  return SetForegroundWindow(toHwnd(window)) != FALSE;
}

std::intptr_t Win32Windows::dialogBox(std::uint32_t templateId, WindowId parent,
                                      DialogProcedure& procedure) {
  return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId), toHwnd(parent),
                         dialogThunk, reinterpret_cast<LPARAM>(&procedure));
}

bool Win32Windows::endDialog(WindowId dialog, std::intptr_t result) {
  return EndDialog(toHwnd(dialog), result) != FALSE;
}

WindowId Win32Windows::getDlgItem(WindowId dialog, int controlId) {
  return toWindowId(GetDlgItem(toHwnd(dialog), controlId));
}

bool Win32Windows::postMessage(WindowId window, const Message& message) {
  return PostMessageW(toHwnd(window), message.id, message.wParam, message.lParam) != FALSE;
}

int Win32Windows::messageBox(WindowId owner, const std::wstring& text, const std::wstring& caption,
                             Dword type) {
  return MessageBoxW(toHwnd(owner), text.c_str(), caption.c_str(), type);
}

MenuId Win32Windows::getSystemMenu(WindowId window, bool revert) {
  return reinterpret_cast<MenuId>(GetSystemMenu(toHwnd(window), revert ? TRUE : FALSE));
}

bool Win32Windows::appendMenu(MenuId menu, Dword flags, std::uintptr_t itemId,
                              const std::wstring& text) {
  return AppendMenuW(reinterpret_cast<HMENU>(menu), flags, itemId,
                     (flags & kMfSeparator) != 0 ? nullptr : text.c_str()) != FALSE;
}

}  // namespace plat::win32
