#include "platform/win32/win32_canvas.h"

namespace plat::win32 {

namespace {

// A memory device context with a bitmap selected into it, both released
// in the reverse order.
class MemoryDc {
 public:
  MemoryDc(HDC compatible, HGDIOBJ bitmap)
      : dc_(CreateCompatibleDC(compatible)), previous_(SelectObject(dc_, bitmap)) {}
  MemoryDc(const MemoryDc&) = delete;
  MemoryDc& operator=(const MemoryDc&) = delete;
  ~MemoryDc() {
    SelectObject(dc_, previous_);
    DeleteDC(dc_);
  }
  [[nodiscard]] HDC get() const { return dc_; }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

}  // namespace

void HdcCanvas::fillRect(const Rect& rect, Colour colour) {
  HBRUSH brush = CreateSolidBrush(colour);
  const RECT r = toRECT(rect);
  FillRect(dc_, &r, brush);
  DeleteObject(brush);
}

void HdcCanvas::draw3dRect(const Rect& rect, Colour topLeft, Colour bottomRight) {
  fillRect({rect.left, rect.top, rect.right - 1, rect.top + 1}, topLeft);
  fillRect({rect.left, rect.top, rect.left + 1, rect.bottom - 1}, topLeft);
  fillRect({rect.right - 1, rect.top, rect.right, rect.bottom}, bottomRight);
  fillRect({rect.left, rect.bottom - 1, rect.right, rect.bottom}, bottomRight);
}

void HdcCanvas::drawFocusRect(const Rect& rect) {
  const RECT r = toRECT(rect);
  DrawFocusRect(dc_, &r);
}

void HdcCanvas::selectFont(GdiObject font) {
  if (font != kNoObject) SelectObject(dc_, reinterpret_cast<HGDIOBJ>(font));
}

void HdcCanvas::setTextColour(Colour colour) {
  SetTextColor(dc_, colour);
  SetBkMode(dc_, TRANSPARENT);
}

Rect HdcCanvas::drawText(const std::wstring& text, const Rect& rect, Dword format) {
  RECT r = toRECT(rect);
  DrawTextW(dc_, text.c_str(), static_cast<int>(text.size()), &r, format);
  return fromRECT(r);
}

void HdcCanvas::drawIcon(GdiObject icon, Point at, int width, int height, bool disabled) {
  DrawStateW(dc_, nullptr, nullptr, static_cast<LPARAM>(icon), 0, at.x, at.y, width, height,
             DST_ICON | (disabled ? DSS_DISABLED : DSS_NORMAL));
}

void HdcCanvas::stretchBitmap(GdiObject bitmap, const Rect& dest) {
  BITMAP info{};
  if (GetObjectW(reinterpret_cast<HGDIOBJ>(bitmap), sizeof info, &info) == 0) return;
  const MemoryDc source(dc_, reinterpret_cast<HGDIOBJ>(bitmap));
  SetStretchBltMode(dc_, HALFTONE);
  StretchBlt(dc_, dest.left, dest.top, dest.width(), dest.height(), source.get(), 0, 0,
             info.bmWidth, info.bmHeight, SRCCOPY);
}

GdiObject HdcCanvas::captureBitmap(const Rect& rect) {
  HBITMAP bitmap = CreateCompatibleBitmap(dc_, rect.width(), rect.height());
  if (bitmap == nullptr) return kNoObject;
  const MemoryDc target(dc_, bitmap);
  BitBlt(target.get(), 0, 0, rect.width(), rect.height(), dc_, rect.left, rect.top, SRCCOPY);
  return reinterpret_cast<GdiObject>(bitmap);
}

void HdcCanvas::drawBitmap(GdiObject bitmap, Point at) {
  BITMAP info{};
  if (GetObjectW(reinterpret_cast<HGDIOBJ>(bitmap), sizeof info, &info) == 0) return;
  const MemoryDc source(dc_, reinterpret_cast<HGDIOBJ>(bitmap));
  BitBlt(dc_, at.x, at.y, info.bmWidth, info.bmHeight, source.get(), 0, 0, SRCCOPY);
}

namespace {

Rect clientOf(HWND window) {
  RECT r{};
  GetClientRect(window, &r);
  return fromRECT(r);
}

}  // namespace

PaintCanvas::PaintCanvas(HWND window)
    : HdcCanvas(BeginPaint(window, &paint), clientOf(window)), window_(window) {}

PaintCanvas::~PaintCanvas() {
  EndPaint(window_, &paint);
}

}  // namespace plat::win32
