// Stand-in for Seagull_V3_PrintDispatcher.dll: the rendering DLL of a
// printer driver, with the entry points a spooler looks for. It renders
// nothing.
#include <windows.h>

extern "C" {

__declspec(dllexport) BOOL WINAPI DrvQueryDriverInfo(DWORD, PVOID, DWORD, PDWORD needed) {
  if (needed != nullptr) *needed = 0;
  SetLastError(ERROR_NOT_SUPPORTED);
  return FALSE;
}

__declspec(dllexport) BOOL WINAPI DrvEnableDriver(ULONG, ULONG, PVOID) {
  return FALSE;
}

__declspec(dllexport) VOID WINAPI DrvDisableDriver() {}

}  // extern "C"
