// Device installation (setupapi, newdev, cfgmgr32).
// windows.h (through win32_ports.h) comes before the device headers.
#include "platform/win32/win32_ports.h"

#include <setupapi.h>
// setupapi.h first: cfgmgr32.h and newdev.h use its types.
#include <cfgmgr32.h>
#include <newdev.h>

#include <cstring>
#include <vector>

namespace plat::win32 {

namespace {

HDEVINFO nativeSet(DeviceSetId set) {
  // kNoDeviceSet stands for INVALID_HANDLE_VALUE.
  return set == kNoDeviceSet ? INVALID_HANDLE_VALUE : reinterpret_cast<HDEVINFO>(set);
}

SP_DEVINFO_DATA nativeDevice(const DeviceInfoData& device) {
  SP_DEVINFO_DATA native{};
  native.cbSize = sizeof(native);
  std::memcpy(&native.ClassGuid, device.classGuid.data(), sizeof(native.ClassGuid));
  native.DevInst = device.devInst;
  native.Reserved = device.reserved;
  return native;
}

}  // namespace

Result<std::wstring> Win32Devices::setupCopyOemInf(const std::wstring& sourceInf, Dword copyStyle,
                                                   Dword destinationChars) {
  std::vector<wchar_t> destination(destinationChars + 1, L'\0');
  const BOOL copied = SetupCopyOEMInfW(sourceInf.c_str(), nullptr, SPOST_PATH, copyStyle,
                                       destination.data(), destinationChars, nullptr, nullptr);
  if (copied == FALSE) return {Failure{GetLastError()}, destination.data()};
  return std::wstring(destination.data());
}

Result<DeviceSetId> Win32Devices::setupDiGetClassDevs(const std::wstring& enumerator, Dword flags) {
  HDEVINFO set = SetupDiGetClassDevsW(nullptr, enumerator.empty() ? nullptr : enumerator.c_str(),
                                      nullptr, flags);
  if (set == INVALID_HANDLE_VALUE) return Failure{GetLastError()};
  return reinterpret_cast<DeviceSetId>(set);
}

Result<DeviceInfoData> Win32Devices::setupDiEnumDeviceInfo(DeviceSetId set, Dword index) {
  SP_DEVINFO_DATA native{};
  native.cbSize = sizeof(native);
  if (SetupDiEnumDeviceInfo(nativeSet(set), index, &native) == FALSE) {
    return Failure{GetLastError()};
  }
  DeviceInfoData device;
  std::memcpy(device.classGuid.data(), &native.ClassGuid, device.classGuid.size());
  device.devInst = native.DevInst;
  device.reserved = native.Reserved;
  return device;
}

Result<DeviceProperty> Win32Devices::setupDiGetDeviceRegistryProperty(DeviceSetId set,
                                                                      const DeviceInfoData& device,
                                                                      Dword property,
                                                                      Dword bufferBytes) {
  SP_DEVINFO_DATA native = nativeDevice(device);
  std::vector<std::uint8_t> buffer(bufferBytes);
  DWORD type = 0;
  DWORD required = 0;
  const BOOL read = SetupDiGetDeviceRegistryPropertyW(nativeSet(set), &native, property, &type,
                                                      buffer.data(), bufferBytes, &required);
  if (read == FALSE) return {Failure{GetLastError()}, DeviceProperty{{}, type, required}};
  buffer.resize(std::min<DWORD>(required, bufferBytes));
  return DeviceProperty{buffer, type, required};
}

Dword Win32Devices::setupDiSetDeviceRegistryProperty(DeviceSetId set, const DeviceInfoData& device,
                                                     Dword property,
                                                     const std::vector<std::uint8_t>& data) {
  SP_DEVINFO_DATA native = nativeDevice(device);
  const BOOL written = SetupDiSetDeviceRegistryPropertyW(nativeSet(set), &native, property,
                                                         data.empty() ? nullptr : data.data(),
                                                         static_cast<DWORD>(data.size()));
  return written != FALSE ? kErrorSuccess : GetLastError();
}

Dword Win32Devices::setupDiDestroyDeviceInfoList(DeviceSetId set) {
  return SetupDiDestroyDeviceInfoList(nativeSet(set)) != FALSE ? kErrorSuccess : GetLastError();
}

Result<bool> Win32Devices::updateDriverForPlugAndPlayDevices(const std::wstring& hardwareId,
                                                             const std::wstring& infPath,
                                                             Dword installFlags) {
  BOOL reboot = FALSE;
  const BOOL updated = UpdateDriverForPlugAndPlayDevicesW(nullptr, hardwareId.c_str(),
                                                          infPath.c_str(), installFlags, &reboot);
  if (updated == FALSE) return Failure{GetLastError()};
  return reboot != FALSE;
}

Result<DevInst> Win32Devices::cmLocateDevNode(const std::optional<std::wstring>& deviceId,
                                              Dword flags) {
  DEVINST devInst = 0;
  std::wstring id = deviceId.value_or(L"");
  const CONFIGRET result = CM_Locate_DevNodeW(&devInst, deviceId ? id.data() : nullptr, flags);
  if (result != CR_SUCCESS) return Failure{result};
  return Dword{devInst};
}

Dword Win32Devices::cmReenumerateDevNode(DevInst devInst, Dword flags) {
  return CM_Reenumerate_DevNode(devInst, flags);
}

Dword Win32Devices::cmpWaitNoPendingInstallEvents(Dword milliseconds) {
  return CMP_WaitNoPendingInstallEvents(milliseconds);
}

}  // namespace plat::win32
