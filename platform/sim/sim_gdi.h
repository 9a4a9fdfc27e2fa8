// GDI and USER objects of the simulated machine (fonts, bitmaps, icons,
// cursors, stock brushes) and the canvas that paints a window's surface.
#pragma once

#include <map>
#include <optional>
#include <variant>

#include "platform/api/canvas.h"
#include "platform/sim/image.h"

namespace plat::sim {

class MachineState;

struct StockBrush {
  int id = 0;
};
struct SystemCursor {
  std::uint32_t id = 0;
};
using GdiValue = std::variant<FontSpec, Image, IconPixels, SystemCursor, StockBrush>;

class GdiTable {
 public:
  GdiObject add(GdiValue value);
  // Removes an object of kind T; false for another kind or an unknown one.
  template <class T>
  bool remove(GdiObject object) {
    const auto found = objects_.find(object);
    if (found == objects_.end() || !std::holds_alternative<T>(found->second) || isStock(object)) {
      return false;
    }
    objects_.erase(found);
    return true;
  }
  template <class T>
  const T* find(GdiObject object) const {
    const auto found = objects_.find(object);
    return found == objects_.end() ? nullptr : std::get_if<T>(&found->second);
  }
  GdiObject stockBrush(int id);
  GdiObject cursor(std::uint32_t id);
  // Objects made by the programs and not yet deleted (stock objects and
  // system cursors do not count).
  [[nodiscard]] std::size_t liveObjects() const { return objects_.size() - shared_.size(); }

 private:
  [[nodiscard]] bool isStock(GdiObject object) const;
  std::map<GdiObject, GdiValue> objects_;
  std::map<GdiObject, bool> shared_;
  GdiObject next_ = 0x10000;
};

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
