// The machine file's "devices" section: USB printer devices, each with a
// unique instance id under the USBPRINT enumerator; a property that is left
// out is not set.
#include "platform/sim/model/file_system.h"
#include "platform/sim/model/machine_sections.h"
#include "platform/sim/model/spooler_state.h"
#include "platform/sim/text.h"

namespace plat::sim {

namespace {

using nlohmann::json;

void readDevices(const FieldReader& reader, const json& devices, MachineConfig& config) {
  std::vector<UsbDeviceConfig> out;
  std::set<std::wstring> seen;
  reader.each(devices, "devices", [&](const json& item, const std::string& path) {
    reader.expectObject(
        item, path,
        {"instanceId", "present", "hardwareIds", "manufacturer", "configFlags", "port"});
    UsbDeviceConfig device;
    device.instanceId = reader.wide(item, "instanceId", path);
    if (pathKey(device.instanceId).rfind(L"USBPRINT\\", 0) != 0 ||
        device.instanceId.size() <= std::wstring(L"USBPRINT\\").size()) {
      reader.fail(path + ".instanceId", "expected an id like \"USBPRINT\\\\MODEL\\\\1\"");
    }
    if (!seen.insert(pathKey(device.instanceId)).second) {
      reader.fail(path + ".instanceId", "named twice");
    }
    if (item.contains("present")) device.present = reader.boolField(item, "present", path);
    if (item.contains("hardwareIds")) {
      device.hardwareIds.emplace();
      reader.each(item["hardwareIds"], path + ".hardwareIds",
                  [&](const json& value, const std::string& idPath) {
                    const std::wstring id = reader.wideItem(value, idPath);
                    if (id.empty()) reader.fail(idPath, "expected a non-empty id");
                    device.hardwareIds->push_back(id);
                  });
    }
    if (item.contains("manufacturer")) {
      device.manufacturer = reader.wide(item, "manufacturer", path);
    }
    if (item.contains("configFlags")) {
      device.configFlags =
          static_cast<Dword>(reader.unsignedField(item, "configFlags", path, 0xFFFFFFFF));
    }
    if (item.contains("port")) {
      device.port = reader.wide(item, "port", path);
      if (device.port.size() > kMaxPortNameChars) {
        reader.fail(path + ".port",
                    "expected at most " + std::to_string(kMaxPortNameChars) + " characters");
      }
    }
    out.push_back(std::move(device));
  });
  config.devices = std::move(out);
}

std::optional<json> writeDevices(const MachineConfig& config) {
  json out = json::array();
  for (const auto& device : config.devices) {
    json entry = {{"instanceId", toUtf8(device.instanceId)}, {"present", device.present}};
    if (device.hardwareIds) {
      entry["hardwareIds"] = json::array();
      for (const auto& id : *device.hardwareIds) entry["hardwareIds"].push_back(toUtf8(id));
    }
    if (device.manufacturer) entry["manufacturer"] = toUtf8(*device.manufacturer);
    if (device.configFlags) entry["configFlags"] = *device.configFlags;
    if (!device.port.empty()) entry["port"] = toUtf8(device.port);
    out.push_back(entry);
  }
  return out;
}

}  // namespace

const MachineSection kDevicesSection{"devices", readDevices, writeDevices};

}  // namespace plat::sim
