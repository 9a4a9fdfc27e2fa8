// The socket port of a simulated process.
#pragma once

#include "platform/api/socket_port.h"

namespace plat::sim {

class SimProcess;

class SimSocketPort final : public SocketPort {
 public:
  explicit SimSocketPort(SimProcess& process) : process_(process) {}
  Result<std::uint16_t> wsaStartup(std::uint16_t requestedVersion) override;
  int wsaCleanup() override;
  void wsaSetLastError(int error) override;
  int wsaGetLastError() override;

 private:
  SimProcess& process_;
};

}  // namespace plat::sim
