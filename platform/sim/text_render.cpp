#include "platform/sim/text_render.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <array>
#include <filesystem>
#include <map>
#include <mutex>

namespace plat::sim {

namespace {

constexpr int kBoldWeight = 600;
constexpr long kSimplifiedChineseIndex = 2;  // the SC face of the Noto CJK collections
constexpr int kSubpixels = 64;

struct FontFile {
  const char* path;
  long index;
};

enum class Family { Sans, CjkSans, CjkSerif };

Family familyOf(const std::wstring& face) {
  if (face == L"宋体" || face == L"SimSun" || face == L"新宋体" || face == L"NSimSun") {
    return Family::CjkSerif;
  }
  if (face == L"微软雅黑" || face == L"Microsoft YaHei" || face == L"Malgun Gothic" ||
      face == L"맑은 고딕" || face == L"黑体" || face == L"SimHei") {
    return Family::CjkSans;
  }
  return Family::Sans;  // Arial, MS Shell Dlg, Tahoma, Segoe UI and the rest
}

std::vector<FontFile> candidates(Family family, bool bold) {
  switch (family) {
    case Family::CjkSerif:
      return {{bold ? "/usr/share/fonts/opentype/noto/NotoSerifCJK-Bold.ttc"
                    : "/usr/share/fonts/opentype/noto/NotoSerifCJK-Regular.ttc",
               kSimplifiedChineseIndex}};
    case Family::CjkSans:
      break;
    case Family::Sans:
      return {{bold ? "/usr/share/fonts/truetype/liberation/LiberationSans-Bold.ttf"
                    : "/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf",
               0},
              {bold ? "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"
                    : "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
               0}};
  }
  return {{bold ? "/usr/share/fonts/opentype/noto/NotoSansCJK-Bold.ttc"
                : "/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc",
           kSimplifiedChineseIndex}};
}

class Fonts {
 public:
  Fonts() { ready_ = FT_Init_FreeType(&library_) == 0; }
  Fonts(const Fonts&) = delete;
  Fonts& operator=(const Fonts&) = delete;
  ~Fonts() {
    for (auto& [key, face] : faces_) FT_Done_Face(face);
    if (ready_) FT_Done_FreeType(library_);
  }

  std::mutex mutex;

  // The face for `font` and the fallback for characters it lacks, sized.
  std::array<FT_Face, 2> faces(const FontSpec& font) {
    const bool bold = font.weight >= kBoldWeight;
    std::array<FT_Face, 2> out{open(familyOf(font.face), bold), open(Family::CjkSans, bold)};
    if (out[0] == nullptr) out[0] = out[1];
    if (out[1] == nullptr) out[1] = out[0];
    for (FT_Face face : out) {
      if (face != nullptr) FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(emPixels(font, face)));
    }
    return out;
  }

  static int emPixels(const FontSpec& font, FT_Face face) {
    if (font.height < 0) return -font.height;
    const int cell = font.height == 0 ? 16 : font.height;
    const long span = face->ascender - face->descender;
    if (span <= 0) return cell;
    return std::max(1, static_cast<int>(cell * static_cast<long>(face->units_per_EM) / span));
  }

 private:
  FT_Face open(Family family, bool bold) {
    for (const FontFile& file : candidates(family, bold)) {
      const auto key = std::make_pair(std::string(file.path), file.index);
      const auto found = faces_.find(key);
      if (found != faces_.end()) return found->second;
      if (!ready_ || !std::filesystem::exists(file.path)) continue;
      FT_Face face = nullptr;
      if (FT_New_Face(library_, file.path, file.index, &face) != 0) continue;
      faces_.emplace(key, face);
      return face;
    }
    return nullptr;
  }

  bool ready_ = false;
  FT_Library library_ = nullptr;
  std::map<std::pair<std::string, long>, FT_Face> faces_;
};

Fonts& fonts() {
  static Fonts instance;
  return instance;
}

FT_Face faceFor(const std::array<FT_Face, 2>& faces, wchar_t c) {
  if (faces[0] != nullptr && FT_Get_Char_Index(faces[0], static_cast<FT_ULong>(c)) != 0) {
    return faces[0];
  }
  return faces[1];
}

}  // namespace

TextMetrics textMetrics(const FontSpec& font) {
  Fonts& all = fonts();
  std::scoped_lock lock(all.mutex);
  FT_Face face = all.faces(font)[0];
  if (face == nullptr) return {};
  const auto& m = face->size->metrics;
  return {static_cast<int>((m.ascender - m.descender + kSubpixels / 2) / kSubpixels),
          static_cast<int>((m.ascender + kSubpixels / 2) / kSubpixels)};
}

int textWidth(const FontSpec& font, const std::wstring& text) {
  Fonts& all = fonts();
  std::scoped_lock lock(all.mutex);
  const auto faces = all.faces(font);
  long width = 0;
  for (const wchar_t c : text) {
    FT_Face face = faceFor(faces, c);
    if (face == nullptr || FT_Load_Char(face, static_cast<FT_ULong>(c), FT_LOAD_DEFAULT) != 0) {
      continue;
    }
    width += face->glyph->advance.x;
  }
  return static_cast<int>((width + kSubpixels / 2) / kSubpixels);
}

void drawTextLine(Image& image, const Rect& clip, int x, int top, const FontSpec& font,
                  const std::wstring& text, Colour colour) {
  Fonts& all = fonts();
  std::scoped_lock lock(all.mutex);
  const auto faces = all.faces(font);
  if (faces[0] == nullptr) return;
  const int baseline =
      top + static_cast<int>((faces[0]->size->metrics.ascender + kSubpixels / 2) / kSubpixels);
  long penX = static_cast<long>(x) * kSubpixels;
  for (const wchar_t c : text) {
    FT_Face face = faceFor(faces, c);
    if (FT_Load_Char(face, static_cast<FT_ULong>(c), FT_LOAD_RENDER) != 0) continue;
    FT_GlyphSlot glyph = face->glyph;
    const FT_Bitmap& bitmap = glyph->bitmap;
    const int left = static_cast<int>(penX / kSubpixels) + glyph->bitmap_left;
    const int glyphTop = baseline - glyph->bitmap_top;
    for (unsigned row = 0; row < bitmap.rows; ++row) {
      for (unsigned col = 0; col < bitmap.width; ++col) {
        const Point p{left + static_cast<int>(col), glyphTop + static_cast<int>(row)};
        if (!clip.contains(p) || p.x < 0 || p.y < 0 || p.x >= image.width || p.y >= image.height) {
          continue;
        }
        const unsigned coverage = bitmap.buffer[row * static_cast<unsigned>(bitmap.pitch) + col];
        if (coverage != 0) image.at(p.x, p.y) = blend(image.at(p.x, p.y), colour, coverage);
      }
    }
    penX += glyph->advance.x;
  }
}

}  // namespace plat::sim
