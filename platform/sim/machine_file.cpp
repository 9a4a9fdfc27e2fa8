#include "platform/sim/machine_file.h"

#include <algorithm>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>

#include "platform/api/registry_port.h"
#include "platform/sim/sim_files.h"
#include "platform/sim/sim_spooler.h"
#include "platform/sim/text.h"

namespace plat::sim {

namespace {

using nlohmann::json;

// 9999-12-31 23:59:59, the last second GetLocalTime can tell.
constexpr std::uint64_t kLatestLocalTime = 253'402'300'799;

const std::map<std::string, std::uint8_t>& productTypes() {
  static const std::map<std::string, std::uint8_t> types = {
      {"workstation", kVerNtWorkstation},
      {"domainController", kVerNtDomainController},
      {"server", kVerNtServer},
  };
  return types;
}

const std::map<std::string, Dword>& registryTypes() {
  static const std::map<std::string, Dword> types = {
      {"REG_NONE", kRegNone},     {"REG_SZ", kRegSz},       {"REG_EXPAND_SZ", kRegExpandSz},
      {"REG_BINARY", kRegBinary}, {"REG_DWORD", kRegDword}, {"REG_MULTI_SZ", kRegMultiSz},
  };
  return types;
}

constexpr char kHexDigits[] = "0123456789abcdef";

struct FileError {
  std::string message;
};

// Reads one machine file, naming the field of every problem it finds.
class Reader {
 public:
  explicit Reader(std::string fileName) : file_(std::move(fileName)) {}

  MachineConfig read(const json& root) {
    MachineConfig config;
    expectObject(root, "",
                 {"os", "winsock", "faults", "desktop", "files", "registry", "spooler",
                  "spoolerService", "devices"});
    if (root.contains("os")) readOs(root["os"], config.os);
    if (root.contains("winsock")) readWinsock(root["winsock"], config.winsock);
    if (root.contains("faults")) {
      const json& faults = array(root["faults"], "faults");
      for (std::size_t i = 0; i < faults.size(); ++i) {
        config.faults.push_back(readFault(faults[i], "faults[" + std::to_string(i) + "]"));
      }
    }
    if (root.contains("desktop")) {
      const json& windows = array(root["desktop"], "desktop");
      for (std::size_t i = 0; i < windows.size(); ++i) {
        const std::string path = "desktop[" + std::to_string(i) + "]";
        expectObject(windows[i], path, {"program", "title"});
        DesktopWindow window;
        window.program = wide(windows[i], "program", path);
        window.title = wide(windows[i], "title", path);
        config.desktop.push_back(window);
      }
    }
    if (root.contains("files")) config.files = readFiles(array(root["files"], "files"));
    if (root.contains("registry")) {
      config.registry.clear();
      const json& keys = array(root["registry"], "registry");
      for (std::size_t i = 0; i < keys.size(); ++i) {
        config.registry.push_back(readKey(keys[i], "registry[" + std::to_string(i) + "]"));
      }
    }
    if (root.contains("spooler")) config.spooler = readSpooler(root["spooler"], config.os);
    if (root.contains("spoolerService")) readService(root["spoolerService"], config.spoolerService);
    if (root.contains("devices")) config.devices = readDevices(array(root["devices"], "devices"));
    return config;
  }

  [[noreturn]] void fail(const std::string& path, const std::string& problem) const {
    throw FileError{file_ + ": field '" + path + "': " + problem};
  }

 private:
  static std::string join(const std::string& path, const std::string& key) {
    return path.empty() ? key : path + "." + key;
  }

  void expectObject(const json& value, const std::string& path,
                    const std::set<std::string>& known) const {
    if (!value.is_object()) {
      if (path.empty()) throw FileError{file_ + ": the machine must be a JSON object"};
      fail(path, "expected an object");
    }
    for (const auto& [key, item] : value.items()) {
      if (known.count(key) == 0) fail(join(path, key), "unknown field");
    }
  }

  const json& array(const json& value, const std::string& path) const {
    if (!value.is_array()) fail(path, "expected an array");
    return value;
  }

  std::uint64_t unsignedField(const json& parent, const std::string& key, const std::string& path,
                              std::uint64_t max) const {
    const json& value = parent.at(key);
    if (!value.is_number_unsigned()) fail(join(path, key), "expected a non-negative integer");
    const auto number = value.get<std::uint64_t>();
    if (number > max) fail(join(path, key), "must be at most " + std::to_string(max));
    return number;
  }

  bool boolField(const json& parent, const std::string& key, const std::string& path) const {
    const json& value = parent.at(key);
    if (!value.is_boolean()) fail(join(path, key), "expected true or false");
    return value.get<bool>();
  }

  std::string stringField(const json& parent, const std::string& key,
                          const std::string& path) const {
    const json& value = parent.at(key);
    if (!value.is_string()) fail(join(path, key), "expected a string");
    return value.get<std::string>();
  }

  std::wstring wide(const json& parent, const std::string& key, const std::string& path) const {
    if (!parent.contains(key)) fail(join(path, key), "missing");
    std::wstring out;
    if (!fromUtf8(stringField(parent, key, path), out)) fail(join(path, key), "invalid UTF-8");
    return out;
  }

  // "major.minor" or "major.minor.build".
  std::vector<Dword> versionField(const json& parent, const std::string& key,
                                  const std::string& path, std::size_t minParts,
                                  std::size_t maxParts) const {
    const std::string text = stringField(parent, key, path);
    std::vector<Dword> parts;
    std::stringstream in(text);
    std::string part;
    while (std::getline(in, part, '.')) {
      if (part.empty() || part.size() > 9 ||
          part.find_first_not_of("0123456789") != std::string::npos) {
        fail(join(path, key), "expected a version like \"10.0.19045\", found \"" + text + "\"");
      }
      parts.push_back(static_cast<Dword>(std::stoul(part)));
    }
    if (parts.size() < minParts || parts.size() > maxParts) {
      fail(join(path, key), "expected a version like \"10.0.19045\", found \"" + text + "\"");
    }
    return parts;
  }

  void readOs(const json& os, OsProfile& out) const {
    const std::string path = "os";
    expectObject(os, path,
                 {"edition", "version", "platformId", "productType", "is64Bit", "hasIsWow64Process",
                  "userUiLanguage", "userLocale", "isAdministrator", "localTimeAtStart"});
    if (os.contains("edition")) out.edition = wide(os, "edition", path);
    if (os.contains("version")) {
      const auto parts = versionField(os, "version", path, 2, 3);
      out.majorVersion = parts[0];
      out.minorVersion = parts[1];
      out.buildNumber = parts.size() > 2 ? parts[2] : 0;
    }
    if (os.contains("platformId")) {
      out.platformId = static_cast<Dword>(unsignedField(os, "platformId", path, 2));
    }
    if (os.contains("productType")) {
      const std::string name = stringField(os, "productType", path);
      const auto found = productTypes().find(name);
      if (found == productTypes().end()) {
        fail("os.productType", "expected \"workstation\", \"domainController\" or \"server\"");
      }
      out.productType = found->second;
    }
    if (os.contains("is64Bit")) out.is64Bit = boolField(os, "is64Bit", path);
    if (os.contains("hasIsWow64Process")) {
      out.hasIsWow64Process = boolField(os, "hasIsWow64Process", path);
    }
    if (os.contains("userUiLanguage")) {
      out.userUiLanguage = static_cast<LangId>(unsignedField(os, "userUiLanguage", path, 0xFFFF));
      if (!os.contains("userLocale")) out.userLocale = out.userUiLanguage;
    }
    if (os.contains("userLocale")) {
      out.userLocale = static_cast<Lcid>(unsignedField(os, "userLocale", path, 0xFFFFFFFF));
    }
    if (os.contains("isAdministrator")) {
      out.isAdministrator = boolField(os, "isAdministrator", path);
    }
    if (os.contains("localTimeAtStart")) {
      out.localTimeAtStart = unsignedField(os, "localTimeAtStart", path, kLatestLocalTime);
    }
  }

  // Folders and files; a file's contents are UTF-8 "text" or "hex" bytes.
  std::vector<FileEntry> readFiles(const json& files) const {
    std::vector<FileEntry> out;
    std::set<std::wstring> seen;
    for (std::size_t i = 0; i < files.size(); ++i) {
      const std::string path = "files[" + std::to_string(i) + "]";
      const json& value = files[i];
      expectObject(value, path, {"path", "folder", "readOnly", "text", "hex"});
      FileEntry entry;
      const std::wstring given = wide(value, "path", path);
      const auto full = fullPath(given, L"C:\\");
      if (given.size() < 3 || given[1] != L':' || (given[2] != L'\\' && given[2] != L'/') ||
          !full) {
        fail(path + ".path", "expected a full path like \"C:\\\\Windows\"");
      }
      entry.path = *full;
      if (!seen.insert(pathKey(entry.path)).second) fail(path + ".path", "named twice");
      if (value.contains("folder")) entry.isFolder = boolField(value, "folder", path);
      if (value.contains("readOnly") && boolField(value, "readOnly", path)) {
        entry.attributes = kFileAttributeReadOnly;
      }
      if (value.contains("text") && value.contains("hex")) {
        fail(path, "give \"text\" or \"hex\", not both");
      }
      if (entry.isFolder && (value.contains("text") || value.contains("hex"))) {
        fail(path, "a folder has no contents");
      }
      if (value.contains("text")) {
        const std::string text = stringField(value, "text", path);
        entry.contents.assign(text.begin(), text.end());
      }
      if (value.contains("hex")) entry.contents = hexField(value, "hex", path);
      out.push_back(std::move(entry));
    }
    return out;
  }

  std::vector<std::uint8_t> hexField(const json& parent, const std::string& key,
                                     const std::string& path) const {
    const std::string text = stringField(parent, key, path);
    if (text.size() % 2 != 0 ||
        text.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) {
      fail(join(path, key), "expected pairs of hexadecimal digits");
    }
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i < text.size(); i += 2) {
      bytes.push_back(static_cast<std::uint8_t>(std::stoul(text.substr(i, 2), nullptr, 16)));
    }
    return bytes;
  }

  void readWinsock(const json& winsock, WinsockProfile& out) const {
    const std::string path = "winsock";
    expectObject(winsock, path, {"highestVersion", "startupError"});
    if (winsock.contains("highestVersion")) {
      const auto parts = versionField(winsock, "highestVersion", path, 2, 2);
      if (parts[0] > 255 || parts[1] > 255) fail("winsock.highestVersion", "out of range");
      out.highestVersion = makeWord(parts[0], parts[1]);
    }
    if (winsock.contains("startupError")) {
      out.startupError = static_cast<int>(unsignedField(winsock, "startupError", path, 0x7FFFFFFF));
    }
  }

  Fault readFault(const json& value, const std::string& path) const {
    expectObject(value, path, {"call", "error", "times"});
    Fault fault;
    if (!value.contains("call")) fail(path + ".call", "missing");
    fault.call = stringField(value, "call", path);
    if (!value.contains("error")) fail(path + ".error", "missing");
    fault.error = static_cast<Dword>(unsignedField(value, "error", path, 0xFFFFFFFF));
    if (value.contains("times")) {
      const json& times = value["times"];
      if (times.is_string() && times.get<std::string>() == "always") {
        fault.times = -1;
      } else if (times.is_number_unsigned() && times.get<std::uint64_t>() > 0 &&
                 times.get<std::uint64_t>() < 1'000'000) {
        fault.times = static_cast<int>(times.get<std::uint64_t>());
      } else {
        fail(path + ".times", "expected a positive count or \"always\"");
      }
    }
    return fault;
  }

  RegistryKeyConfig readKey(const json& value, const std::string& path) const {
    expectObject(value, path, {"key", "readOnly", "values"});
    RegistryKeyConfig key;
    key.path = wide(value, "key", path);
    const std::size_t slash = key.path.find(L'\\');
    const std::wstring root = key.path.substr(0, slash);
    if (root != L"HKEY_LOCAL_MACHINE" && root != L"HKEY_CURRENT_USER") {
      fail(path + ".key", "expected a path under HKEY_LOCAL_MACHINE or HKEY_CURRENT_USER");
    }
    if (slash == std::wstring::npos || slash + 1 == key.path.size() ||
        key.path.find(L"\\\\") != std::wstring::npos || key.path.back() == L'\\') {
      fail(path + ".key", "expected a subkey path with single backslashes");
    }
    if (value.contains("readOnly")) key.readOnly = boolField(value, "readOnly", path);
    if (value.contains("values")) {
      const json& values = array(value["values"], path + ".values");
      for (std::size_t i = 0; i < values.size(); ++i) {
        key.values.push_back(readValue(values[i], path + ".values[" + std::to_string(i) + "]"));
      }
    }
    return key;
  }

  RegistryValueConfig readValue(const json& value, const std::string& path) const {
    expectObject(value, path, {"name", "type", "data"});
    RegistryValueConfig out;
    out.name = wide(value, "name", path);
    if (!value.contains("type")) fail(path + ".type", "missing");
    const auto type = registryTypes().find(stringField(value, "type", path));
    if (type == registryTypes().end()) {
      fail(path + ".type",
           "expected REG_SZ, REG_EXPAND_SZ, REG_DWORD, REG_BINARY, REG_MULTI_SZ or REG_NONE");
    }
    out.type = type->second;
    if (!value.contains("data")) fail(path + ".data", "missing");
    if (out.type == kRegSz || out.type == kRegExpandSz) {
      out.data = regSzData(wide(value, "data", path));
    } else if (out.type == kRegDword) {
      out.data = dwordLeBytes(static_cast<Dword>(unsignedField(value, "data", path, 0xFFFFFFFF)));
    } else if (out.type == kRegMultiSz) {
      const json& texts = array(value["data"], path + ".data");
      std::vector<std::wstring> list;
      for (std::size_t i = 0; i < texts.size(); ++i) {
        std::wstring text;
        if (!texts[i].is_string() || !fromUtf8(texts[i].get<std::string>(), text)) {
          fail(path + ".data[" + std::to_string(i) + "]", "expected a string");
        }
        list.push_back(text);
      }
      out.data = regMultiSzData(list);
    } else {
      out.data = hexBytes(stringField(value, "data", path), path + ".data");
    }
    return out;
  }

  std::vector<std::uint8_t> hexBytes(const std::string& text, const std::string& path) const {
    if (text.size() % 2 != 0 || text.find_first_not_of(kHexDigits) != std::string::npos) {
      fail(path, "expected lower-case hexadecimal bytes like \"01ff\"");
    }
    std::vector<std::uint8_t> out;
    for (std::size_t i = 0; i < text.size(); i += 2) {
      out.push_back(static_cast<std::uint8_t>(std::stoul(text.substr(i, 2), nullptr, 16)));
    }
    return out;
  }

  // A duration in milliseconds, or null for one that never ends.
  std::optional<Dword> optionalMilliseconds(const json& parent, const std::string& key,
                                            const std::string& path) const {
    if (parent[key].is_null()) return std::nullopt;
    return static_cast<Dword>(unsignedField(parent, key, path, 0xFFFFFFFF));
  }

  // The spooler: every queue names an existing port and a driver of the
  // machine's own environment.
  // The Spooler service; a duration of null is a stop or start that never
  // finishes.
  void readService(const json& value, ServiceConfig& out) const {
    const std::string path = "spoolerService";
    expectObject(value, path, {"running", "stopMilliseconds", "startMilliseconds"});
    if (value.contains("running")) out.running = boolField(value, "running", path);
    for (auto [key, field] : {std::pair{"stopMilliseconds", &out.stopMilliseconds},
                              std::pair{"startMilliseconds", &out.startMilliseconds}}) {
      if (!value.contains(key)) continue;
      if (value[key].is_null()) {
        *field = std::nullopt;
      } else {
        *field = static_cast<Dword>(unsignedField(value, key, path, 0xFFFFFFFF));
      }
    }
  }

  SpoolerConfig readSpooler(const json& value, const OsProfile& os) const {
    expectObject(value, "spooler",
                 {"drivers", "loadedDrivers", "ports", "printers", "connections", "monitors"});
    SpoolerConfig out;
    const auto each = [&](const char* key, const auto& read) {
      if (!value.contains(key)) return;
      const std::string path = std::string("spooler.") + key;
      const json& items = array(value[key], path);
      for (std::size_t i = 0; i < items.size(); ++i) {
        read(items[i], path + "[" + std::to_string(i) + "]");
      }
    };
    each("drivers", [&](const json& item, const std::string& path) {
      out.drivers.push_back(readDriver(item, path, os, out.drivers));
    });
    each("loadedDrivers", [&](const json& item, const std::string& path) {
      if (!item.is_string()) fail(path, "expected a string");
      const std::wstring name = fromUtf8(item.get<std::string>());
      if (std::none_of(out.drivers.begin(), out.drivers.end(), [&](const PrinterDriverConfig& d) {
            return pathKey(d.name) == pathKey(name);
          })) {
        fail(path, "no such driver in spooler.drivers");
      }
      out.loadedDrivers.push_back(name);
    });
    each("ports", [&](const json& item, const std::string& path) {
      expectObject(item, path, {"name", "monitor"});
      PortConfig port{wide(item, "name", path), L"Local Port"};
      if (port.name.empty() || port.name.size() > kMaxPortNameChars) {
        fail(path + ".name", "expected 1 to " + std::to_string(kMaxPortNameChars) + " characters");
      }
      if (std::any_of(out.ports.begin(), out.ports.end(),
                      [&](const PortConfig& p) { return pathKey(p.name) == pathKey(port.name); })) {
        fail(path + ".name", "named twice");
      }
      if (item.contains("monitor")) port.monitor = wide(item, "monitor", path);
      out.ports.push_back(port);
    });
    std::set<std::wstring> names;
    each("printers", [&](const json& item, const std::string& path) {
      out.printers.push_back(readQueue(item, path, nativeEnvironment(os), out));
      if (!names.insert(pathKey(out.printers.back().name)).second) {
        fail(path + ".name", "named twice");
      }
    });
    each("connections", [&](const json& item, const std::string& path) {
      expectObject(item, path, {"name", "driver"});
      PrinterConnectionConfig connection{wide(item, "name", path), wide(item, "driver", path)};
      const std::size_t share = connection.name.find(L'\\', 2);
      if (connection.name.rfind(L"\\\\", 0) != 0 || share == std::wstring::npos || share == 2 ||
          share + 1 == connection.name.size() ||
          connection.name.find(L'\\', share + 1) != std::wstring::npos) {
        fail(path + ".name", "expected \"\\\\\\\\server\\\\printer\"");
      }
      if (!names.insert(pathKey(connection.name)).second) fail(path + ".name", "named twice");
      out.connections.push_back(connection);
    });
    if (value.contains("monitors")) out.monitors = readMonitors(value["monitors"]);
    return out;
  }

  // The port monitors, replacing those of a fresh installation.
  std::vector<MonitorConfig> readMonitors(const json& value) const {
    const json& items = array(value, "spooler.monitors");
    std::vector<MonitorConfig> out;
    for (std::size_t i = 0; i < items.size(); ++i) {
      const std::string path = "spooler.monitors[" + std::to_string(i) + "]";
      expectObject(items[i], path, {"name", "dll"});
      MonitorConfig monitor{wide(items[i], "name", path), wide(items[i], "dll", path)};
      if (monitor.name.empty()) fail(path + ".name", "expected a monitor name");
      if (monitor.dll.empty() || monitor.dll.find(L'\\') != std::wstring::npos) {
        fail(path + ".dll", "expected a DLL name without a folder");
      }
      if (std::any_of(out.begin(), out.end(), [&](const MonitorConfig& m) {
            return pathKey(m.name) == pathKey(monitor.name);
          })) {
        fail(path + ".name", "named twice");
      }
      out.push_back(monitor);
    }
    return out;
  }

  // USB printer devices: a unique instance id under the USBPRINT
  // enumerator; a property that is left out is not set.
  std::vector<UsbDeviceConfig> readDevices(const json& devices) const {
    std::vector<UsbDeviceConfig> out;
    std::set<std::wstring> seen;
    for (std::size_t i = 0; i < devices.size(); ++i) {
      const std::string path = "devices[" + std::to_string(i) + "]";
      const json& item = devices[i];
      expectObject(item, path,
                   {"instanceId", "present", "hardwareIds", "manufacturer", "configFlags", "port"});
      UsbDeviceConfig device;
      device.instanceId = wide(item, "instanceId", path);
      if (pathKey(device.instanceId).rfind(L"USBPRINT\\", 0) != 0 ||
          device.instanceId.size() <= std::wstring(L"USBPRINT\\").size()) {
        fail(path + ".instanceId", "expected an id like \"USBPRINT\\\\MODEL\\\\1\"");
      }
      if (!seen.insert(pathKey(device.instanceId)).second) {
        fail(path + ".instanceId", "named twice");
      }
      if (item.contains("present")) device.present = boolField(item, "present", path);
      if (item.contains("hardwareIds")) {
        const json& ids = array(item["hardwareIds"], path + ".hardwareIds");
        device.hardwareIds.emplace();
        for (std::size_t k = 0; k < ids.size(); ++k) {
          const std::string idPath = path + ".hardwareIds[" + std::to_string(k) + "]";
          std::wstring id;
          if (!ids[k].is_string()) fail(idPath, "expected a string");
          if (!fromUtf8(ids[k].get<std::string>(), id)) fail(idPath, "invalid UTF-8");
          if (id.empty()) fail(idPath, "expected a non-empty id");
          device.hardwareIds->push_back(id);
        }
      }
      if (item.contains("manufacturer")) device.manufacturer = wide(item, "manufacturer", path);
      if (item.contains("configFlags")) {
        device.configFlags =
            static_cast<Dword>(unsignedField(item, "configFlags", path, 0xFFFFFFFF));
      }
      if (item.contains("port")) {
        device.port = wide(item, "port", path);
        if (device.port.size() > kMaxPortNameChars) {
          fail(path + ".port",
               "expected at most " + std::to_string(kMaxPortNameChars) + " characters");
        }
      }
      out.push_back(std::move(device));
    }
    return out;
  }

  PrinterDriverConfig readDriver(const json& item, const std::string& path, const OsProfile& os,
                                 const std::vector<PrinterDriverConfig>& earlier) const {
    expectObject(item, path, {"name", "environment", "version"});
    PrinterDriverConfig driver{wide(item, "name", path), wide(item, "environment", path), L""};
    if (driver.name.empty() || driver.name.find(L'\\') != std::wstring::npos) {
      fail(path + ".name", "expected a driver name without backslashes");
    }
    if (driver.environment != kEnvironmentX86 &&
        !(os.is64Bit && driver.environment == kEnvironmentX64)) {
      fail(path + ".environment", os.is64Bit ? "expected \"Windows x64\" or \"Windows NT x86\""
                                             : "expected \"Windows NT x86\"");
    }
    if (std::any_of(earlier.begin(), earlier.end(), [&](const PrinterDriverConfig& d) {
          return pathKey(d.name) == pathKey(driver.name) && d.environment == driver.environment;
        })) {
      fail(path + ".name", "named twice for its environment");
    }
    if (item.contains("version")) {
      driver.version = wide(item, "version", path);
      if (!driverVersionParts(driver.version)) {
        fail(path + ".version", "expected four numbers up to 65535 like \"2021.1.5.0\"");
      }
    }
    return driver;
  }

  PrinterQueueConfig readQueue(const json& item, const std::string& path,
                               const std::wstring& environment,
                               const SpoolerConfig& spooler) const {
    expectObject(item, path,
                 {"name", "port", "driver", "printProcessor", "datatype", "offline", "jobs"});
    PrinterQueueConfig queue;
    queue.name = wide(item, "name", path);
    if (!isValidQueueName(queue.name)) {
      fail(path + ".name", "expected 1 to " + std::to_string(kMaxPrinterNameChars) +
                               " characters without ',', '!' or '\\'");
    }
    queue.port = wide(item, "port", path);
    if (std::none_of(spooler.ports.begin(), spooler.ports.end(),
                     [&](const PortConfig& p) { return pathKey(p.name) == pathKey(queue.port); })) {
      fail(path + ".port", "no such port in spooler.ports");
    }
    queue.driver = wide(item, "driver", path);
    if (std::none_of(
            spooler.drivers.begin(), spooler.drivers.end(), [&](const PrinterDriverConfig& d) {
              return pathKey(d.name) == pathKey(queue.driver) && d.environment == environment;
            })) {
      fail(path + ".driver", "no such driver for " + toUtf8(environment) + " in spooler.drivers");
    }
    if (item.contains("printProcessor")) queue.printProcessor = wide(item, "printProcessor", path);
    if (item.contains("datatype")) queue.datatype = wide(item, "datatype", path);
    if (item.contains("offline")) queue.offline = boolField(item, "offline", path);
    if (item.contains("jobs")) {
      const json& jobs = array(item["jobs"], path + ".jobs");
      for (std::size_t i = 0; i < jobs.size(); ++i) {
        const std::string jobPath = path + ".jobs[" + std::to_string(i) + "]";
        expectObject(jobs[i], jobPath, {"document", "cancelMilliseconds"});
        PrintJobConfig job{0, wide(jobs[i], "document", jobPath)};
        if (jobs[i].contains("cancelMilliseconds")) {
          job.cancelMilliseconds = optionalMilliseconds(jobs[i], "cancelMilliseconds", jobPath);
        }
        queue.jobs.push_back(job);
      }
    }
    return queue;
  }

  std::string file_;
};

// Contents that read as text are saved as text, anything else as hex.
json contentsField(const std::vector<std::uint8_t>& contents) {
  const std::string bytes(contents.begin(), contents.end());
  std::wstring decoded;
  const bool text =
      fromUtf8(bytes, decoded) && std::all_of(bytes.begin(), bytes.end(), [](char c) {
        return static_cast<unsigned char>(c) >= 0x20 || c == '\n' || c == '\r' || c == '\t';
      });
  if (text) return {{"text", bytes}};
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string hex;
  for (const std::uint8_t byte : contents) {
    hex += kDigits[byte >> 4U];
    hex += kDigits[byte & 0xFU];
  }
  return {{"hex", hex}};
}

std::string productTypeName(std::uint8_t type) {
  for (const auto& [name, value] : productTypes()) {
    if (value == type) return name;
  }
  return "workstation";
}

json formatRegistryValue(const RegistryValueConfig& value) {
  json entry = {{"name", toUtf8(value.name)}};
  for (const auto& [name, type] : registryTypes()) {
    if (type == value.type) entry["type"] = name;
  }
  if (value.type == kRegSz || value.type == kRegExpandSz) {
    entry["data"] = toUtf8(regSzText(value.data));
  } else if (value.type == kRegDword && dwordFromLeBytes(value.data)) {
    entry["data"] = *dwordFromLeBytes(value.data);
  } else if (value.type == kRegMultiSz) {
    entry["data"] = json::array();
    for (const auto& text : regMultiSzTexts(value.data)) entry["data"].push_back(toUtf8(text));
  } else {
    // Other types, and a REG_DWORD of another size, keep their bytes.
    if (!entry.contains("type") || value.type == kRegDword) entry["type"] = "REG_BINARY";
    std::string hex;
    for (const std::uint8_t byte : value.data) {
      hex += kHexDigits[byte >> 4U];
      hex += kHexDigits[byte & 0xFU];
    }
    entry["data"] = hex;
  }
  return entry;
}

json milliseconds(const std::optional<Dword>& duration) {
  return duration ? json(*duration) : json(nullptr);
}

json formatSpooler(const SpoolerConfig& spooler) {
  json out = {{"drivers", json::array()},
              {"loadedDrivers", json::array()},
              {"ports", json::array()},
              {"printers", json::array()},
              {"connections", json::array()}};
  for (const auto& driver : spooler.drivers) {
    json entry = {{"name", toUtf8(driver.name)}, {"environment", toUtf8(driver.environment)}};
    if (!driver.version.empty()) entry["version"] = toUtf8(driver.version);
    out["drivers"].push_back(entry);
  }
  for (const auto& name : spooler.loadedDrivers) out["loadedDrivers"].push_back(toUtf8(name));
  for (const auto& port : spooler.ports) {
    out["ports"].push_back({{"name", toUtf8(port.name)}, {"monitor", toUtf8(port.monitor)}});
  }
  for (const auto& queue : spooler.printers) {
    json jobs = json::array();
    for (const auto& job : queue.jobs) {
      jobs.push_back({{"document", toUtf8(job.document)},
                      {"cancelMilliseconds", milliseconds(job.cancelMilliseconds)}});
    }
    out["printers"].push_back({{"name", toUtf8(queue.name)},
                               {"port", toUtf8(queue.port)},
                               {"driver", toUtf8(queue.driver)},
                               {"printProcessor", toUtf8(queue.printProcessor)},
                               {"datatype", toUtf8(queue.datatype)},
                               {"offline", queue.offline},
                               {"jobs", jobs}});
  }
  for (const auto& connection : spooler.connections) {
    out["connections"].push_back(
        {{"name", toUtf8(connection.name)}, {"driver", toUtf8(connection.driver)}});
  }
  out["monitors"] = json::array();
  for (const auto& monitor : spooler.monitors) {
    out["monitors"].push_back({{"name", toUtf8(monitor.name)}, {"dll", toUtf8(monitor.dll)}});
  }
  return out;
}

}  // namespace

MachineFileResult parseMachineFile(const std::string& text, const std::string& fileName) {
  json root;
  try {
    root = json::parse(text);
  } catch (const json::parse_error& error) {
    std::string what = error.what();
    const std::size_t detail = what.find("parse error");
    return {std::nullopt, fileName + ": not valid JSON: " +
                              (detail == std::string::npos ? what : what.substr(detail))};
  }
  try {
    return {Reader(fileName).read(root), {}};
  } catch (const FileError& error) {
    return {std::nullopt, error.message};
  }
}

MachineFileResult loadMachineFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return {std::nullopt, path + ": cannot open the machine file"};
  std::stringstream buffer;
  buffer << in.rdbuf();
  return parseMachineFile(buffer.str(), path);
}

std::string formatMachineFile(const MachineConfig& config) {
  const OsProfile& os = config.os;
  json root;
  root["os"] = {
      {"edition", toUtf8(os.edition)},
      {"version", std::to_string(os.majorVersion) + "." + std::to_string(os.minorVersion) + "." +
                      std::to_string(os.buildNumber)},
      {"platformId", os.platformId},
      {"productType", productTypeName(os.productType)},
      {"is64Bit", os.is64Bit},
      {"hasIsWow64Process", os.hasIsWow64Process},
      {"userUiLanguage", os.userUiLanguage},
      {"userLocale", os.userLocale},
      {"isAdministrator", os.isAdministrator},
      {"localTimeAtStart", os.localTimeAtStart},
  };
  root["winsock"] = {
      {"highestVersion", std::to_string(lowByte(config.winsock.highestVersion)) + "." +
                             std::to_string(highByte(config.winsock.highestVersion))},
      {"startupError", config.winsock.startupError},
  };
  root["faults"] = json::array();
  for (const auto& fault : config.faults) {
    json entry = {{"call", fault.call}, {"error", fault.error}};
    if (fault.times < 0) {
      entry["times"] = "always";
    } else {
      entry["times"] = fault.times;
    }
    root["faults"].push_back(entry);
  }
  root["desktop"] = json::array();
  for (const auto& window : config.desktop) {
    root["desktop"].push_back(
        {{"program", toUtf8(window.program)}, {"title", toUtf8(window.title)}});
  }
  if (config.files) {
    root["files"] = json::array();
    for (const auto& file : *config.files) {
      json entry = {{"path", toUtf8(file.path)}};
      if (file.isFolder) entry["folder"] = true;
      if ((file.attributes & kFileAttributeReadOnly) != 0) entry["readOnly"] = true;
      if (!file.isFolder && !file.contents.empty()) entry.update(contentsField(file.contents));
      root["files"].push_back(entry);
    }
  }
  root["registry"] = json::array();
  for (const auto& key : config.registry) {
    json entry = {{"key", toUtf8(key.path)}, {"readOnly", key.readOnly}, {"values", json::array()}};
    for (const auto& value : key.values) entry["values"].push_back(formatRegistryValue(value));
    root["registry"].push_back(entry);
  }
  if (config.spooler) root["spooler"] = formatSpooler(*config.spooler);
  const ServiceConfig& service = config.spoolerService;
  const auto duration = [](const std::optional<Dword>& ms) {
    return ms ? json(*ms) : json(nullptr);
  };
  root["spoolerService"] = {{"running", service.running},
                            {"stopMilliseconds", duration(service.stopMilliseconds)},
                            {"startMilliseconds", duration(service.startMilliseconds)}};
  root["devices"] = json::array();
  for (const auto& device : config.devices) {
    json entry = {{"instanceId", toUtf8(device.instanceId)}, {"present", device.present}};
    if (device.hardwareIds) {
      entry["hardwareIds"] = json::array();
      for (const auto& id : *device.hardwareIds) entry["hardwareIds"].push_back(toUtf8(id));
    }
    if (device.manufacturer) entry["manufacturer"] = toUtf8(*device.manufacturer);
    if (device.configFlags) entry["configFlags"] = *device.configFlags;
    if (!device.port.empty()) entry["port"] = toUtf8(device.port);
    root["devices"].push_back(entry);
  }
  return root.dump(2) + "\n";
}

std::string saveMachineFile(const MachineConfig& config, const std::string& path) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) return path + ": cannot write the machine file";
  out << formatMachineFile(config);
  out.close();
  return out ? std::string() : path + ": cannot write the machine file";
}

}  // namespace plat::sim
