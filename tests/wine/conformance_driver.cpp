// conformance_driver: gives a fresh Wine prefix the printer driver that a
// Windows installation comes with, for the conformance table's queue rows,
// and takes it away again. The driver's files are the stand-in DLLs.
//
//   conformance_driver add DIRECTORY_OF_THE_DLLS
//   conformance_driver remove
#include <cstdio>
#include <string>

#include "tests/wine/driver_files.h"

namespace {

constexpr wchar_t kDriver[] = L"Brisvane Conformance Driver";
constexpr wchar_t kDriverDll[] = L"Seagull_V3_PrintDispatcher.dll";
constexpr wchar_t kConfigDll[] = L"Seagull_V3_ConfigDispatcher.dll";

bool add(const std::wstring& dlls) {
  const std::wstring folder = winetest::driverDirectory();
  for (const wchar_t* name : {kDriverDll, kConfigDll}) {
    if (!winetest::copyInto(dlls, folder, name)) return false;
  }
  const std::wstring driverPath = folder + L"\\" + kDriverDll;
  const std::wstring configPath = folder + L"\\" + kConfigDll;
  DRIVER_INFO_3W driver{};
  driver.cVersion = 3;
  driver.pName = const_cast<LPWSTR>(kDriver);
  driver.pDriverPath = const_cast<LPWSTR>(driverPath.c_str());
  driver.pDataFile = const_cast<LPWSTR>(configPath.c_str());
  driver.pConfigFile = const_cast<LPWSTR>(configPath.c_str());
  return AddPrinterDriverW(nullptr, 3, reinterpret_cast<LPBYTE>(&driver)) != FALSE;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring mode = argc > 1 ? argv[1] : L"";
  bool ok = false;
  if (mode == L"add" && argc == 3) {
    ok = add(argv[2]);
  } else if (mode == L"remove" && argc == 2) {
    ok = DeletePrinterDriverW(nullptr, nullptr, const_cast<LPWSTR>(kDriver)) != FALSE;
  } else {
    std::fprintf(stderr, "usage: conformance_driver add DIRECTORY | conformance_driver remove\n");
    return 2;
  }
  if (!ok)
    std::fprintf(stderr, "conformance_driver %ls: error %lu\n", mode.c_str(), GetLastError());
  return ok ? 0 : 1;
}
