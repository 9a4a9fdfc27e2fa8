// The canvas of the simulated window port.
#pragma once

#include <string>
#include <vector>

#include "platform/api/canvas.h"
#include "platform/sim/image.h"

namespace plat::sim {

class MachineState;

// Paints `window` (a top-level window or a control) onto its top-level
// window's surface; every call takes the machine's lock.
class SimCanvas final : public Canvas {
 public:
  SimCanvas(MachineState& machine, WindowId window);
  [[nodiscard]] Rect bounds() const override;
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

 private:
  Image* surface();
  void put(Point at, Colour colour, unsigned coverage = 255);
  [[nodiscard]] FontSpec font() const;

  MachineState& machine_;
  WindowId window_;
  WindowId topLevel_ = kNoWindow;
  Point origin_;  // of the window in its top-level window's client area
  Rect size_;
  GdiObject font_ = kNoObject;
  Colour textColour_ = 0;
};

// Word-wrapped lines of `text` no wider than `width` (when wrapping).
std::vector<std::wstring> layoutLines(const FontSpec& font, const std::wstring& text, int width,
                                      bool wrap);

}  // namespace plat::sim
