// Stand-in for DriverAutomationLibrary.dll, which the package's batch file
// registers: it registers and unregisters successfully and does nothing else.
#include <windows.h>

extern "C" {

__declspec(dllexport) HRESULT WINAPI DllRegisterServer() {
  return S_OK;
}

__declspec(dllexport) HRESULT WINAPI DllUnregisterServer() {
  return S_OK;
}

}  // extern "C"
