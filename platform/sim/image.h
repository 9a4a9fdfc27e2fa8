// Pixel pictures of the simulated machine: what a window shows, bitmaps
// and icons of a program's resources, and the files they come from.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/api/canvas.h"

namespace plat::sim {

// 24-bit pixels, top row first, as COLORREF values.
struct Image {
  int width = 0;
  int height = 0;
  std::vector<Colour> pixels;

  Image() = default;
  Image(int w, int h, Colour fill = 0)
      : width(w), height(h), pixels(static_cast<std::size_t>(w) * h, fill) {}
  [[nodiscard]] Colour at(int x, int y) const {
    return pixels[static_cast<std::size_t>(y) * width + x];
  }
  Colour& at(int x, int y) { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// Blends `colour` over `base` with coverage 0..255.
Colour blend(Colour base, Colour colour, unsigned coverage);

// A .bmp file of 24 or 32 bits, and the largest 32-bit picture of an .ico
// file no bigger than `size` (or the first one); nullopt for anything else.
std::optional<Image> readBmpFile(const std::string& path);
std::optional<IconPixels> readIcoFile(const std::string& path, int size);
// Writes an 8-bit RGB PNG; returns an error line, or an empty string.
std::string writePngFile(const Image& image, const std::string& path);

}  // namespace plat::sim
