// Device installation on the simulated machine: the printer devices of the
// USBPRINT enumerator, device information sets per process, and plug and
// play.
//
// Plug and play installs a device from the driver store: a staged oem INF
// that lists one of its hardware ids gives it the INF's manufacturer,
// clears its reinstall flag, and has the spooler add the model's driver,
// the device's USB port and a queue on it. A re-enumeration of the tree
// (and a device that is plugged in) starts such an installation for the
// connected devices that are flagged for reinstall or have no driver yet;
// it finishes after kInstallMilliseconds of virtual time, and until then an
// installation is pending. UpdateDriverForPlugAndPlayDevicesW installs the
// connected devices with the given hardware id at once.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/api/device_port.h"
#include "platform/sim/machine_config.h"
#include "platform/sim/model/file_system.h"
#include "platform/sim/model/process_id.h"

namespace plat::sim {

class SpoolerState;

// How long a plug-and-play installation takes, in virtual milliseconds.
inline constexpr Dword kInstallMilliseconds = 2000;
// The root of the device tree (CM_Locate_DevNodeW without a device id).
inline constexpr DevInst kRootDevInst = 1;
inline constexpr wchar_t kRootDeviceId[] = L"HTREE\\ROOT\\0";
inline constexpr wchar_t kUsbPrintEnumerator[] = L"USBPRINT";

class DeviceTable {
 public:
  explicit DeviceTable(const std::vector<UsbDeviceConfig>& devices);

  [[nodiscard]] std::vector<UsbDeviceConfig> save() const;

  Result<DeviceSetId> openSet(ProcessId process, const std::wstring& enumerator, Dword flags);
  [[nodiscard]] Result<DeviceInfoData> enumerate(ProcessId process, DeviceSetId set,
                                                 Dword index) const;
  [[nodiscard]] Result<DeviceProperty> property(ProcessId process, DeviceSetId set,
                                                const DeviceInfoData& device, Dword property,
                                                Dword bufferBytes) const;
  Dword setProperty(ProcessId process, DeviceSetId set, const DeviceInfoData& device,
                    Dword property, const std::vector<std::uint8_t>& data, bool administrator);
  Dword destroySet(ProcessId process, DeviceSetId set);
  // The process has ended: its device sets go with it.
  void closeAll(ProcessId process);

  [[nodiscard]] Result<DevInst> locate(const std::optional<std::wstring>& deviceId,
                                       Dword flags) const;
  // Starts an installation of the node's connected devices (all of them
  // for the root) that are flagged or have no driver.
  Dword reenumerate(DevInst devInst, Dword flags, std::uint64_t now);
  // UpdateDriverForPlugAndPlayDevicesW of an INF's contents.
  Dword updateDriver(const std::wstring& hardwareId, const std::vector<std::uint8_t>& inf,
                     SpoolerState& spooler);
  // The queues on the ports of unplugged devices work offline.
  void takeOfflineAbsent(SpoolerState& spooler) const;
  // Connects or unplugs a device; false when there is no such device.
  bool setPresent(const std::wstring& instanceId, bool present, std::uint64_t now,
                  SpoolerState& spooler);

  [[nodiscard]] bool installPending() const { return installDue_.has_value(); }
  [[nodiscard]] std::optional<std::uint64_t> installDue() const { return installDue_; }
  // Finishes the pending installation when it is due.
  void settle(std::uint64_t now, const FileSystem& disk, SpoolerState& spooler);

 private:
  struct Device {
    UsbDeviceConfig config;
    DevInst devInst = 0;
    bool queued = false;  // waits for the pending installation
  };
  struct Set {
    ProcessId process = 0;
    std::vector<DevInst> devices;
  };

  [[nodiscard]] const Device* resolve(ProcessId process, DeviceSetId set,
                                      const DeviceInfoData& device) const;
  Device* find(DevInst devInst);
  void queue(Device& device, std::uint64_t now);
  // Installs the device from the INF files given; false when none lists
  // one of its hardware ids (or `onlyId`, when given).
  bool install(Device& device, const std::vector<std::vector<std::uint8_t>>& infs,
               SpoolerState& spooler, const std::wstring* onlyId = nullptr);
  [[nodiscard]] std::wstring freeUsbPort(const SpoolerState& spooler) const;

  std::vector<Device> devices_;
  std::map<DeviceSetId, Set> sets_;
  DeviceSetId nextSet_ = 0x9000;
  std::optional<std::uint64_t> installDue_;
};

}  // namespace plat::sim
