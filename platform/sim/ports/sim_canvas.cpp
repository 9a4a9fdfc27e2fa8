// The canvas that paints a simulated window's surface, and the text layout
// of its drawText.
#include "platform/sim/ports/sim_canvas.h"

#include <algorithm>
#include <cmath>
#include <mutex>

#include "platform/sim/machine_state.h"
#include "platform/sim/text_render.h"

namespace plat::sim {

namespace {

constexpr unsigned kOpaque = 255;
constexpr unsigned kHalf = 128;
constexpr Colour kShadow = rgb(160, 160, 160);
constexpr Colour kHighlight = rgb(255, 255, 255);

bool isWide(wchar_t c) {
  return c >= 0x1100;  // Hangul, Han and the rest break between any two
}

}  // namespace

// ---------------------------------------------------------------------------
// Text layout

std::vector<std::wstring> layoutLines(const FontSpec& font, const std::wstring& text, int width,
                                      bool wrap) {
  std::vector<std::wstring> lines;
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t end = std::min(text.find(L'\n', start), text.size());
    std::wstring paragraph = text.substr(start, end - start);
    if (!paragraph.empty() && paragraph.back() == L'\r') paragraph.pop_back();
    std::wstring line;
    std::size_t i = 0;
    while (wrap && i < paragraph.size()) {
      // The next piece: a word with its trailing space, or one wide character.
      std::size_t next = i + 1;
      if (!isWide(paragraph[i])) {
        while (next < paragraph.size() && paragraph[next] != L' ' && !isWide(paragraph[next])) {
          ++next;
        }
        while (next < paragraph.size() && paragraph[next] == L' ') ++next;
      }
      const std::wstring piece = paragraph.substr(i, next - i);
      std::wstring trimmed = line + piece;
      while (!trimmed.empty() && trimmed.back() == L' ') trimmed.pop_back();
      if (!line.empty() && textWidth(font, trimmed) > width) {
        while (!line.empty() && line.back() == L' ') line.pop_back();
        lines.push_back(line);
        line.clear();
      }
      line += piece;
      i = next;
    }
    if (!wrap) line = paragraph;
    while (!line.empty() && line.back() == L' ') line.pop_back();
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

// ---------------------------------------------------------------------------
// SimCanvas

SimCanvas::SimCanvas(MachineState& machine, WindowId window) : machine_(machine), window_(window) {
  std::scoped_lock lock(machine_.mutex);
  topLevel_ = machine_.windows.topLevelOf(window);
  origin_ = machine_.windows.offsetInTopLevel(window);
  size_ = machine_.windows.clientRect(window);
}

Rect SimCanvas::bounds() const {
  return size_;
}

Image* SimCanvas::surface() {
  SimWindow* top = machine_.windows.find(topLevel_);
  return top == nullptr ? nullptr : &top->surface;
}

void SimCanvas::put(Point at, Colour colour, unsigned coverage) {
  if (!size_.contains(at)) return;
  Image* image = surface();
  const int x = at.x + origin_.x;
  const int y = at.y + origin_.y;
  if (image == nullptr || x < 0 || y < 0 || x >= image->width || y >= image->height) return;
  image->at(x, y) = coverage >= kOpaque ? colour : blend(image->at(x, y), colour, coverage);
}

FontSpec SimCanvas::font() const {
  if (const auto* fontSpec = machine_.gdi.find<FontSpec>(font_)) return *fontSpec;
  const SimWindow* w = machine_.windows.find(window_);
  if (w != nullptr) {
    if (const auto* fontSpec = machine_.gdi.find<FontSpec>(w->font)) return *fontSpec;
  }
  const SimWindow* top = machine_.windows.find(topLevel_);
  return top != nullptr ? top->dialogFont : FontSpec{};
}

void SimCanvas::fillRect(const Rect& rect, Colour colour) {
  std::scoped_lock lock(machine_.mutex);
  for (int y = std::max(rect.top, size_.top); y < std::min(rect.bottom, size_.bottom); ++y) {
    for (int x = std::max(rect.left, size_.left); x < std::min(rect.right, size_.right); ++x) {
      put({x, y}, colour);
    }
  }
}

void SimCanvas::draw3dRect(const Rect& rect, Colour topLeft, Colour bottomRight) {
  std::scoped_lock lock(machine_.mutex);
  for (int x = rect.left; x < rect.right - 1; ++x) put({x, rect.top}, topLeft);
  for (int y = rect.top; y < rect.bottom - 1; ++y) put({rect.left, y}, topLeft);
  for (int x = rect.left; x < rect.right; ++x) put({x, rect.bottom - 1}, bottomRight);
  for (int y = rect.top; y < rect.bottom; ++y) put({rect.right - 1, y}, bottomRight);
}

void SimCanvas::drawFocusRect(const Rect& rect) {
  std::scoped_lock lock(machine_.mutex);
  const Colour dots = rgb(0, 0, 0);
  for (int x = rect.left; x < rect.right; x += 2) {
    put({x, rect.top}, dots);
    put({x, rect.bottom - 1}, dots);
  }
  for (int y = rect.top; y < rect.bottom; y += 2) {
    put({rect.left, y}, dots);
    put({rect.right - 1, y}, dots);
  }
}

void SimCanvas::selectFont(GdiObject font) {
  font_ = font;
}

void SimCanvas::setTextColour(Colour colour) {
  textColour_ = colour;
}

Rect SimCanvas::drawText(const std::wstring& text, const Rect& rect, Dword format) {
  std::unique_lock lock(machine_.mutex);
  const FontSpec fontSpec = font();
  lock.unlock();
  const bool single = (format & kDtSingleLine) != 0;
  const auto lines =
      layoutLines(fontSpec, text, rect.width(), !single && (format & kDtWordBreak) != 0);
  const int lineHeight = textMetrics(fontSpec).height;
  int widest = 0;
  std::vector<int> widths;
  for (const auto& line : lines) {
    widths.push_back(textWidth(fontSpec, line));
    widest = std::max(widest, widths.back());
  }
  const int height = lineHeight * static_cast<int>(lines.size());
  if ((format & kDtCalcRect) != 0) {
    return {rect.left, rect.top, rect.left + widest, rect.top + height};
  }
  int top = rect.top;
  if (single && (format & kDtVCenter) != 0) top += (rect.height() - lineHeight) / 2;
  lock.lock();
  Image* image = surface();
  if (image == nullptr) return rect;
  const Rect clip = Rect{std::max(rect.left, size_.left), std::max(rect.top, size_.top),
                         std::min(rect.right, size_.right), std::min(rect.bottom, size_.bottom)}
                        .offset(origin_.x, origin_.y);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    int x = rect.left;
    if ((format & kDtCenter) != 0) x += (rect.width() - widths[i]) / 2;
    if ((format & kDtRight) != 0) x = rect.right - widths[i];
    const std::wstring& line = lines[i];
    const int lineTop = top + lineHeight * static_cast<int>(i) + origin_.y;
    lock.unlock();
    // The surface stays in place while the window exists, and only this
    // window's thread paints it.
    drawTextLine(*image, clip, x + origin_.x, lineTop, fontSpec, line, textColour_);
    lock.lock();
  }
  return {rect.left, top, rect.left + widest, top + height};
}

void SimCanvas::drawIcon(GdiObject icon, Point at, int width, int height, bool disabled) {
  (void)width;
  (void)height;
  std::scoped_lock lock(machine_.mutex);
  const IconPixels* pixels = machine_.gdi.find<IconPixels>(icon);
  if (pixels == nullptr) return;
  auto alphaAt = [pixels](std::size_t i) {
    if (pixels->mask[i]) return 0U;
    return pixels->alpha.empty() ? kOpaque : static_cast<unsigned>(pixels->alpha[i]);
  };
  // A disabled icon is embossed: its shape in the highlight colour moved by
  // (1, 1), then in the shadow colour in place.
  for (int pass = disabled ? 0 : 1; pass < 2; ++pass) {
    for (int y = 0; y < pixels->height; ++y) {
      for (int x = 0; x < pixels->width; ++x) {
        const std::size_t i = static_cast<std::size_t>(y) * pixels->width + x;
        const unsigned alpha = alphaAt(i);
        if (alpha == 0) continue;
        if (!disabled) {
          put({at.x + x, at.y + y}, pixels->colour[i], alpha);
        } else if (alpha >= kHalf) {
          put({at.x + x + (pass == 0 ? 1 : 0), at.y + y + (pass == 0 ? 1 : 0)},
              pass == 0 ? kHighlight : kShadow);
        }
      }
    }
  }
}

void SimCanvas::stretchBitmap(GdiObject bitmap, const Rect& dest) {
  std::scoped_lock lock(machine_.mutex);
  const Image* source = machine_.gdi.find<Image>(bitmap);
  if (source == nullptr || dest.width() <= 0 || dest.height() <= 0) return;
  // HALFTONE averages the source pixels that fall on each target pixel.
  const double sx = static_cast<double>(source->width) / dest.width();
  const double sy = static_cast<double>(source->height) / dest.height();
  for (int y = 0; y < dest.height(); ++y) {
    const int y0 = static_cast<int>(y * sy);
    const int y1 = std::max(y0 + 1, std::min(source->height, static_cast<int>((y + 1) * sy)));
    for (int x = 0; x < dest.width(); ++x) {
      const int x0 = static_cast<int>(x * sx);
      const int x1 = std::max(x0 + 1, std::min(source->width, static_cast<int>((x + 1) * sx)));
      unsigned r = 0;
      unsigned g = 0;
      unsigned b = 0;
      for (int yy = y0; yy < y1; ++yy) {
        for (int xx = x0; xx < x1; ++xx) {
          const Colour c = source->at(xx, yy);
          r += redOf(c);
          g += greenOf(c);
          b += blueOf(c);
        }
      }
      const auto n = static_cast<unsigned>((x1 - x0) * (y1 - y0));
      put({dest.left + x, dest.top + y}, rgb(r / n, g / n, b / n));
    }
  }
}

GdiObject SimCanvas::captureBitmap(const Rect& rect) {
  std::scoped_lock lock(machine_.mutex);
  Image captured(std::max(0, rect.width()), std::max(0, rect.height()));
  const Image* image = surface();
  for (int y = 0; image != nullptr && y < captured.height; ++y) {
    for (int x = 0; x < captured.width; ++x) {
      const int ix = rect.left + x + origin_.x;
      const int iy = rect.top + y + origin_.y;
      if (ix >= 0 && iy >= 0 && ix < image->width && iy < image->height) {
        captured.at(x, y) = image->at(ix, iy);
      }
    }
  }
  return machine_.gdi.add(std::move(captured));
}

void SimCanvas::drawBitmap(GdiObject bitmap, Point at) {
  std::scoped_lock lock(machine_.mutex);
  const Image* source = machine_.gdi.find<Image>(bitmap);
  if (source == nullptr) return;
  for (int y = 0; y < source->height; ++y) {
    for (int x = 0; x < source->width; ++x) put({at.x + x, at.y + y}, source->at(x, y));
  }
}

}  // namespace plat::sim
