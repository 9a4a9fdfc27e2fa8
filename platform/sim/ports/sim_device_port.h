// The device port of a simulated process.
#pragma once

#include "platform/api/device_port.h"

namespace plat::sim {

class SimProcess;

class SimDevicePort final : public DevicePort {
 public:
  explicit SimDevicePort(SimProcess& process) : process_(process) {}
  Result<std::wstring> setupCopyOemInf(const std::wstring& sourceInf, Dword copyStyle,
                                       Dword destinationChars) override;
  Result<DeviceSetId> setupDiGetClassDevs(const std::wstring& enumerator, Dword flags) override;
  Result<DeviceInfoData> setupDiEnumDeviceInfo(DeviceSetId set, Dword index) override;
  Result<DeviceProperty> setupDiGetDeviceRegistryProperty(DeviceSetId set,
                                                          const DeviceInfoData& device,
                                                          Dword property,
                                                          Dword bufferBytes) override;
  Dword setupDiSetDeviceRegistryProperty(DeviceSetId set, const DeviceInfoData& device,
                                         Dword property,
                                         const std::vector<std::uint8_t>& data) override;
  Dword setupDiDestroyDeviceInfoList(DeviceSetId set) override;
  Result<bool> updateDriverForPlugAndPlayDevices(const std::wstring& hardwareId,
                                                 const std::wstring& infPath,
                                                 Dword installFlags) override;
  Result<DevInst> cmLocateDevNode(const std::optional<std::wstring>& deviceId,
                                  Dword flags) override;
  Dword cmReenumerateDevNode(DevInst devInst, Dword flags) override;
  Dword cmpWaitNoPendingInstallEvents(Dword milliseconds) override;

 private:
  SimProcess& process_;
};

}  // namespace plat::sim
