// The service control manager (advapi32).
#include "platform/win32/win32_ports.h"

namespace plat::win32 {

namespace {

SC_HANDLE toScHandle(ServiceId id) {
  return reinterpret_cast<SC_HANDLE>(id);
}

ServiceOpenResult opened(SC_HANDLE handle) {
  if (handle == nullptr) return {kNoService, GetLastError()};
  return {reinterpret_cast<ServiceId>(handle), kErrorSuccess};
}

}  // namespace

ServiceOpenResult Win32Services::openScManager(Dword access) {
  return opened(OpenSCManagerW(nullptr, nullptr, access));
}

ServiceOpenResult Win32Services::openService(ServiceId manager, const std::wstring& name,
                                             Dword access) {
  return opened(OpenServiceW(toScHandle(manager), name.c_str(), access));
}

ServiceStatusResult Win32Services::queryServiceStatus(ServiceId service) {
  SERVICE_STATUS status{};
  if (QueryServiceStatus(toScHandle(service), &status) == FALSE) return {0, GetLastError()};
  return {status.dwCurrentState, kErrorSuccess};
}

ServiceStatusResult Win32Services::controlService(ServiceId service, Dword control) {
  SERVICE_STATUS status{};
  if (ControlService(toScHandle(service), control, &status) == FALSE) {
    return {status.dwCurrentState, GetLastError()};
  }
  return {status.dwCurrentState, kErrorSuccess};
}

Dword Win32Services::startService(ServiceId service) {
  return StartServiceW(toScHandle(service), 0, nullptr) != FALSE ? kErrorSuccess : GetLastError();
}

Dword Win32Services::closeServiceHandle(ServiceId handle) {
  return CloseServiceHandle(toScHandle(handle)) != FALSE ? kErrorSuccess : GetLastError();
}

}  // namespace plat::win32
