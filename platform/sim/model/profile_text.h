// Profile (INI) file text as GetPrivateProfileIntW and
// WritePrivateProfileStringW read and write it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace plat::sim {

// A profile or INF file's text: UTF-16LE after FF FE, otherwise ANSI.
std::wstring profileText(const std::vector<std::uint8_t>& contents);

// The value of `key` in `section` (both without regard to case), trimmed
// and without surrounding quotes; nothing when either is missing.
std::optional<std::wstring> profileValue(const std::vector<std::uint8_t>& contents,
                                         const std::wstring& section, const std::wstring& key);

// The file with `key` set to `value` in `section`: an existing key line is
// replaced, a new key goes at the end of its section, a new section at the
// end of the file. The file keeps its encoding (UTF-16LE after FF FE,
// otherwise ANSI); a new file is ANSI.
std::vector<std::uint8_t> withProfileValue(const std::vector<std::uint8_t>& contents,
                                           const std::wstring& section, const std::wstring& key,
                                           const std::wstring& value);

// The integer a profile value reads as: optional blanks and sign, then a
// decimal number (or "0x" hexadecimal) up to the first other character; 0
// when no digit comes first. Negative values wrap as the UINT result does.
std::uint32_t profileInteger(const std::wstring& text);

}  // namespace plat::sim
