// standins_spooler: a real spooler accepts the stand-in DLLs. Registers the
// port monitor, the driver and a queue with the spooler, then removes them.
//
//   standins_spooler DIRECTORY_OF_THE_DLLS
//
// Ends with the line "N passed, M failed".
#include <cstdio>
#include <string>

#include "tests/wine/driver_files.h"

namespace {

using winetest::copyInto;
using winetest::driverDirectory;

constexpr wchar_t kMonitor[] = L"Seagull Network Monitor";
constexpr wchar_t kMonitorDll[] = L"Seagull_V3_NetMonDispatcher.dll";
constexpr wchar_t kDriver[] = L"Corvantis Stand-in Check (203 dpi)";
constexpr wchar_t kPrinter[] = L"Stand-in check";
constexpr wchar_t kDriverDll[] = L"Seagull_V3_PrintDispatcher.dll";
constexpr wchar_t kConfigDll[] = L"Seagull_V3_ConfigDispatcher.dll";

int passed = 0;
int failed = 0;

void check(bool ok, const char* what) {
  std::printf("%s - %s", ok ? "ok" : "not ok", what);
  if (!ok) std::printf(" (error %lu)", GetLastError());
  std::printf("\n");
  std::fflush(stdout);
  (ok ? passed : failed) += 1;
}

std::wstring systemDirectory() {
  wchar_t path[MAX_PATH] = {};
  GetSystemDirectoryW(path, MAX_PATH);
  return path;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: standins_spooler DIRECTORY_OF_THE_DLLS\n");
    return 2;
  }
  const std::wstring dlls = argv[1];

  check(copyInto(dlls, systemDirectory(), kMonitorDll), "the monitor DLL is copied");
  MONITOR_INFO_2W monitor{};
  monitor.pName = const_cast<LPWSTR>(kMonitor);
  monitor.pDLLName = const_cast<LPWSTR>(kMonitorDll);
  check(AddMonitorW(nullptr, 2, reinterpret_cast<LPBYTE>(&monitor)) != FALSE,
        "the spooler registers the port monitor");

  const std::wstring driverFolder = driverDirectory();
  check(copyInto(dlls, driverFolder, kDriverDll) && copyInto(dlls, driverFolder, kConfigDll),
        "the driver DLLs are copied into the driver directory");
  DRIVER_INFO_3W driver{};
  driver.cVersion = 3;
  driver.pName = const_cast<LPWSTR>(kDriver);
  const std::wstring driverPath = driverFolder + L"\\" + kDriverDll;
  const std::wstring configPath = driverFolder + L"\\" + kConfigDll;
  driver.pDriverPath = const_cast<LPWSTR>(driverPath.c_str());
  driver.pDataFile = const_cast<LPWSTR>(configPath.c_str());
  driver.pConfigFile = const_cast<LPWSTR>(configPath.c_str());
  check(AddPrinterDriverW(nullptr, 3, reinterpret_cast<LPBYTE>(&driver)) != FALSE,
        "the spooler registers the driver");

  PRINTER_INFO_2W info{};
  info.pPrinterName = const_cast<LPWSTR>(kPrinter);
  info.pPortName = const_cast<LPWSTR>(L"FILE:");
  info.pDriverName = const_cast<LPWSTR>(kDriver);
  info.pPrintProcessor = const_cast<LPWSTR>(L"WinPrint");
  info.pDatatype = const_cast<LPWSTR>(L"RAW");
  HANDLE printer = AddPrinterW(nullptr, 2, reinterpret_cast<LPBYTE>(&info));
  check(printer != nullptr, "a queue is created on the driver");
  if (printer != nullptr) {
    check(DeletePrinter(printer) != FALSE, "the queue is deleted");
    ClosePrinter(printer);
  }
  check(DeletePrinterDriverW(nullptr, nullptr, const_cast<LPWSTR>(kDriver)) != FALSE,
        "the driver is deleted");
  check(DeleteMonitorW(nullptr, nullptr, const_cast<LPWSTR>(kMonitor)) != FALSE,
        "the monitor is deleted");

  std::printf("%d passed, %d failed\n", passed, failed);
  return failed == 0 ? 0 : 1;
}
