// Device installation (setupapi, newdev and the configuration manager):
// the driver store, the device sets of an enumerator with their registry
// properties, the plug-and-play driver update and the device tree.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/api/result.h"
#include "platform/api/types.h"
#include "platform/api/unique_handle.h"

namespace plat {

// SetupCopyOEMInfW media type and copy styles.
inline constexpr Dword kSpostPath = 1;
inline constexpr Dword kSpCopyNewerOrSame = 0x4;
inline constexpr Dword kSpCopyNoOverwrite = 0x8;

// SetupDiGetClassDevsW flags: only devices connected now, and devices of
// every setup class (needed when no class GUID is given).
inline constexpr Dword kDigcfPresent = 0x2;
inline constexpr Dword kDigcfAllClasses = 0x4;

// SetupDiGetDeviceRegistryPropertyW properties.
inline constexpr Dword kSpdrpHardwareId = 0x01;
inline constexpr Dword kSpdrpConfigFlags = 0x0A;
inline constexpr Dword kSpdrpMfg = 0x0B;

// SPDRP_CONFIGFLAGS bit: Windows installs the device again at its next
// enumeration.
inline constexpr Dword kConfigFlagReinstall = 0x20;

// UpdateDriverForPlugAndPlayDevicesW flag: install even when the driver is
// not a better match than the current one.
inline constexpr Dword kInstallFlagForce = 0x1;

// Error codes of the device calls.
inline constexpr Dword kErrorInvalidData = 13;
inline constexpr Dword kErrorInvalidFlags = 1004;
// SetupAPI's own codes (APPLICATION_ERROR_MASK | ERROR_SEVERITY_ERROR | n).
inline constexpr Dword kErrorInvalidRegProperty = 0xE0000209;
inline constexpr Dword kErrorNoSuchDevinst = 0xE000020B;
// UpdateDriverForPlugAndPlayDevicesW called by a 32-bit process on 64-bit
// Windows.
inline constexpr Dword kErrorInWow64 = 0xE0000235;

// Configuration manager results (CONFIGRET) and flags.
inline constexpr Dword kCrSuccess = 0x00;
inline constexpr Dword kCrInvalidDevnode = 0x05;
inline constexpr Dword kCrInvalidFlag = 0x04;
inline constexpr Dword kCrNoSuchDevnode = 0x0D;
inline constexpr Dword kCrAccessDenied = 0x33;
inline constexpr Dword kCmLocateDevnodeNormal = 0x0;
inline constexpr Dword kCmLocateDevnodePhantom = 0x1;
inline constexpr Dword kCmReenumerateRetryInstallation = 0x2;
inline constexpr Dword kCmReenumerateAsynchronous = 0x4;

// A device information set (HDEVINFO); 0 is "no set".
using DeviceSetId = std::uintptr_t;
inline constexpr DeviceSetId kNoDeviceSet = 0;

// A device node of the device tree (DEVINST).
using DevInst = Dword;

// SP_DEVINFO_DATA: one device of a set, handed back unchanged to the
// property calls.
struct DeviceInfoData {
  std::array<std::uint8_t, 16> classGuid{};
  DevInst devInst = 0;
  std::uintptr_t reserved = 0;
};

// SetupDiGetDeviceRegistryPropertyW: the bytes written to the caller's
// buffer, their type, and the size the property needs.
struct DeviceProperty {
  std::vector<std::uint8_t> data;
  Dword type = 0;
  Dword requiredBytes = 0;
};

class DevicePort {
 public:
  DevicePort() = default;
  DevicePort(const DevicePort&) = delete;
  DevicePort& operator=(const DevicePort&) = delete;
  virtual ~DevicePort() = default;

  // SetupCopyOEMInfW with no media location, media type SPOST_PATH and a
  // destination buffer of `destinationChars` characters; the required-size
  // and file-name-component pointers are null. The oem INF path written to
  // the destination buffer, which a failure with ERROR_FILE_EXISTS (the
  // package is already staged) hands back too.
  virtual Result<std::wstring> setupCopyOemInf(const std::wstring& sourceInf, Dword copyStyle,
                                               Dword destinationChars) = 0;

  // SetupDiGetClassDevsW with no class GUID and no parent window.
  virtual Result<DeviceSetId> setupDiGetClassDevs(const std::wstring& enumerator, Dword flags) = 0;
  // SetupDiEnumDeviceInfo: the device at `index`, kErrorNoMoreItems past
  // the last one.
  virtual Result<DeviceInfoData> setupDiEnumDeviceInfo(DeviceSetId set, Dword index) = 0;
  // SetupDiGetDeviceRegistryPropertyW into a buffer of `bufferBytes` bytes.
  // A property that does not fit fails with kErrorInsufficientBuffer (122)
  // and hands back its type and required size, with nothing written.
  virtual Result<DeviceProperty> setupDiGetDeviceRegistryProperty(DeviceSetId set,
                                                                  const DeviceInfoData& device,
                                                                  Dword property,
                                                                  Dword bufferBytes) = 0;
  virtual Dword setupDiSetDeviceRegistryProperty(DeviceSetId set, const DeviceInfoData& device,
                                                 Dword property,
                                                 const std::vector<std::uint8_t>& data) = 0;
  virtual Dword setupDiDestroyDeviceInfoList(DeviceSetId set) = 0;

  // UpdateDriverForPlugAndPlayDevicesW (newdev) with no owner window:
  // whether a restart is needed.
  virtual Result<bool> updateDriverForPlugAndPlayDevices(const std::wstring& hardwareId,
                                                         const std::wstring& infPath,
                                                         Dword installFlags) = 0;
  // CM_Locate_DevNodeW; no device id means the root of the device tree.
  // Its failure code is the CONFIGRET, as are cmReenumerateDevNode's
  // results.
  virtual Result<DevInst> cmLocateDevNode(const std::optional<std::wstring>& deviceId,
                                          Dword flags) = 0;
  virtual Dword cmReenumerateDevNode(DevInst devInst, Dword flags) = 0;
  // CMP_WaitNoPendingInstallEvents (results as WaitForSingleObject's):
  // kWaitObject0 when no device
  // installation is pending, kWaitTimeout when one still is after
  // `milliseconds`.
  virtual Dword cmpWaitNoPendingInstallEvents(Dword milliseconds) = 0;
};

// Owns a device information set and destroys it with
// SetupDiDestroyDeviceInfoList.
using DeviceSetHandle =
    UniqueHandle<DevicePort, DeviceSetId, kNoDeviceSet, &DevicePort::setupDiDestroyDeviceInfoList>;

}  // namespace plat
