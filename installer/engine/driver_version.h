// The driver versions of the installer: the packaged one, and the order of
// two dotted version texts.
#pragma once

#include <string>

namespace brisvane {

// "No driver of the maker is installed."
inline constexpr wchar_t kNoDriverVersion[] = L"0.0.0.0";

// The version and date (month/day/year) of the packaged driver; they equal
// the package INF's DriverVer "07/08/2021,2021.1.5.0".
std::wstring getPackageDriverVersion();
std::wstring getPackageDriverDate();
// The packaged version as the user is shown it, in the older form:
// "2021.1.5.0" is "2021.1 M-5".
std::wstring packageVersionDisplayText();

// 1 when `installed` is older than `packaged`, 0 when they are equal, -1
// when it is newer. The number of parts decides first (2021.1.5 is older
// than 2021.1.5.0), then the parts as signed integers from the left; a part
// that is not a number counts as 0.
int compareDriverVersions(const std::wstring& packaged, const std::wstring& installed);

}  // namespace brisvane
