// Drawing: colours, rectangles, GDI objects and the canvas a window or an
// owner-drawn control paints on (a device context of GDI32).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/api/types.h"

namespace plat {

// A COLORREF: 0x00BBGGRR.
using Colour = std::uint32_t;
constexpr Colour rgb(unsigned r, unsigned g, unsigned b) {
  return (r & 0xFFU) | ((g & 0xFFU) << 8U) | ((b & 0xFFU) << 16U);
}
constexpr unsigned redOf(Colour c) {
  return c & 0xFFU;
}
constexpr unsigned greenOf(Colour c) {
  return (c >> 8U) & 0xFFU;
}
constexpr unsigned blueOf(Colour c) {
  return (c >> 16U) & 0xFFU;
}

struct Point {
  int x = 0;
  int y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  [[nodiscard]] int width() const { return right - left; }
  [[nodiscard]] int height() const { return bottom - top; }
  [[nodiscard]] bool contains(Point p) const {
    return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
  }
  [[nodiscard]] Rect offset(int dx, int dy) const {
    return {left + dx, top + dy, right + dx, bottom + dy};
  }
  friend bool operator==(const Rect&, const Rect&) = default;
};

// A GDI or USER object handle: font, bitmap, icon, cursor or brush; 0 is
// "none".
using GdiObject = std::uintptr_t;
inline constexpr GdiObject kNoObject = 0;

// The stock brushes the system code answers control-colour requests with
// (GetStockObject ids).
inline constexpr int kWhiteBrush = 0;
inline constexpr int kNullBrush = 5;

// The LOGFONTW fields CreateFontIndirectW reads. A positive height is the
// cell height in pixels, a negative one the character height.
struct FontSpec {
  int height = 0;
  int width = 0;
  int weight = 400;
  bool italic = false;
  bool underline = false;
  std::uint8_t charSet = 0;
  std::uint8_t outPrecision = 0;
  std::uint8_t clipPrecision = 0;
  std::uint8_t quality = 0;
  std::uint8_t pitchAndFamily = 0;
  std::wstring face;
};
inline constexpr int kFwBold = 700;
inline constexpr std::uint8_t kProofQuality = 2;
inline constexpr std::uint8_t kVariablePitch = 2;
inline constexpr std::uint8_t kFfRoman = 0x10;

// An icon's colour picture and mask as GetIconInfo and GetDIBits give them:
// `colour` holds width × height pixels, top row first; a set mask bit is a
// transparent pixel.
struct IconPixels {
  int width = 0;
  int height = 0;
  std::vector<Colour> colour;
  std::vector<std::uint8_t> alpha;  // 255 opaque; empty when the icon has none
  std::vector<bool> mask;
  Point hotspot;
};

// System colours (GetSysColor).
inline constexpr int kColorWindow = 5;
inline constexpr int kColorBtnFace = 15;
inline constexpr int kColorBtnShadow = 16;
inline constexpr int kColorBtnText = 18;
inline constexpr int kColorBtnHighlight = 20;

// DrawTextW formats.
inline constexpr Dword kDtLeft = 0x0000;
inline constexpr Dword kDtCenter = 0x0001;
inline constexpr Dword kDtRight = 0x0002;
inline constexpr Dword kDtVCenter = 0x0004;
inline constexpr Dword kDtWordBreak = 0x0010;
inline constexpr Dword kDtSingleLine = 0x0020;
inline constexpr Dword kDtCalcRect = 0x0400;

// A device context. Coordinates are those of the window or control it
// paints; what falls outside is clipped.
class Canvas {
 public:
  Canvas() = default;
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;
  virtual ~Canvas() = default;

  // The area being painted, in the canvas's coordinates.
  [[nodiscard]] virtual Rect bounds() const = 0;
  // FillRect with a solid brush of `colour`.
  virtual void fillRect(const Rect& rect, Colour colour) = 0;
  // A one-pixel frame: top and left in `topLeft`, bottom and right in
  // `bottomRight` (CDC::Draw3dRect).
  virtual void draw3dRect(const Rect& rect, Colour topLeft, Colour bottomRight) = 0;
  virtual void drawFocusRect(const Rect& rect) = 0;
  // SelectObject of a font (kNoObject: the window's own font), SetTextColor.
  virtual void selectFont(GdiObject font) = 0;
  virtual void setTextColour(Colour colour) = 0;
  // DrawTextW: draws `text` in `rect` (or, with kDtCalcRect, only measures
  // it) and returns the rectangle the text takes.
  virtual Rect drawText(const std::wstring& text, const Rect& rect, Dword format) = 0;
  // DrawStateW with DST_ICON, greyed with DSS_DISABLED.
  virtual void drawIcon(GdiObject icon, Point at, int width, int height, bool disabled) = 0;
  // A bitmap stretched over `dest` with StretchBlt in HALFTONE mode.
  virtual void stretchBitmap(GdiObject bitmap, const Rect& dest) = 0;
  // The pixels under `rect` into a new bitmap (CreateCompatibleBitmap and
  // BitBlt from this canvas), and such a bitmap drawn back at `at`.
  virtual GdiObject captureBitmap(const Rect& rect) = 0;
  virtual void drawBitmap(GdiObject bitmap, Point at) = 0;
};

}  // namespace plat
