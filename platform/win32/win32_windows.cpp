// windows.h first: commctrl.h builds on its types.
#include "platform/win32/win32_canvas.h"
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
  // The owner-draw and control-colour requests carry Windows' records; the
  // procedure gets the platform's records in their place.
  if (message == WM_DRAWITEM) {
    const auto* draw = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    if (draw->CtlType != ODT_BUTTON) return FALSE;
    HdcCanvas canvas(draw->hDC, fromRECT(draw->rcItem));
    DrawItem item{static_cast<int>(draw->CtlID), toWindowId(draw->hwndItem), draw->itemState,
                  fromRECT(draw->rcItem), &canvas};
    return procedure->dialogProc(toWindowId(hwnd),
                                 {message, wParam, reinterpret_cast<LPARAM>(&item)}, result)
               ? TRUE
               : FALSE;
  }
  if (message == WM_CTLCOLORSTATIC || message == WM_CTLCOLORBTN) {
    ControlColours colours;
    if (!procedure->dialogProc(toWindowId(hwnd),
                               {message, reinterpret_cast<WPARAM>(&colours), lParam}, result)) {
      return FALSE;
    }
    HDC dc = reinterpret_cast<HDC>(wParam);
    if (colours.textColour) SetTextColor(dc, *colours.textColour);
    if (colours.backColour) SetBkColor(dc, *colours.backColour);
    if (colours.transparent) SetBkMode(dc, TRANSPARENT);
    return static_cast<INT_PTR>(result);  // the brush, returned directly
  }
  const Message forwarded{message, wParam, message == WM_INITDIALOG ? 0 : lParam};
  if (!procedure->dialogProc(toWindowId(hwnd), forwarded, result)) return FALSE;
  if (message == WM_INITDIALOG || message == WM_QUERYDRAGICON) return result;
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
