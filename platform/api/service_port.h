// The service control manager (advapi32).
#pragma once

#include <cstdint>
#include <string>

#include "platform/api/result.h"
#include "platform/api/types.h"
#include "platform/api/unique_handle.h"

namespace plat {

// An SC_HANDLE of the manager or of a service; 0 is "none".
using ServiceId = std::uintptr_t;
inline constexpr ServiceId kNoService = 0;

// Access rights.
inline constexpr Dword kGenericExecute = 0x20000000;
inline constexpr Dword kServiceQueryStatus = 0x0004;
inline constexpr Dword kServiceStart = 0x0010;
inline constexpr Dword kServiceStop = 0x0020;

// SERVICE_STATUS.dwCurrentState values and the stop control.
inline constexpr Dword kServiceStopped = 1;
inline constexpr Dword kServiceStartPending = 2;
inline constexpr Dword kServiceStopPending = 3;
inline constexpr Dword kServiceRunning = 4;
inline constexpr Dword kServiceControlStop = 1;

// Errors of the service calls.
inline constexpr Dword kErrorServiceDoesNotExist = 1060;
inline constexpr Dword kErrorServiceCannotAcceptCtrl = 1061;
inline constexpr Dword kErrorServiceNotActive = 1062;
inline constexpr Dword kErrorServiceAlreadyRunning = 1056;

class ServicePort {
 public:
  ServicePort() = default;
  ServicePort(const ServicePort&) = delete;
  ServicePort& operator=(const ServicePort&) = delete;
  virtual ~ServicePort() = default;

  // OpenSCManagerW on the local machine's default database.
  virtual Result<ServiceId> openScManager(Dword access) = 0;
  virtual Result<ServiceId> openService(ServiceId manager, const std::wstring& name,
                                        Dword access) = 0;
  // QueryServiceStatus: SERVICE_STATUS.dwCurrentState.
  virtual Result<Dword> queryServiceStatus(ServiceId service) = 0;
  // ControlService: the state the service reports back, which a refused
  // control (the service is not running, or busy) hands back too.
  virtual Result<Dword> controlService(ServiceId service, Dword control) = 0;
  // StartServiceW without arguments: 0 or the error code.
  virtual Dword startService(ServiceId service) = 0;
  virtual Dword closeServiceHandle(ServiceId handle) = 0;
};

// Owns a manager or service handle and closes it with CloseServiceHandle.
using ServiceHandle =
    UniqueHandle<ServicePort, ServiceId, kNoService, &ServicePort::closeServiceHandle>;

}  // namespace plat
