// Conversions between the wide strings of the ports and UTF-8.
#pragma once

#include <string>

namespace plat::sim {

std::string toUtf8(const std::wstring& text);
// Returns false (and leaves `out` partly filled) on invalid UTF-8.
bool fromUtf8(const std::string& text, std::wstring& out);
std::wstring fromUtf8(const std::string& text);

}  // namespace plat::sim
