// A canvas on a GDI device context.
#pragma once

#include "platform/win32/win32_ports.h"

namespace plat::win32 {

class HdcCanvas : public Canvas {
 public:
  HdcCanvas(HDC dc, const Rect& bounds) : dc_(dc), bounds_(bounds) {}
  [[nodiscard]] Rect bounds() const override { return bounds_; }
  void fillRect(const Rect& rect, Colour colour) override;
  void draw3dRect(const Rect& rect, Colour topLeft, Colour bottomRight) override;
  void drawFocusRect(const Rect& rect) override;
  void selectFont(GdiObject font) override;
  void setTextColour(Colour colour) override;
  Rect drawText(const std::wstring& text, const Rect& rect, Dword format) override;
  void drawIcon(GdiObject icon, Point at, int width, int height, bool disabled) override;
  void stretchBitmap(GdiObject bitmap, const Rect& dest) override;
  GdiObject captureBitmap(const Rect& rect) override;
  void drawBitmap(GdiObject bitmap, Point at) override;

 protected:
  HDC dc() const { return dc_; }

 private:
  HDC dc_;
  Rect bounds_;
};

// The PAINTSTRUCT, made before the canvas that BeginPaint fills it for.
struct PaintState {
  PAINTSTRUCT paint{};
};

// BeginPaint on construction, EndPaint on destruction.
class PaintCanvas final : private PaintState, public HdcCanvas {
 public:
  explicit PaintCanvas(HWND window);
  PaintCanvas(const PaintCanvas&) = delete;
  PaintCanvas& operator=(const PaintCanvas&) = delete;
  ~PaintCanvas() override;

 private:
  HWND window_;
};

inline RECT toRECT(const Rect& r) {
  return {r.left, r.top, r.right, r.bottom};
}
inline Rect fromRECT(const RECT& r) {
  return {r.left, r.top, r.right, r.bottom};
}

}  // namespace plat::win32
