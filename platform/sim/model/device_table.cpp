#include "platform/sim/model/device_table.h"

#include <algorithm>
#include <cstdio>

#include "platform/api/registry_port.h"
#include "platform/sim/model/driver_store.h"
#include "platform/sim/model/spooler_state.h"

namespace plat::sim {

namespace {

// {4D36E979-E325-11CE-BFC1-08002BE10318}, the printer setup class, in the
// byte order of a GUID in memory.
constexpr std::array<std::uint8_t, 16> kPrinterClass = {
    0x79, 0xE9, 0x36, 0x4D, 0x25, 0xE3, 0xCE, 0x11, 0xBF, 0xC1, 0x08, 0x00, 0x2B, 0xE1, 0x03, 0x18};
constexpr Dword kFirstDeviceDevInst = 2;
constexpr int kMaxUsbPort = 999;
constexpr Dword kKnownReenumerateFlags = 0x7;

bool unbound(const UsbDeviceConfig& device) {
  return !device.manufacturer || device.manufacturer->empty();
}

bool flagged(const UsbDeviceConfig& device) {
  return device.configFlags && (*device.configFlags & kConfigFlagReinstall) != 0;
}

bool hasHardwareId(const UsbDeviceConfig& device, const std::wstring& hardwareId) {
  if (!device.hardwareIds) return false;
  return std::any_of(device.hardwareIds->begin(), device.hardwareIds->end(),
                     [&](const std::wstring& id) { return pathKey(id) == pathKey(hardwareId); });
}

}  // namespace

DeviceTable::DeviceTable(const std::vector<UsbDeviceConfig>& devices) {
  DevInst next = kFirstDeviceDevInst;
  for (const UsbDeviceConfig& config : devices) devices_.push_back({config, next++, false});
}

std::vector<UsbDeviceConfig> DeviceTable::save() const {
  std::vector<UsbDeviceConfig> out;
  out.reserve(devices_.size());
  for (const Device& device : devices_) out.push_back(device.config);
  return out;
}

Result<DeviceSetId> DeviceTable::openSet(ProcessId process, const std::wstring& enumerator,
                                         Dword flags) {
  // Without a class GUID only the all-classes flag says which devices.
  if ((flags & kDigcfAllClasses) == 0) return Failure{kErrorInvalidParameter};
  Set set{process, {}};
  if (enumerator.empty() || pathKey(enumerator) == kUsbPrintEnumerator) {
    for (const Device& device : devices_) {
      if ((flags & kDigcfPresent) == 0 || device.config.present) {
        set.devices.push_back(device.devInst);
      }
    }
  }
  const DeviceSetId id = nextSet_;
  nextSet_ += 4;
  sets_.emplace(id, std::move(set));
  return id;
}

Result<DeviceInfoData> DeviceTable::enumerate(ProcessId process, DeviceSetId set,
                                              Dword index) const {
  const auto found = sets_.find(set);
  if (found == sets_.end() || found->second.process != process) return Failure{kErrorInvalidHandle};
  if (index >= found->second.devices.size()) return Failure{kErrorNoMoreItems};
  const DevInst devInst = found->second.devices[index];
  return DeviceInfoData{kPrinterClass, devInst, devInst};
}

const DeviceTable::Device* DeviceTable::resolve(ProcessId process, DeviceSetId set,
                                                const DeviceInfoData& device) const {
  const auto found = sets_.find(set);
  if (found == sets_.end() || found->second.process != process) return nullptr;
  const auto& members = found->second.devices;
  if (std::find(members.begin(), members.end(), device.devInst) == members.end()) return nullptr;
  const auto at = std::find_if(devices_.begin(), devices_.end(),
                               [&](const Device& d) { return d.devInst == device.devInst; });
  return at == devices_.end() ? nullptr : &*at;
}

DeviceTable::Device* DeviceTable::find(DevInst devInst) {
  const auto at = std::find_if(devices_.begin(), devices_.end(),
                               [&](const Device& d) { return d.devInst == devInst; });
  return at == devices_.end() ? nullptr : &*at;
}

Result<DeviceProperty> DeviceTable::property(ProcessId process, DeviceSetId set,
                                             const DeviceInfoData& device, Dword property,
                                             Dword bufferBytes) const {
  const Device* at = resolve(process, set, device);
  if (at == nullptr) return Failure{kErrorInvalidHandle};
  const UsbDeviceConfig& config = at->config;
  DeviceProperty out;
  if (property == kSpdrpHardwareId && config.hardwareIds) {
    out.type = kRegMultiSz;
    // An empty list is still an empty string and the closing zero.
    out.data = config.hardwareIds->empty() ? std::vector<std::uint8_t>{0, 0, 0, 0}
                                           : regMultiSzData(*config.hardwareIds);
  } else if (property == kSpdrpMfg && config.manufacturer) {
    out.type = kRegSz;
    out.data = regSzData(*config.manufacturer);
  } else if (property == kSpdrpConfigFlags && config.configFlags) {
    out.type = kRegDword;
    out.data = dwordLeBytes(*config.configFlags);
  } else {
    // A property the device does not have.
    return Failure{kErrorInvalidData};
  }
  out.requiredBytes = static_cast<Dword>(out.data.size());
  if (out.data.size() > bufferBytes) {
    out.data.clear();
    return {Failure{kErrorInsufficientBuffer}, out};
  }
  return out;
}

Dword DeviceTable::setProperty(ProcessId process, DeviceSetId set, const DeviceInfoData& device,
                               Dword property, const std::vector<std::uint8_t>& data,
                               bool administrator) {
  const Device* at = resolve(process, set, device);
  if (at == nullptr) return kErrorInvalidHandle;
  if (property != kSpdrpConfigFlags) return kErrorInvalidRegProperty;
  if (!administrator) return kErrorAccessDenied;
  const auto value = dwordFromLeBytes(data);
  if (!value) return kErrorInvalidData;
  find(at->devInst)->config.configFlags = *value;
  return kErrorSuccess;
}

Dword DeviceTable::destroySet(ProcessId process, DeviceSetId set) {
  const auto found = sets_.find(set);
  if (found == sets_.end() || found->second.process != process) return kErrorInvalidHandle;
  sets_.erase(found);
  return kErrorSuccess;
}

void DeviceTable::closeAll(ProcessId process) {
  std::erase_if(sets_, [process](const auto& entry) { return entry.second.process == process; });
}

Result<DevInst> DeviceTable::locate(const std::optional<std::wstring>& deviceId,
                                    Dword flags) const {
  if ((flags & ~kCmLocateDevnodePhantom) != 0) return Failure{kCrInvalidFlag};
  if (!deviceId || deviceId->empty() || pathKey(*deviceId) == kRootDeviceId) {
    return kRootDevInst;
  }
  for (const Device& device : devices_) {
    if (pathKey(device.config.instanceId) != pathKey(*deviceId)) continue;
    if (!device.config.present && (flags & kCmLocateDevnodePhantom) == 0) break;
    return device.devInst;
  }
  return Failure{kCrNoSuchDevnode};
}

void DeviceTable::queue(Device& device, std::uint64_t now) {
  device.queued = true;
  if (!installDue_) installDue_ = now + kInstallMilliseconds;
}

Dword DeviceTable::reenumerate(DevInst devInst, Dword flags, std::uint64_t now) {
  if ((flags & ~kKnownReenumerateFlags) != 0) return kCrInvalidFlag;
  if (devInst != kRootDevInst) {
    Device* device = find(devInst);
    if (device == nullptr) return kCrInvalidDevnode;
    if (!device->config.present) return kCrNoSuchDevnode;
  }
  for (Device& device : devices_) {
    if (devInst != kRootDevInst && device.devInst != devInst) continue;
    if (device.config.present && (flagged(device.config) || unbound(device.config))) {
      queue(device, now);
    }
  }
  return kCrSuccess;
}

std::wstring DeviceTable::freeUsbPort(const SpoolerState& spooler) const {
  for (int number = 1; number <= kMaxUsbPort; ++number) {
    wchar_t name[8] = {};
    std::swprintf(name, 8, L"USB%03d", number);
    const bool taken = spooler.hasPort(name) ||
                       std::any_of(devices_.begin(), devices_.end(), [&](const Device& d) {
                         return pathKey(d.config.port) == pathKey(name);
                       });
    if (!taken) return name;
  }
  return L"";
}

bool DeviceTable::install(Device& device, const std::vector<std::vector<std::uint8_t>>& infs,
                          SpoolerState& spooler, const std::wstring* onlyId) {
  if (!device.config.hardwareIds) return false;
  for (const std::wstring& id : *device.config.hardwareIds) {
    if (onlyId != nullptr && pathKey(id) != pathKey(*onlyId)) continue;
    for (const auto& inf : infs) {
      const auto match = infMatchFor(inf, id);
      if (!match) continue;
      UsbDeviceConfig& config = device.config;
      config.manufacturer = match->manufacturer;
      config.configFlags = config.configFlags.value_or(0) & ~kConfigFlagReinstall;
      if (config.port.empty()) config.port = freeUsbPort(spooler);
      if (config.port.empty()) return false;
      spooler.addPlugAndPlayQueue(match->driver, match->version, config.port);
      spooler.setPortOnline(config.port, true);
      return true;
    }
  }
  return false;
}

void DeviceTable::settle(std::uint64_t now, const FileSystem& disk, SpoolerState& spooler) {
  if (!installDue_ || now < *installDue_) return;
  installDue_.reset();
  const auto infs = stagedInfs(disk);
  for (Device& device : devices_) {
    if (!device.queued) continue;
    device.queued = false;
    if (device.config.present) install(device, infs, spooler);
  }
}

Dword DeviceTable::updateDriver(const std::wstring& hardwareId,
                                const std::vector<std::uint8_t>& inf, SpoolerState& spooler) {
  bool matched = false;
  for (Device& device : devices_) {
    if (!device.config.present || !hasHardwareId(device.config, hardwareId)) continue;
    // The INF's driver for the given id is what gets installed.
    matched = install(device, {inf}, spooler, &hardwareId) || matched;
  }
  return matched ? kErrorSuccess : kErrorNoMoreItems;
}

void DeviceTable::takeOfflineAbsent(SpoolerState& spooler) const {
  for (const Device& device : devices_) {
    if (!device.config.present && !device.config.port.empty()) {
      spooler.setPortOnline(device.config.port, false);
    }
  }
}

bool DeviceTable::setPresent(const std::wstring& instanceId, bool present, std::uint64_t now,
                             SpoolerState& spooler) {
  const auto at = std::find_if(devices_.begin(), devices_.end(), [&](const Device& d) {
    return pathKey(d.config.instanceId) == pathKey(instanceId);
  });
  if (at == devices_.end()) return false;
  if (at->config.present == present) return true;
  at->config.present = present;
  if (!at->config.port.empty()) spooler.setPortOnline(at->config.port, present);
  // A device that arrives is installed as a re-enumeration would: when it
  // is flagged or has no driver, or its queue is gone.
  if (present) queue(*at, now);
  return true;
}

}  // namespace plat::sim
