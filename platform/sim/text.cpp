#include "platform/sim/text.h"

#include <cstdint>
#include <type_traits>

namespace plat::sim {

namespace {

// wchar_t holds UTF-32 on Linux and UTF-16 elsewhere; both are handled.
void appendUtf8(std::string& out, std::uint32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0U | (cp >> 6U));
    out += static_cast<char>(0x80U | (cp & 0x3FU));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0U | (cp >> 12U));
    out += static_cast<char>(0x80U | ((cp >> 6U) & 0x3FU));
    out += static_cast<char>(0x80U | (cp & 0x3FU));
  } else {
    out += static_cast<char>(0xF0U | (cp >> 18U));
    out += static_cast<char>(0x80U | ((cp >> 12U) & 0x3FU));
    out += static_cast<char>(0x80U | ((cp >> 6U) & 0x3FU));
    out += static_cast<char>(0x80U | (cp & 0x3FU));
  }
}

void appendWide(std::wstring& out, std::uint32_t cp) {
  if constexpr (sizeof(wchar_t) == 2) {
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out += static_cast<wchar_t>(0xD800U + (cp >> 10U));
      out += static_cast<wchar_t>(0xDC00U + (cp & 0x3FFU));
      return;
    }
  }
  out += static_cast<wchar_t>(cp);
}

}  // namespace

std::string toUtf8(const std::wstring& text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    auto cp = static_cast<std::uint32_t>(static_cast<std::make_unsigned_t<wchar_t>>(text[i]));
    if (cp >= 0xD800 && cp < 0xDC00 && i + 1 < text.size()) {
      const auto low =
          static_cast<std::uint32_t>(static_cast<std::make_unsigned_t<wchar_t>>(text[i + 1]));
      if (low >= 0xDC00 && low < 0xE000) {
        cp = 0x10000 + ((cp - 0xD800) << 10U) + (low - 0xDC00);
        ++i;
      }
    }
    appendUtf8(out, cp);
  }
  return out;
}

bool fromUtf8(const std::string& text, std::wstring& out) {
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    int extra = 0;
    std::uint32_t cp = lead;
    if (lead >= 0xF0 && lead < 0xF8) {
      extra = 3;
      cp = lead & 0x07U;
    } else if (lead >= 0xE0) {
      extra = 2;
      cp = lead & 0x0FU;
    } else if (lead >= 0xC0) {
      extra = 1;
      cp = lead & 0x1FU;
    } else if (lead >= 0x80) {
      return false;
    }
    ++i;
    for (int k = 0; k < extra; ++k, ++i) {
      if (i >= text.size() || (static_cast<unsigned char>(text[i]) & 0xC0U) != 0x80U) {
        return false;
      }
      cp = (cp << 6U) | (static_cast<unsigned char>(text[i]) & 0x3FU);
    }
    appendWide(out, cp);
  }
  return true;
}

std::wstring fromUtf8(const std::string& text) {
  std::wstring out;
  fromUtf8(text, out);
  return out;
}

std::string oneLine(const std::string& text) {
  std::string out;
  for (const char c : text) {
    if (c == '\n') {
      out += "\\n";
    } else if (c != '\r') {
      out += c;
    }
  }
  return out;
}

}  // namespace plat::sim
