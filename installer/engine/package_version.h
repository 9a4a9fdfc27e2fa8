// The version and date (month/day/year) of the driver package that
// Brisvane carries. This is their one source: the version reader, the
// registration stamp and the main window's version line use these, and
// scripts/make_payload.py writes them into the package INF's DriverVer
// (the test that regenerates the package catches a difference).
#pragma once

namespace brisvane {

inline constexpr wchar_t kPackageDriverVersion[] = L"2021.1.5.0";
inline constexpr wchar_t kPackageDriverDate[] = L"07/08/2021";

}  // namespace brisvane
