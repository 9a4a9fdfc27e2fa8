// The resource port of a simulated process.
#pragma once

#include "platform/api/resource_port.h"

namespace plat::sim {

class SimProcess;

class SimResourcePort final : public ResourcePort {
 public:
  explicit SimResourcePort(SimProcess& process) : process_(process) {}
  std::wstring loadString(std::uint32_t id) override;
  ResourceHandle findResource(std::uint16_t id, const std::wstring& type) override;
  Dword sizeofResource(ResourceHandle resource) override;
  const std::uint8_t* loadResource(ResourceHandle resource) override;

 private:
  SimProcess& process_;
};

}  // namespace plat::sim
