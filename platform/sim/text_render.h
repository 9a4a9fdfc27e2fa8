// Text on the simulated screen: the Windows font names the programs ask
// for, mapped to the installed Debian fonts (Liberation, DejaVu, Noto CJK),
// with a CJK fallback for characters the chosen font lacks.
#pragma once

#include <string>

#include "platform/api/canvas.h"
#include "platform/sim/image.h"

namespace plat::sim {

struct TextMetrics {
  int height = 0;  // the cell height of a line
  int ascent = 0;
};

// Thread-safe; fonts load on first use. Without any font file installed
// text measures as zero and draws nothing.
TextMetrics textMetrics(const FontSpec& font);
int textWidth(const FontSpec& font, const std::wstring& text);
// One line with its cell's top-left at (x, top), clipped to `clip`.
void drawTextLine(Image& image, const Rect& clip, int x, int top, const FontSpec& font,
                  const std::wstring& text, Colour colour);

}  // namespace plat::sim
