// Stand-in for Seagull_V3_NetMonDispatcher.dll: a port monitor that a print
// spooler loads and initialises, and that reports no ports of its own.
#include <windows.h>
// (after windows.h)
#include <winspool.h>
// (after winspool.h)
#include <winsplp.h>

namespace {

BOOL WINAPI enumPorts(HANDLE, LPWSTR, DWORD, LPBYTE, DWORD, LPDWORD needed, LPDWORD returned) {
  if (needed != nullptr) *needed = 0;
  if (returned != nullptr) *returned = 0;
  return TRUE;
}

BOOL WINAPI openPort(HANDLE, LPWSTR, PHANDLE) {
  SetLastError(ERROR_NOT_SUPPORTED);
  return FALSE;
}

BOOL WINAPI xcvOpenPort(HANDLE, LPCWSTR, ACCESS_MASK, PHANDLE) {
  SetLastError(ERROR_NOT_SUPPORTED);
  return FALSE;
}

VOID WINAPI shutdown(HANDLE) {}

MONITOR2 monitor = [] {
  MONITOR2 m{};
  m.cbSize = sizeof m;
  m.pfnEnumPorts = enumPorts;
  m.pfnOpenPort = openPort;
  m.pfnXcvOpenPort = xcvOpenPort;
  m.pfnShutdown = shutdown;
  return m;
}();

}  // namespace

extern "C" __declspec(dllexport) LPMONITOR2 WINAPI
    InitializePrintMonitor2(PMONITORINIT, PHANDLE handle) {
  if (handle != nullptr) *handle = reinterpret_cast<HANDLE>(&monitor);
  return &monitor;
}
