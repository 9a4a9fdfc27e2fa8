// The service port of a simulated process.
#pragma once

#include "platform/api/service_port.h"

namespace plat::sim {

class SimProcess;

class SimServicePort final : public ServicePort {
 public:
  explicit SimServicePort(SimProcess& process) : process_(process) {}
  Result<ServiceId> openScManager(Dword access) override;
  Result<ServiceId> openService(ServiceId manager, const std::wstring& name, Dword access) override;
  Result<Dword> queryServiceStatus(ServiceId service) override;
  Result<Dword> controlService(ServiceId service, Dword control) override;
  Dword startService(ServiceId service) override;
  Dword closeServiceHandle(ServiceId handle) override;

 private:
  SimProcess& process_;
};

}  // namespace plat::sim
