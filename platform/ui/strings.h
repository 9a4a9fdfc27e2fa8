// Texts of the program's string table, and a helper for filling them in.
#pragma once

#include <cstdint>
#include <string>

#include "platform/api/ports.h"

namespace plat::ui {

// The text of string `id` in the calling thread's UI language; empty when
// the table has no such id.
inline std::wstring loadString(std::uint32_t id) {
  return ports().resources().loadString(id);
}

// Every occurrence of `from` in `text` replaced by `to`, left to right and
// case-sensitive; replaced text is not searched again.
inline std::wstring replaceAll(std::wstring text, const std::wstring& from,
                               const std::wstring& to) {
  if (from.empty()) return text;
  for (std::size_t at = text.find(from); at != std::wstring::npos;
       at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
  return text;
}

}  // namespace plat::ui
