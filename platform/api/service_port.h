// The service control manager (advapi32).
#pragma once

#include <cstdint>
#include <string>
#include <utility>

#include "platform/api/types.h"

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

struct ServiceOpenResult {
  ServiceId handle = kNoService;
  Dword error = kErrorSuccess;
};

// The current state of SERVICE_STATUS, and 0 or the error code.
struct ServiceStatusResult {
  Dword state = 0;
  Dword error = kErrorSuccess;
};

class ServicePort {
 public:
  ServicePort() = default;
  ServicePort(const ServicePort&) = delete;
  ServicePort& operator=(const ServicePort&) = delete;
  virtual ~ServicePort() = default;

  // OpenSCManagerW on the local machine's default database.
  virtual ServiceOpenResult openScManager(Dword access) = 0;
  virtual ServiceOpenResult openService(ServiceId manager, const std::wstring& name,
                                        Dword access) = 0;
  virtual ServiceStatusResult queryServiceStatus(ServiceId service) = 0;
  // ControlService: the state the service reports back.
  virtual ServiceStatusResult controlService(ServiceId service, Dword control) = 0;
  // StartServiceW without arguments: 0 or the error code.
  virtual Dword startService(ServiceId service) = 0;
  virtual Dword closeServiceHandle(ServiceId handle) = 0;
};

// Owns a manager or service handle and closes it when it goes out of scope.
class ServiceHandle {
 public:
  ServiceHandle() = default;
  ServiceHandle(ServicePort& services, const ServiceOpenResult& opened)
      : services_(&services), handle_(opened.error == kErrorSuccess ? opened.handle : kNoService) {}
  ServiceHandle(const ServiceHandle&) = delete;
  ServiceHandle& operator=(const ServiceHandle&) = delete;
  ServiceHandle(ServiceHandle&& other) noexcept
      : services_(other.services_), handle_(std::exchange(other.handle_, kNoService)) {}
  ServiceHandle& operator=(ServiceHandle&& other) noexcept {
    if (this != &other) {
      reset();
      services_ = other.services_;
      handle_ = std::exchange(other.handle_, kNoService);
    }
    return *this;
  }
  ~ServiceHandle() { reset(); }

  [[nodiscard]] ServiceId get() const { return handle_; }
  explicit operator bool() const { return handle_ != kNoService; }
  void reset() {
    if (handle_ != kNoService) services_->closeServiceHandle(std::exchange(handle_, kNoService));
  }

 private:
  ServicePort* services_ = nullptr;
  ServiceId handle_ = kNoService;
};

}  // namespace plat
