// The maker's USB printers: finding a connected one by its hardware id,
// binding it to the package driver in this process, and flagging them all
// for reinstallation with a rescan of the device tree.
#include <cstdint>
#include <optional>
#include <string>

#include "installer/engine/driver_engine.h"
#include "installer/engine/maker_rules.h"
#include "platform/api/ports.h"
#include "platform/api/wide_text.h"

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
  const plat::Result<plat::DeviceProperty> read =
      devices.setupDiGetDeviceRegistryProperty(set, device, property, kPropertyBytes);
  if (!read) return std::nullopt;
  std::size_t pos = 0;
  return plat::textFromUnits(plat::utf16LeUnits(read->data), pos);
}

// The device's SPDRP_CONFIGFLAGS value, when it has one of 4 bytes.
std::optional<plat::Dword> readConfigFlags(plat::DevicePort& devices, plat::DeviceSetId set,
                                           const plat::DeviceInfoData& device) {
  const plat::Result<plat::DeviceProperty> read = devices.setupDiGetDeviceRegistryProperty(
      set, device, plat::kSpdrpConfigFlags, kConfigFlagsBytes);
  if (!read) return std::nullopt;
  return plat::dwordFromLeBytes(read->data);
}

// A code as printf's "%d" shows it: SetupAPI's codes come out negative.
std::wstring signedText(plat::Dword code) {
  return std::to_wstring(static_cast<std::int32_t>(code));
}

}  // namespace

plat::Result<std::wstring> CDriverEngine::findUsbPrinterHardwareId(bool driverInstalled) {
  plat::DevicePort& devices = plat::ports().devices();
  const auto set = plat::DeviceSetHandle::adopt(
      devices, devices.setupDiGetClassDevs(kUsbPrintEnumerator,
                                           plat::kDigcfPresent | plat::kDigcfAllClasses));
  if (!set) return plat::Failure{set.error()};
  // Once set, never reset: every later device is judged by its id alone.
  bool candidateSeen = false;
  for (plat::Dword index = 0;; ++index) {
    const plat::Result<plat::DeviceInfoData> device =
        devices.setupDiEnumDeviceInfo(set->get(), index);
    if (!device) break;
    const std::wstring maker =
        readFirstString(devices, set->get(), *device, plat::kSpdrpMfg).value_or(L"");
    const bool candidate =
        maker.empty() || (!driverInstalled && isMakerDeviceId(maker)) || candidateSeen;
    if (!candidate) continue;
    candidateSeen = true;
    const auto id = readFirstString(devices, set->get(), *device, plat::kSpdrpHardwareId);
    if (id && isMakerDeviceId(*id)) return *id;
  }
  return std::wstring();
}

plat::Dword CDriverEngine::updateDriverForDevice(const std::wstring& infPath,
                                                 const std::wstring& hardwareId) {
  // The reboot flag is received and not looked at.
  const plat::Result<bool> update = plat::ports().devices().updateDriverForPlugAndPlayDevices(
      hardwareId, infPath, plat::kInstallFlagForce);
  if (update) return plat::kErrorSuccess;
  logEntry(L"UpdateDriverForPlugAndPlayDevices " + hardwareId);
  logEntry(L"UpdateDriverForPlugAndPlayDevices err:" + signedText(update.error()));
  return update.error();
}

plat::Dword CDriverEngine::markDevicesForReinstall() {
  plat::DevicePort& devices = plat::ports().devices();
  {
    // Without DIGCF_PRESENT: devices that are not connected now are
    // flagged too and install when they come back.
    const auto set = plat::DeviceSetHandle::adopt(
        devices, devices.setupDiGetClassDevs(kUsbPrintEnumerator, plat::kDigcfAllClasses));
    if (!set) return plat::kErrorSuccess;
    for (plat::Dword index = 0;; ++index) {
      const plat::Result<plat::DeviceInfoData> device =
          devices.setupDiEnumDeviceInfo(set->get(), index);
      if (!device) break;
      const auto id = readFirstString(devices, set->get(), *device, plat::kSpdrpHardwareId);
      if (!id || !isMakerDeviceId(*id)) continue;
      const auto flags = readConfigFlags(devices, set->get(), *device);
      if (!flags) continue;
      devices.setupDiSetDeviceRegistryProperty(
          set->get(), *device, plat::kSpdrpConfigFlags,
          plat::dwordLeBytes(*flags | plat::kConfigFlagReinstall));
    }
  }
  rescanDevices();
  return plat::kErrorSuccess;
}

void CDriverEngine::rescanDevices() {
  plat::DevicePort& devices = plat::ports().devices();
  const plat::Result<plat::DevInst> root =
      devices.cmLocateDevNode(std::nullopt, plat::kCmLocateDevnodeNormal);
  const plat::Dword result =
      root ? devices.cmReenumerateDevNode(
                 *root, plat::kCmReenumerateRetryInstallation | plat::kCmReenumerateAsynchronous)
           : root.error();
  logEntry(L"rescanDevices CR_SUCCESS:" + signedText(result));
}

}  // namespace brisvane
