#include "platform/api/wide_text.h"

#include <type_traits>

namespace plat {

namespace {

constexpr std::uint32_t kFirstSupplementary = 0x10000;
constexpr std::uint32_t kHighSurrogate = 0xD800;
constexpr std::uint32_t kLowSurrogate = 0xDC00;
constexpr std::uint32_t kSurrogateEnd = 0xE000;
constexpr unsigned kSurrogateBits = 10;
constexpr std::uint32_t kSurrogateMask = 0x3FF;
constexpr std::size_t kDwordBytes = 4;

void appendUnit(std::vector<std::uint8_t>& out, std::uint32_t unit) {
  out.push_back(static_cast<std::uint8_t>(unit & 0xFFU));
  out.push_back(static_cast<std::uint8_t>((unit >> 8U) & 0xFFU));
}

}  // namespace

std::wstring replaceAll(std::wstring text, const std::wstring& from, const std::wstring& to) {
  if (from.empty()) return text;
  for (std::size_t at = text.find(from); at != std::wstring::npos;
       at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
  return text;
}

std::vector<std::uint8_t> utf16LeBytes(const std::wstring& text) {
  std::vector<std::uint8_t> out;
  out.reserve(text.size() * 2);
  for (const wchar_t c : text) {
    const auto code = static_cast<std::uint32_t>(static_cast<std::make_unsigned_t<wchar_t>>(c));
    if (code >= kFirstSupplementary) {  // a 32-bit wchar_t: a surrogate pair
      const std::uint32_t offset = code - kFirstSupplementary;
      appendUnit(out, kHighSurrogate + (offset >> kSurrogateBits));
      appendUnit(out, kLowSurrogate + (offset & kSurrogateMask));
    } else {
      appendUnit(out, code);
    }
  }
  return out;
}

std::vector<std::uint32_t> utf16LeUnits(std::span<const std::uint8_t> bytes) {
  std::vector<std::uint32_t> out;
  out.reserve(bytes.size() / 2);
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    out.push_back(bytes[i] | (static_cast<std::uint32_t>(bytes[i + 1]) << 8U));
  }
  return out;
}

std::wstring textFromUnits(const std::vector<std::uint32_t>& units, std::size_t& pos) {
  std::wstring out;
  while (pos < units.size() && units[pos] != 0) {
    const std::uint32_t unit = units[pos++];
    const bool pair = unit >= kHighSurrogate && unit < kLowSurrogate && pos < units.size() &&
                      units[pos] >= kLowSurrogate && units[pos] < kSurrogateEnd;
    if (pair && sizeof(wchar_t) == 4) {
      const std::uint32_t low = units[pos++];
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

std::vector<std::uint8_t> dwordLeBytes(Dword value) {
  std::vector<std::uint8_t> out;
  for (std::size_t at = 0; at < kDwordBytes; ++at) {
    out.push_back(static_cast<std::uint8_t>((value >> (8U * at)) & 0xFFU));
  }
  return out;
}

std::optional<Dword> dwordFromLeBytes(std::span<const std::uint8_t> bytes) {
  if (bytes.size() != kDwordBytes) return std::nullopt;
  Dword value = 0;
  for (std::size_t at = 0; at < kDwordBytes; ++at) {
    value |= static_cast<Dword>(bytes[at]) << (8U * at);
  }
  return value;
}

}  // namespace plat
