// The device installation port of a simulated process.
#pragma once

#include "platform/api/device_port.h"

namespace plat::sim {

class SimProcess;

class SimDevicePort final : public DevicePort {
 public:
  explicit SimDevicePort(SimProcess& process) : process_(process) {}
  CopyOemInfResult setupCopyOemInf(const std::wstring& sourceInf, Dword copyStyle,
                                   Dword destinationChars) override;

 private:
  SimProcess& process_;
};

}  // namespace plat::sim
