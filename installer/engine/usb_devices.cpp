// The maker's USB printers: finding a connected one by its hardware id,
// binding it to the package driver in this process, and flagging them all
// for reinstallation with a rescan of the device tree.
#include <cstdint>
#include <optional>
#include <string>

#include "installer/engine/driver_engine.h"
#include "installer/engine/maker_rules.h"
#include "platform/api/ports.h"

namespace brisvane {

namespace {

// Every device set comes from this enumerator.
constexpr wchar_t kUsbPrintEnumerator[] = L"USBPRINT";
// Hardware id and manufacturer are read into a buffer of 260 bytes.
constexpr plat::Dword kPropertyBytes = 260;
constexpr plat::Dword kConfigFlagsBytes = 4;

// The first string of a text property (up to its first terminating zero,
// or the end of the bytes returned when there is none); nothing when the
// read fails, also when the property does not fit the buffer. A failed read
// never hands on what an earlier device left behind.
std::optional<std::wstring> readFirstString(plat::DevicePort& devices, plat::DeviceSetId set,
                                            const plat::DeviceInfoData& device,
                                            plat::Dword property) {
  const plat::DevicePropertyResult read =
      devices.setupDiGetDeviceRegistryProperty(set, device, property, kPropertyBytes);
  if (read.error != plat::kErrorSuccess) return std::nullopt;
  std::wstring text;
  for (std::size_t at = 0; at + 1 < read.data.size() && at < kPropertyBytes; at += 2) {
    const auto c = static_cast<wchar_t>(read.data[at] | (read.data[at + 1] << 8U));
    if (c == L'\0') break;
    text += c;
  }
  return text;
}

// The device's SPDRP_CONFIGFLAGS value, when it has one of 4 bytes.
std::optional<plat::Dword> readConfigFlags(plat::DevicePort& devices, plat::DeviceSetId set,
                                           const plat::DeviceInfoData& device) {
  const plat::DevicePropertyResult read = devices.setupDiGetDeviceRegistryProperty(
      set, device, plat::kSpdrpConfigFlags, kConfigFlagsBytes);
  if (read.error != plat::kErrorSuccess || read.data.size() != kConfigFlagsBytes) {
    return std::nullopt;
  }
  plat::Dword value = 0;
  for (std::size_t at = 0; at < kConfigFlagsBytes; ++at) {
    value |= static_cast<plat::Dword>(read.data[at]) << (8U * at);
  }
  return value;
}

std::vector<std::uint8_t> dwordBytes(plat::Dword value) {
  std::vector<std::uint8_t> bytes;
  for (std::size_t at = 0; at < kConfigFlagsBytes; ++at) {
    bytes.push_back(static_cast<std::uint8_t>((value >> (8U * at)) & 0xFFU));
  }
  return bytes;
}

// A code as printf's "%d" shows it: SetupAPI's codes come out negative.
std::wstring signedText(plat::Dword code) {
  return std::to_wstring(static_cast<std::int32_t>(code));
}

}  // namespace

plat::Dword CDriverEngine::findUsbPrinterHardwareId(std::wstring& hardwareId,
                                                    bool driverInstalled) {
  hardwareId.clear();
  plat::DevicePort& devices = plat::ports().devices();
  plat::Dword error = plat::kErrorSuccess;
  const plat::DeviceSetHandle set = plat::DeviceSetHandle::open(
      devices, kUsbPrintEnumerator, plat::kDigcfPresent | plat::kDigcfAllClasses, error);
  if (!set) return error;
  // Once set, never reset: every later device is judged by its id alone.
  bool candidateSeen = false;
  for (plat::Dword index = 0;; ++index) {
    const plat::DeviceInfoResult device = devices.setupDiEnumDeviceInfo(set.get(), index);
    if (device.error != plat::kErrorSuccess) break;
    const std::wstring maker =
        readFirstString(devices, set.get(), device.device, plat::kSpdrpMfg).value_or(L"");
    const bool candidate =
        maker.empty() || (!driverInstalled && isMakerDeviceId(maker)) || candidateSeen;
    if (!candidate) continue;
    candidateSeen = true;
    const auto id = readFirstString(devices, set.get(), device.device, plat::kSpdrpHardwareId);
    if (id && isMakerDeviceId(*id)) {
      hardwareId = *id;
      break;
    }
  }
  return plat::kErrorSuccess;
}

plat::Dword CDriverEngine::updateDriverForDevice(const std::wstring& infPath,
                                                 const std::wstring& hardwareId) {
  // The reboot flag is received and not looked at.
  const plat::DriverUpdateResult update = plat::ports().devices().updateDriverForPlugAndPlayDevices(
      hardwareId, infPath, plat::kInstallFlagForce);
  if (update.error == plat::kErrorSuccess) return plat::kErrorSuccess;
  logEntry(L"UpdateDriverForPlugAndPlayDevices " + hardwareId);
  logEntry(L"UpdateDriverForPlugAndPlayDevices err:" + signedText(update.error));
  return update.error;
}

plat::Dword CDriverEngine::markDevicesForReinstall() {
  plat::DevicePort& devices = plat::ports().devices();
  plat::Dword error = plat::kErrorSuccess;
  {
    // Without DIGCF_PRESENT: devices that are not connected now are
    // flagged too and install when they come back.
    const plat::DeviceSetHandle set =
        plat::DeviceSetHandle::open(devices, kUsbPrintEnumerator, plat::kDigcfAllClasses, error);
    if (!set) return plat::kErrorSuccess;
    for (plat::Dword index = 0;; ++index) {
      const plat::DeviceInfoResult device = devices.setupDiEnumDeviceInfo(set.get(), index);
      if (device.error != plat::kErrorSuccess) break;
      const auto id = readFirstString(devices, set.get(), device.device, plat::kSpdrpHardwareId);
      if (!id || !isMakerDeviceId(*id)) continue;
      const auto flags = readConfigFlags(devices, set.get(), device.device);
      if (!flags) continue;
      devices.setupDiSetDeviceRegistryProperty(set.get(), device.device, plat::kSpdrpConfigFlags,
                                               dwordBytes(*flags | plat::kConfigFlagReinstall));
    }
  }
  rescanDevices();
  return plat::kErrorSuccess;
}

void CDriverEngine::rescanDevices() {
  plat::DevicePort& devices = plat::ports().devices();
  const plat::DevNodeResult root =
      devices.cmLocateDevNode(std::nullopt, plat::kCmLocateDevnodeNormal);
  plat::Dword result = root.result;
  if (result == plat::kCrSuccess) {
    result = devices.cmReenumerateDevNode(
        root.devInst, plat::kCmReenumerateRetryInstallation | plat::kCmReenumerateAsynchronous);
  }
  logEntry(L"rescanDevices CR_SUCCESS:" + signedText(result));
}

}  // namespace brisvane
