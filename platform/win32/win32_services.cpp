// The service control manager (advapi32).
#include "platform/win32/win32_ports.h"

namespace plat::win32 {

namespace {

SC_HANDLE toScHandle(ServiceId id) {
  return reinterpret_cast<SC_HANDLE>(id);
}

Result<ServiceId> opened(SC_HANDLE handle) {
  if (handle == nullptr) return Failure{GetLastError()};
  return reinterpret_cast<ServiceId>(handle);
}

}  // namespace

Result<ServiceId> Win32Services::openScManager(Dword access) {
  return opened(OpenSCManagerW(nullptr, nullptr, access));
}

Result<ServiceId> Win32Services::openService(ServiceId manager, const std::wstring& name,
                                             Dword access) {
  return opened(OpenServiceW(toScHandle(manager), name.c_str(), access));
}

Result<Dword> Win32Services::queryServiceStatus(ServiceId service) {
  SERVICE_STATUS status{};
  if (QueryServiceStatus(toScHandle(service), &status) == FALSE) return Failure{GetLastError()};
  return Dword{status.dwCurrentState};
}

Result<Dword> Win32Services::controlService(ServiceId service, Dword control) {
  SERVICE_STATUS status{};
  if (ControlService(toScHandle(service), control, &status) == FALSE) {
    return {Failure{GetLastError()}, Dword{status.dwCurrentState}};
  }
  return Dword{status.dwCurrentState};
}

Dword Win32Services::startService(ServiceId service) {
  return StartServiceW(toScHandle(service), 0, nullptr) != FALSE ? kErrorSuccess : GetLastError();
}

Dword Win32Services::closeServiceHandle(ServiceId handle) {
  return CloseServiceHandle(toScHandle(handle)) != FALSE ? kErrorSuccess : GetLastError();
}

}  // namespace plat::win32
