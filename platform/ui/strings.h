// Texts of the program's string table.
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

}  // namespace plat::ui
