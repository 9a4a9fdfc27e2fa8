// Conversions between the wide strings of the ports and UTF-8.
#pragma once

#include <string>

namespace plat::sim {

std::string toUtf8(const std::wstring& text);
// Returns false (and leaves `out` partly filled) on invalid UTF-8.
bool fromUtf8(const std::string& text, std::wstring& out);
std::wstring fromUtf8(const std::string& text);
// UTF-8 text on one line, for a transcript or an error: a line break as
// "\n", a carriage return left out.
std::string oneLine(const std::string& text);

}  // namespace plat::sim
