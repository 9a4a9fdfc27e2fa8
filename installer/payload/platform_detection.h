// The two platform answers the installer asks for: whether it runs under
// WOW64, and the name of the Windows edition.
#pragma once

#include <string>

namespace brisvane {

// True exactly when this 32-bit process runs on 64-bit Windows.
bool isWow64();

// "Microsoft Windows XP", "Microsoft Windows 10", ...; "unknown" for a major
// version outside 4 to 6; empty when the version call fails or the version
// is not one the installer knows.
std::wstring getWindowsName();

}  // namespace brisvane
