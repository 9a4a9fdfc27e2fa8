#include "platform/api/registry_port.h"

#include <type_traits>

namespace plat {

namespace {

constexpr std::uint32_t kFirstSupplementary = 0x10000;
constexpr std::uint32_t kHighSurrogate = 0xD800;
constexpr std::uint32_t kLowSurrogate = 0xDC00;
constexpr std::uint32_t kSurrogateEnd = 0xE000;
constexpr unsigned kSurrogateBits = 10;
constexpr std::uint32_t kSurrogateMask = 0x3FF;

void appendUnit(std::vector<std::uint8_t>& out, std::uint32_t unit) {
  out.push_back(static_cast<std::uint8_t>(unit & 0xFFU));
  out.push_back(static_cast<std::uint8_t>((unit >> 8U) & 0xFFU));
}

// UTF-16LE, whatever the width of wchar_t on this build.
void appendText(std::vector<std::uint8_t>& out, const std::wstring& text) {
  for (const wchar_t c : text) {
    const auto code = static_cast<std::uint32_t>(static_cast<std::make_unsigned_t<wchar_t>>(c));
    if (code >= kFirstSupplementary) {
      const std::uint32_t offset = code - kFirstSupplementary;
      appendUnit(out, kHighSurrogate + (offset >> kSurrogateBits));
      appendUnit(out, kLowSurrogate + (offset & kSurrogateMask));
    } else {
      appendUnit(out, code);
    }
  }
  appendUnit(out, 0);
}

std::vector<std::uint32_t> units(const std::vector<std::uint8_t>& data) {
  std::vector<std::uint32_t> out;
  for (std::size_t i = 0; i + 1 < data.size(); i += 2) {
    out.push_back(data[i] | (static_cast<std::uint32_t>(data[i + 1]) << 8U));
  }
  return out;
}

// Decodes units from `pos` up to the next zero unit, leaving `pos` after it.
std::wstring decodeText(const std::vector<std::uint32_t>& all, std::size_t& pos) {
  std::wstring out;
  while (pos < all.size() && all[pos] != 0) {
    const std::uint32_t unit = all[pos++];
    const bool pair = unit >= kHighSurrogate && unit < kLowSurrogate && pos < all.size() &&
                      all[pos] >= kLowSurrogate && all[pos] < kSurrogateEnd;
    if (pair && sizeof(wchar_t) == 4) {
      const std::uint32_t low = all[pos++];
      out +=
          static_cast<wchar_t>(kFirstSupplementary + ((unit - kHighSurrogate) << kSurrogateBits) +
                               (low - kLowSurrogate));
    } else {
      out += static_cast<wchar_t>(unit);
    }
  }
  ++pos;
  return out;
}

}  // namespace

std::vector<std::uint8_t> regSzData(const std::wstring& text) {
  std::vector<std::uint8_t> out;
  appendText(out, text);
  return out;
}

std::vector<std::uint8_t> regMultiSzData(const std::vector<std::wstring>& texts) {
  std::vector<std::uint8_t> out;
  for (const auto& text : texts) appendText(out, text);
  appendUnit(out, 0);
  return out;
}

std::vector<std::uint8_t> regDwordData(Dword value) {
  return {static_cast<std::uint8_t>(value & 0xFFU),
          static_cast<std::uint8_t>((value >> 8U) & 0xFFU),
          static_cast<std::uint8_t>((value >> 16U) & 0xFFU),
          static_cast<std::uint8_t>((value >> 24U) & 0xFFU)};
}

std::wstring regSzText(const std::vector<std::uint8_t>& data) {
  std::size_t pos = 0;
  return decodeText(units(data), pos);
}

std::vector<std::wstring> regMultiSzTexts(const std::vector<std::uint8_t>& data) {
  const std::vector<std::uint32_t> all = units(data);
  std::vector<std::wstring> out;
  std::size_t pos = 0;
  while (pos < all.size() && all[pos] != 0) out.push_back(decodeText(all, pos));
  return out;
}

std::optional<Dword> regDwordValue(const std::vector<std::uint8_t>& data) {
  if (data.size() != 4) return std::nullopt;
  return static_cast<Dword>(data[0] | (data[1] << 8U) | (data[2] << 16U) |
                            (static_cast<Dword>(data[3]) << 24U));
}

}  // namespace plat
