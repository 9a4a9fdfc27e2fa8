// The device port of a simulated process (SetupAPI and the config
// manager): one call into the machine's device table under the machine's
// lock, after the fault injection had its say.
#include "platform/sim/ports/sim_device_port.h"

#include "platform/sim/model/driver_store.h"
#include "platform/sim/sim_process.h"

namespace plat::sim {

namespace {

// INSTALLFLAG_FORCE, INSTALLFLAG_READONLY and INSTALLFLAG_NONINTERACTIVE.
constexpr Dword kKnownInstallFlags = 0x7;

}  // namespace

Result<std::wstring> SimDevicePort::setupCopyOemInf(const std::wstring& sourceInf, Dword copyStyle,
                                                    Dword destinationChars) {
  std::scoped_lock lock(process_.machine.mutex);
  if (const auto fault = process_.machine.takeFault("SetupCopyOEMInfW")) return Failure{*fault};
  const auto source = resolvePath(process_, sourceInf);
  if (!source) return Failure{kErrorInvalidName};
  return stageDriverPackage(process_.machine.disk, process_.machine.config.os, *source, copyStyle,
                            destinationChars);
}

Result<DeviceSetId> SimDevicePort::setupDiGetClassDevs(const std::wstring& enumerator,
                                                       Dword flags) {
  std::scoped_lock lock(process_.machine.mutex);
  if (const auto fault = process_.machine.takeFault("SetupDiGetClassDevsW")) {
    return Failure{*fault};
  }
  return process_.machine.devices.openSet(process_.id, enumerator, flags);
}

Result<DeviceInfoData> SimDevicePort::setupDiEnumDeviceInfo(DeviceSetId set, Dword index) {
  std::scoped_lock lock(process_.machine.mutex);
  if (const auto fault = process_.machine.takeFault("SetupDiEnumDeviceInfo"))
    return Failure{*fault};
  return process_.machine.devices.enumerate(process_.id, set, index);
}

Result<DeviceProperty> SimDevicePort::setupDiGetDeviceRegistryProperty(DeviceSetId set,
                                                                       const DeviceInfoData& device,
                                                                       Dword property,
                                                                       Dword bufferBytes) {
  std::scoped_lock lock(process_.machine.mutex);
  if (const auto fault = process_.machine.takeFault("SetupDiGetDeviceRegistryPropertyW")) {
    return Failure{*fault};
  }
  return process_.machine.devices.property(process_.id, set, device, property, bufferBytes);
}

Dword SimDevicePort::setupDiSetDeviceRegistryProperty(DeviceSetId set, const DeviceInfoData& device,
                                                      Dword property,
                                                      const std::vector<std::uint8_t>& data) {
  std::scoped_lock lock(process_.machine.mutex);
  MachineState& machine = process_.machine;
  if (const auto fault = machine.takeFault("SetupDiSetDeviceRegistryPropertyW")) return *fault;
  return machine.devices.setProperty(process_.id, set, device, property, data,
                                     machine.config.os.isAdministrator);
}

Dword SimDevicePort::setupDiDestroyDeviceInfoList(DeviceSetId set) {
  std::scoped_lock lock(process_.machine.mutex);
  return process_.machine.devices.destroySet(process_.id, set);
}

Result<bool> SimDevicePort::updateDriverForPlugAndPlayDevices(const std::wstring& hardwareId,
                                                              const std::wstring& infPath,
                                                              Dword installFlags) {
  std::scoped_lock lock(process_.machine.mutex);
  MachineState& machine = process_.machine;
  if (const auto fault = machine.takeFault("UpdateDriverForPlugAndPlayDevicesW")) {
    return Failure{*fault};
  }
  // Only a 64-bit process may install drivers on 64-bit Windows.
  if (machine.config.os.is64Bit && !process_.image.is64Bit) return Failure{kErrorInWow64};
  if ((installFlags & ~kKnownInstallFlags) != 0) return Failure{kErrorInvalidFlags};
  if (!machine.config.os.isAdministrator) return Failure{kErrorAccessDenied};
  const auto inf = resolvePath(process_, infPath);
  const FileSystem::Node* node = inf ? machine.disk.find(*inf) : nullptr;
  if (node == nullptr || node->entry.isFolder) return Failure{kErrorFileNotFound};
  const std::vector<std::uint8_t> contents = node->entry.contents;
  const Dword error = machine.devices.updateDriver(hardwareId, contents, machine.spooler);
  if (error != kErrorSuccess) return Failure{error};
  return false;
}

Result<DevInst> SimDevicePort::cmLocateDevNode(const std::optional<std::wstring>& deviceId,
                                               Dword flags) {
  std::scoped_lock lock(process_.machine.mutex);
  if (const auto fault = process_.machine.takeFault("CM_Locate_DevNodeW")) return Failure{*fault};
  return process_.machine.devices.locate(deviceId, flags);
}

Dword SimDevicePort::cmReenumerateDevNode(DevInst devInst, Dword flags) {
  std::scoped_lock lock(process_.machine.mutex);
  MachineState& machine = process_.machine;
  if (const auto fault = machine.takeFault("CM_Reenumerate_DevNode")) return *fault;
  if (!machine.config.os.isAdministrator) return kCrAccessDenied;
  return machine.devices.reenumerate(devInst, flags, machine.now);
}

Dword SimDevicePort::cmpWaitNoPendingInstallEvents(Dword milliseconds) {
  std::unique_lock lock(process_.machine.mutex);
  MachineState& machine = process_.machine;
  if (const auto fault = machine.takeFault("CMP_WaitNoPendingInstallEvents")) return *fault;
  machine.runDueWork();
  if (!machine.devices.installPending()) return kWaitObject0;
  if (milliseconds == 0) return kWaitTimeout;
  const std::function<bool()> idle = [&machine] { return !machine.devices.installPending(); };
  std::optional<std::uint64_t> deadline;
  if (milliseconds != kInfinite) deadline = machine.now + milliseconds;
  return machine.block(lock, idle, deadline) ? kWaitObject0 : kWaitTimeout;
}

}  // namespace plat::sim
