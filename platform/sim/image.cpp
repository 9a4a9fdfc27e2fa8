#include "platform/sim/image.h"

#include <png.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>

namespace plat::sim {

namespace {

constexpr std::size_t kBmpFileHeader = 14;
constexpr std::size_t kInfoHeader = 40;
constexpr std::size_t kIconDirHeader = 6;
constexpr std::size_t kIconDirEntry = 16;
constexpr unsigned kOpaque = 255;

std::optional<std::vector<std::uint8_t>> readAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

std::uint32_t le(const std::vector<std::uint8_t>& d, std::size_t at, int bytes) {
  std::uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8U) | d[at + static_cast<std::size_t>(i)];
  return v;
}

// A bottom-up DIB of 24 or 32 bits at `at` (its BITMAPINFOHEADER), with
// `rows` rows; the pixels and, for 32 bits, the alpha channel.
bool readDib(const std::vector<std::uint8_t>& d, std::size_t at, std::size_t pixelsAt, int rows,
             Image& out, std::vector<std::uint8_t>* alpha) {
  if (at + kInfoHeader > d.size()) return false;
  const auto width = static_cast<int>(le(d, at + 4, 4));
  const auto bits = le(d, at + 14, 2);
  if (width <= 0 || rows <= 0 || (bits != 24 && bits != 32) || le(d, at + 16, 4) != 0) {
    return false;
  }
  const std::size_t bytesPerPixel = bits / 8;
  const std::size_t stride = (width * bytesPerPixel + 3) / 4 * 4;
  if (pixelsAt + stride * rows > d.size()) return false;
  out = Image(width, rows);
  if (alpha != nullptr) alpha->assign(static_cast<std::size_t>(width) * rows, kOpaque);
  for (int y = 0; y < rows; ++y) {
    const std::size_t row = pixelsAt + stride * (rows - 1 - y);
    for (int x = 0; x < width; ++x) {
      const std::size_t p = row + x * bytesPerPixel;
      out.at(x, y) = rgb(d[p + 2], d[p + 1], d[p]);
      if (alpha != nullptr && bits == 32) {
        (*alpha)[static_cast<std::size_t>(y) * width + x] = d[p + 3];
      }
    }
  }
  return true;
}

}  // namespace

Colour blend(Colour base, Colour colour, unsigned coverage) {
  auto mix = [coverage](unsigned a, unsigned b) {
    return (a * (kOpaque - coverage) + b * coverage + kOpaque / 2) / kOpaque;
  };
  return rgb(mix(redOf(base), redOf(colour)), mix(greenOf(base), greenOf(colour)),
             mix(blueOf(base), blueOf(colour)));
}

std::optional<Image> readBmpFile(const std::string& path) {
  const auto data = readAll(path);
  if (!data || data->size() < kBmpFileHeader + kInfoHeader || (*data)[0] != 'B' ||
      (*data)[1] != 'M') {
    return std::nullopt;
  }
  const auto height = static_cast<std::int32_t>(le(*data, kBmpFileHeader + 8, 4));
  Image image;
  if (!readDib(*data, kBmpFileHeader, le(*data, 10, 4), height, image, nullptr)) {
    return std::nullopt;
  }
  return image;
}

std::optional<IconPixels> readIcoFile(const std::string& path, int size) {
  const auto data = readAll(path);
  if (!data || data->size() < kIconDirHeader || le(*data, 2, 2) != 1) return std::nullopt;
  const std::size_t count = le(*data, 4, 2);
  std::size_t best = count;
  int bestSize = 0;
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t entry = kIconDirHeader + i * kIconDirEntry;
    if (entry + kIconDirEntry > data->size()) return std::nullopt;
    const int w = (*data)[entry] == 0 ? 256 : (*data)[entry];
    if (best == count || (w <= size && w > bestSize)) {
      best = i;
      bestSize = w;
    }
  }
  if (best == count) return std::nullopt;
  const std::size_t entry = kIconDirHeader + best * kIconDirEntry;
  const std::size_t offset = le(*data, entry + 12, 4);
  if (offset + kInfoHeader > data->size()) return std::nullopt;
  const int rows = static_cast<int>(le(*data, offset + 8, 4)) / 2;  // colour and mask
  Image colour;
  IconPixels icon;
  if (!readDib(*data, offset, offset + kInfoHeader, rows, colour, &icon.alpha)) {
    return std::nullopt;
  }
  icon.width = colour.width;
  icon.height = colour.height;
  icon.colour = std::move(colour.pixels);
  icon.hotspot = {icon.width / 2, icon.height / 2};
  icon.mask.resize(icon.colour.size());
  for (std::size_t i = 0; i < icon.mask.size(); ++i) icon.mask[i] = icon.alpha[i] == 0;
  return icon;
}

std::string writePngFile(const Image& image, const std::string& path) {
  const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "wb"),
                                                             &std::fclose);
  if (!file) return path + ": cannot write the picture";
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png == nullptr ? nullptr : png_create_info_struct(png);
  if (info == nullptr) {
    png_destroy_write_struct(&png, nullptr);
    return path + ": cannot start the PNG writer";
  }
  std::vector<png_byte> row(static_cast<std::size_t>(image.width) * 3);
  // libpng reports errors by longjmp; nothing with a destructor is created
  // between here and the end of the writing.
  if (setjmp(png_jmpbuf(png)) != 0) {  // NOLINT(cert-err52-cpp)
    png_destroy_write_struct(&png, &info);
    return path + ": cannot write the picture";
  }
  png_init_io(png, file.get());
  png_set_IHDR(png, info, static_cast<png_uint_32>(image.width),
               static_cast<png_uint_32>(image.height), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) {
      const Colour c = image.at(x, y);
      row[x * 3U] = static_cast<png_byte>(redOf(c));
      row[x * 3U + 1] = static_cast<png_byte>(greenOf(c));
      row[x * 3U + 2] = static_cast<png_byte>(blueOf(c));
    }
    png_write_row(png, row.data());
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return {};
}

}  // namespace plat::sim
