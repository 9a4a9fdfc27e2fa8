// Stand-in for Seagull_V3_ConfigDispatcher.dll: the configuration DLL of a
// printer driver. It accepts the spooler's driver and printer events and
// offers no capabilities or property sheets.
#include <windows.h>

extern "C" {

__declspec(dllexport) BOOL WINAPI DrvDriverEvent(DWORD, DWORD, LPBYTE, LPARAM) {
  return TRUE;
}

__declspec(dllexport) BOOL WINAPI DrvPrinterEvent(LPWSTR, INT, DWORD, LPARAM) {
  return TRUE;
}

__declspec(dllexport) DWORD WINAPI DrvDeviceCapabilities(HANDLE, PWSTR, WORD, PVOID, PVOID) {
  return GDI_ERROR;
}

__declspec(dllexport) LONG WINAPI DrvDocumentPropertySheets(PVOID, LPARAM) {
  return -1;
}

__declspec(dllexport) BOOL WINAPI DrvDevicePropertySheets(PVOID, LPARAM) {
  return FALSE;
}

__declspec(dllexport) BOOL WINAPI DrvConvertDevMode(LPWSTR, PVOID, PVOID, PLONG, DWORD) {
  return FALSE;
}

}  // extern "C"
