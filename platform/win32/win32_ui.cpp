// The window port on USER32, GDI32 and COMCTL32, continued: geometry,
// messages, timers, painting, GDI objects, tooltips and popup menus.
#include "platform/win32/win32_canvas.h"
// (keep this order)
#include <commctrl.h>
#include <shellapi.h>

#include <vector>

namespace plat::win32 {

namespace {

HMENU toHmenu(MenuId menu) {
  return reinterpret_cast<HMENU>(menu);
}

template <class Handle>
Handle toHandleOf(GdiObject object) {
  return reinterpret_cast<Handle>(object);
}

GdiObject toObject(const void* handle) {
  return reinterpret_cast<GdiObject>(handle);
}

LRESULT CALLBACK subclassThunk(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                               DWORD_PTR data) {
  (void)id;
  auto* procedure = reinterpret_cast<ControlProcedure*>(data);
  std::intptr_t result = 0;
  if (procedure->controlProc(toWindowId(hwnd), {message, wParam, lParam}, result)) return result;
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

constexpr UINT_PTR kSubclassId = 1;

TOOLINFOW toolInfo(const ToolInfo& tool, std::wstring& text) {
  TOOLINFOW info{};
  info.cbSize = sizeof info;
  info.hwnd = toHwnd(tool.window);
  info.uId = tool.id;
  info.rect = toRECT(tool.rect);
  text = tool.text;
  info.lpszText = text.data();
  return info;
}

}  // namespace

Rect Win32Windows::getWindowRect(WindowId window) {
  RECT r{};
  GetWindowRect(toHwnd(window), &r);
  return fromRECT(r);
}

Rect Win32Windows::getClientRect(WindowId window) {
  RECT r{};
  GetClientRect(toHwnd(window), &r);
  return fromRECT(r);
}

Point Win32Windows::clientToScreen(WindowId window, Point point) {
  POINT p{point.x, point.y};
  ClientToScreen(toHwnd(window), &p);
  return {p.x, p.y};
}

Point Win32Windows::screenToClient(WindowId window, Point point) {
  POINT p{point.x, point.y};
  ScreenToClient(toHwnd(window), &p);
  return {p.x, p.y};
}

bool Win32Windows::moveWindow(WindowId window, const Rect& rect, bool repaint) {
  return MoveWindow(toHwnd(window), rect.left, rect.top, rect.width(), rect.height(),
                    repaint ? TRUE : FALSE) != FALSE;
}

Dword Win32Windows::getWindowLong(WindowId window, int index) {
  return static_cast<Dword>(GetWindowLongW(toHwnd(window), index));
}

Dword Win32Windows::setWindowLong(WindowId window, int index, Dword value) {
  return static_cast<Dword>(SetWindowLongW(toHwnd(window), index, static_cast<LONG>(value)));
}

bool Win32Windows::setWindowPos(WindowId window, const Rect& rect, Dword flags) {
  return SetWindowPos(toHwnd(window), nullptr, rect.left, rect.top, rect.width(), rect.height(),
                      flags | SWP_NOZORDER) != FALSE;
}

bool Win32Windows::isWindowVisible(WindowId window) {
  return IsWindowVisible(toHwnd(window)) != FALSE;
}

bool Win32Windows::isIconic(WindowId window) {
  return IsIconic(toHwnd(window)) != FALSE;
}

bool Win32Windows::isWindowEnabled(WindowId window) {
  return IsWindowEnabled(toHwnd(window)) != FALSE;
}

bool Win32Windows::enableWindow(WindowId window, bool enable) {
  return EnableWindow(toHwnd(window), enable ? TRUE : FALSE) != FALSE;
}

WindowId Win32Windows::getParent(WindowId window) {
  return toWindowId(GetParent(toHwnd(window)));
}

int Win32Windows::getDlgCtrlId(WindowId window) {
  return GetDlgCtrlID(toHwnd(window));
}

WindowId Win32Windows::windowFromPoint(Point screen) {
  return toWindowId(WindowFromPoint({screen.x, screen.y}));
}

WindowId Win32Windows::getFocus() {
  return toWindowId(GetFocus());
}

WindowId Win32Windows::setFocus(WindowId window) {
  return toWindowId(SetFocus(toHwnd(window)));
}

WindowId Win32Windows::getNextDlgTabItem(WindowId dialog, WindowId control, bool previous) {
  return toWindowId(GetNextDlgTabItem(toHwnd(dialog), toHwnd(control), previous ? TRUE : FALSE));
}

Point Win32Windows::getCursorPos() {
  POINT p{};
  GetCursorPos(&p);
  return {p.x, p.y};
}

std::intptr_t Win32Windows::sendMessage(WindowId window, const Message& message) {
  return SendMessageW(toHwnd(window), message.id, message.wParam, message.lParam);
}

bool Win32Windows::subclassWindow(WindowId control, ControlProcedure* procedure) {
  if (procedure == nullptr) {
    return RemoveWindowSubclass(toHwnd(control), subclassThunk, kSubclassId) != FALSE;
  }
  return SetWindowSubclass(toHwnd(control), subclassThunk, kSubclassId,
                           reinterpret_cast<DWORD_PTR>(procedure)) != FALSE;
}

std::intptr_t Win32Windows::defSubclassProc(WindowId control, const Message& message) {
  return DefSubclassProc(toHwnd(control), message.id, message.wParam, message.lParam);
}

bool Win32Windows::setTimer(WindowId window, std::uintptr_t id, Dword milliseconds) {
  return SetTimer(toHwnd(window), id, milliseconds, nullptr) != 0;
}

bool Win32Windows::killTimer(WindowId window, std::uintptr_t id) {
  return KillTimer(toHwnd(window), id) != FALSE;
}

bool Win32Windows::trackMouseLeave(WindowId window) {
  TRACKMOUSEEVENT track{};
  track.cbSize = sizeof track;
  track.dwFlags = TME_LEAVE;
  track.hwndTrack = toHwnd(window);
  return TrackMouseEvent(&track) != FALSE;
}

bool Win32Windows::redrawWindow(WindowId window, Dword flags) {
  return RedrawWindow(toHwnd(window), nullptr, nullptr, flags) != FALSE;
}

bool Win32Windows::invalidateRect(WindowId window, const Rect& rect, bool erase) {
  const RECT area{rect.left, rect.top, rect.right, rect.bottom};
  return InvalidateRect(toHwnd(window), &area, erase ? TRUE : FALSE) != FALSE;
}

std::unique_ptr<Canvas> Win32Windows::beginPaint(WindowId window) {
  return std::make_unique<PaintCanvas>(toHwnd(window));
}

Colour Win32Windows::getSysColour(int index) {
  return GetSysColor(index);
}

GdiObject Win32Windows::createFont(const FontSpec& fontSpec) {
  LOGFONTW font{};
  font.lfHeight = fontSpec.height;
  font.lfWidth = fontSpec.width;
  font.lfWeight = fontSpec.weight;
  font.lfItalic = fontSpec.italic ? TRUE : FALSE;
  font.lfUnderline = fontSpec.underline ? TRUE : FALSE;
  font.lfCharSet = fontSpec.charSet;
  font.lfOutPrecision = fontSpec.outPrecision;
  font.lfClipPrecision = fontSpec.clipPrecision;
  font.lfQuality = fontSpec.quality;
  font.lfPitchAndFamily = fontSpec.pitchAndFamily;
  lstrcpynW(font.lfFaceName, fontSpec.face.c_str(), LF_FACESIZE);
  return toObject(CreateFontIndirectW(&font));
}

bool Win32Windows::deleteObject(GdiObject object) {
  return DeleteObject(toHandleOf<HGDIOBJ>(object)) != FALSE;
}

GdiObject Win32Windows::getStockObject(int id) {
  return toObject(GetStockObject(id));
}

GdiObject Win32Windows::loadIcon(std::uint32_t resourceId, int width, int height) {
  return toObject(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resourceId), IMAGE_ICON,
                             width, height, width == 0 ? LR_DEFAULTSIZE : 0));
}

GdiObject Win32Windows::loadBitmap(std::uint32_t resourceId) {
  return toObject(LoadBitmapW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resourceId)));
}

GdiObject Win32Windows::loadCursor(std::uint32_t systemId) {
  return toObject(LoadCursorW(nullptr, MAKEINTRESOURCEW(systemId)));
}

GdiObject Win32Windows::setCursor(GdiObject cursor) {
  return toObject(SetCursor(toHandleOf<HCURSOR>(cursor)));
}

bool Win32Windows::destroyIcon(GdiObject icon) {
  return DestroyIcon(toHandleOf<HICON>(icon)) != FALSE;
}

std::optional<IconPixels> Win32Windows::getIconPixels(GdiObject icon) {
  ICONINFO info{};
  if (GetIconInfo(toHandleOf<HICON>(icon), &info) == FALSE) return std::nullopt;
  IconPixels out;
  out.hotspot = {static_cast<int>(info.xHotspot), static_cast<int>(info.yHotspot)};
  out.width = out.hotspot.x * 2;
  out.height = out.hotspot.y * 2;
  BITMAPINFO header{};
  header.bmiHeader.biSize = sizeof header.bmiHeader;
  header.bmiHeader.biWidth = out.width;
  header.bmiHeader.biHeight = -out.height;
  header.bmiHeader.biPlanes = 1;
  header.bmiHeader.biBitCount = 32;
  std::vector<std::uint32_t> colour(static_cast<std::size_t>(out.width) * out.height);
  std::vector<std::uint32_t> mask(colour.size());
  HDC screen = GetDC(nullptr);
  GetDIBits(screen, info.hbmColor, 0, out.height, colour.data(), &header, DIB_RGB_COLORS);
  GetDIBits(screen, info.hbmMask, 0, out.height, mask.data(), &header, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  for (std::size_t i = 0; i < colour.size(); ++i) {
    const std::uint32_t bgra = colour[i];
    out.colour.push_back(rgb((bgra >> 16U) & 0xFFU, (bgra >> 8U) & 0xFFU, bgra & 0xFFU));
    out.alpha.push_back(static_cast<std::uint8_t>(bgra >> 24U));
    out.mask.push_back((mask[i] & 0xFFFFFFU) != 0);
  }
  return out;
}

GdiObject Win32Windows::createIcon(const IconPixels& pixels) {
  std::vector<std::uint32_t> bgra;
  std::vector<std::uint8_t> mask(static_cast<std::size_t>((pixels.width + 15) / 16 * 2) *
                                 pixels.height);
  for (int y = 0; y < pixels.height; ++y) {
    for (int x = 0; x < pixels.width; ++x) {
      const std::size_t i = static_cast<std::size_t>(y) * pixels.width + x;
      const Colour c = pixels.colour[i];
      const std::uint32_t alpha = pixels.alpha.empty() ? 255U : pixels.alpha[i];
      bgra.push_back((alpha << 24U) | (redOf(c) << 16U) | (greenOf(c) << 8U) | blueOf(c));
      if (pixels.mask[i]) {
        mask[static_cast<std::size_t>(y) * ((pixels.width + 15) / 16 * 2) + x / 8] |=
            static_cast<std::uint8_t>(0x80U >> (x % 8));
      }
    }
  }
  ICONINFO info{};
  info.fIcon = TRUE;
  info.hbmColor = CreateBitmap(pixels.width, pixels.height, 1, 32, bgra.data());
  info.hbmMask = CreateBitmap(pixels.width, pixels.height, 1, 1, mask.data());
  HICON icon = CreateIconIndirect(&info);
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  return toObject(icon);
}

std::optional<Point> Win32Windows::getBitmapSize(GdiObject bitmap) {
  BITMAP info{};
  if (GetObjectW(toHandleOf<HGDIOBJ>(bitmap), sizeof info, &info) == 0) return std::nullopt;
  return Point{info.bmWidth, info.bmHeight};
}

WindowId Win32Windows::createTooltip(WindowId owner) {
  return toWindowId(CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                                    CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                    toHwnd(owner), nullptr, GetModuleHandleW(nullptr), nullptr));
}

bool Win32Windows::addTool(WindowId tooltip, const ToolInfo& tool) {
  std::wstring text;
  TOOLINFOW info = toolInfo(tool, text);
  return SendMessageW(toHwnd(tooltip), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info)) != 0;
}

bool Win32Windows::updateToolText(WindowId tooltip, const ToolInfo& tool) {
  std::wstring text;
  TOOLINFOW info = toolInfo(tool, text);
  SendMessageW(toHwnd(tooltip), TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
  return true;
}

bool Win32Windows::activateTooltip(WindowId tooltip, bool active) {
  SendMessageW(toHwnd(tooltip), TTM_ACTIVATE, active ? TRUE : FALSE, 0);
  return true;
}

int Win32Windows::setTooltipMaxWidth(WindowId tooltip, int pixels) {
  return static_cast<int>(SendMessageW(toHwnd(tooltip), TTM_SETMAXTIPWIDTH, 0, pixels));
}

int Win32Windows::toolCount(WindowId tooltip) {
  return static_cast<int>(SendMessageW(toHwnd(tooltip), TTM_GETTOOLCOUNT, 0, 0));
}

void Win32Windows::relayTooltipEvent(WindowId tooltip, WindowId from, const Message& message) {
  MSG msg{};
  msg.hwnd = toHwnd(from);
  msg.message = message.id;
  msg.wParam = message.wParam;
  msg.lParam = message.lParam;
  SendMessageW(toHwnd(tooltip), TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
}

bool Win32Windows::destroyWindow(WindowId window) {
  return DestroyWindow(toHwnd(window)) != FALSE;
}

MenuId Win32Windows::loadMenu(std::uint32_t resourceId) {
  return reinterpret_cast<MenuId>(
      LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resourceId)));
}

MenuId Win32Windows::getSubMenu(MenuId menu, int position) {
  return reinterpret_cast<MenuId>(GetSubMenu(toHmenu(menu), position));
}

bool Win32Windows::trackPopupMenu(MenuId menu, Point screen, WindowId owner) {
  return TrackPopupMenu(toHmenu(menu), TPM_LEFTALIGN | TPM_RIGHTBUTTON, screen.x, screen.y, 0,
                        toHwnd(owner), nullptr) != FALSE;
}

bool Win32Windows::destroyMenu(MenuId menu) {
  return DestroyMenu(toHmenu(menu)) != FALSE;
}

bool Win32Windows::modifyMenu(MenuId menu, std::uintptr_t command, Dword flags,
                              std::uintptr_t newId, const std::wstring& text) {
  return ModifyMenuW(toHmenu(menu), static_cast<UINT>(command), MF_BYCOMMAND | flags, newId,
                     text.c_str()) != FALSE;
}

namespace {

// A system DLL loaded by name for the length of one call.
class LoadedLibrary {
 public:
  explicit LoadedLibrary(const wchar_t* name) : module_(LoadLibraryW(name)) {}
  LoadedLibrary(const LoadedLibrary&) = delete;
  LoadedLibrary& operator=(const LoadedLibrary&) = delete;
  ~LoadedLibrary() {
    if (module_ != nullptr) FreeLibrary(module_);
  }
  template <class Function>
  [[nodiscard]] Function* find(const char* name) const {
    if (module_ == nullptr) return nullptr;
    return reinterpret_cast<Function*>(reinterpret_cast<void (*)()>(GetProcAddress(module_, name)));
  }

 private:
  HMODULE module_;
};

using SetLayeredFunction = BOOL WINAPI(HWND, COLORREF, BYTE, DWORD);

}  // namespace

Dword Win32Windows::setLayeredWindowAttributes(WindowId window, Colour key, std::uint8_t alpha,
                                               Dword flags) {
  const LoadedLibrary user32(L"User32.DLL");
  auto* setLayered = user32.find<SetLayeredFunction>("SetLayeredWindowAttributes");
  if (setLayered == nullptr) return kErrorProcNotFound;
  if (setLayered(toHwnd(window), key, alpha, flags) != FALSE) return kErrorSuccess;
  return GetLastError();
}
}  // namespace plat::win32
