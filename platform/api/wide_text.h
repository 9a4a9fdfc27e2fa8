// Text helpers that the system code and both backends share: substitution
// in message texts, and the little-endian byte forms that files, registry
// values and device properties carry (UTF-16LE text, 32-bit numbers).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/api/types.h"

namespace plat {

// Every occurrence of `from` in `text` replaced by `to`, left to right and
// case-sensitive; replaced text is not searched again.
std::wstring replaceAll(std::wstring text, const std::wstring& from, const std::wstring& to);

// The UTF-16LE bytes of `text`, without a terminating zero, whatever the
// width of wchar_t on this build.
std::vector<std::uint8_t> utf16LeBytes(const std::wstring& text);
// The UTF-16 code units of UTF-16LE bytes (an odd last byte is dropped).
std::vector<std::uint32_t> utf16LeUnits(std::span<const std::uint8_t> bytes);
// The text of `units` from `pos` up to the next zero unit (or the end),
// leaving `pos` after that zero.
std::wstring textFromUnits(const std::vector<std::uint32_t>& units, std::size_t& pos);

// A 32-bit number as its four little-endian bytes, and back: nothing when
// there are not exactly four bytes.
std::vector<std::uint8_t> dwordLeBytes(Dword value);
std::optional<Dword> dwordFromLeBytes(std::span<const std::uint8_t> bytes);

}  // namespace plat
