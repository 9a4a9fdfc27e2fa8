// The machine file's "os", "winsock" and "faults" sections: the facts the
// system and socket ports report, and the calls that fail.
#include <map>

#include "platform/sim/model/machine_sections.h"
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

std::string productTypeName(std::uint8_t type) {
  for (const auto& [name, value] : productTypes()) {
    if (value == type) return name;
  }
  return "workstation";
}

void readOs(const FieldReader& reader, const json& os, MachineConfig& config) {
  OsProfile& out = config.os;
  const std::string path = "os";
  reader.expectObject(
      os, path,
      {"edition", "version", "platformId", "productType", "is64Bit", "hasIsWow64Process",
       "userUiLanguage", "userLocale", "isAdministrator", "localTimeAtStart"});
  if (os.contains("edition")) out.edition = reader.wide(os, "edition", path);
  if (os.contains("version")) {
    const auto parts = reader.versionField(os, "version", path, 2, 3);
    out.majorVersion = parts[0];
    out.minorVersion = parts[1];
    out.buildNumber = parts.size() > 2 ? parts[2] : 0;
  }
  if (os.contains("platformId")) {
    out.platformId = static_cast<Dword>(reader.unsignedField(os, "platformId", path, 2));
  }
  if (os.contains("productType")) {
    const std::string name = reader.stringField(os, "productType", path);
    const auto found = productTypes().find(name);
    if (found == productTypes().end()) {
      reader.fail("os.productType", "expected \"workstation\", \"domainController\" or \"server\"");
    }
    out.productType = found->second;
  }
  if (os.contains("is64Bit")) out.is64Bit = reader.boolField(os, "is64Bit", path);
  if (os.contains("hasIsWow64Process")) {
    out.hasIsWow64Process = reader.boolField(os, "hasIsWow64Process", path);
  }
  if (os.contains("userUiLanguage")) {
    out.userUiLanguage =
        static_cast<LangId>(reader.unsignedField(os, "userUiLanguage", path, 0xFFFF));
    if (!os.contains("userLocale")) out.userLocale = out.userUiLanguage;
  }
  if (os.contains("userLocale")) {
    out.userLocale = static_cast<Lcid>(reader.unsignedField(os, "userLocale", path, 0xFFFFFFFF));
  }
  if (os.contains("isAdministrator")) {
    out.isAdministrator = reader.boolField(os, "isAdministrator", path);
  }
  if (os.contains("localTimeAtStart")) {
    out.localTimeAtStart = reader.unsignedField(os, "localTimeAtStart", path, kLatestLocalTime);
  }
}

std::optional<json> writeOs(const MachineConfig& config) {
  const OsProfile& os = config.os;
  return json{
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
}

void readWinsock(const FieldReader& reader, const json& winsock, MachineConfig& config) {
  WinsockProfile& out = config.winsock;
  const std::string path = "winsock";
  reader.expectObject(winsock, path, {"highestVersion", "startupError"});
  if (winsock.contains("highestVersion")) {
    const auto parts = reader.versionField(winsock, "highestVersion", path, 2, 2);
    if (parts[0] > 255 || parts[1] > 255) reader.fail("winsock.highestVersion", "out of range");
    out.highestVersion = makeWord(parts[0], parts[1]);
  }
  if (winsock.contains("startupError")) {
    out.startupError =
        static_cast<int>(reader.unsignedField(winsock, "startupError", path, 0x7FFFFFFF));
  }
}

std::optional<json> writeWinsock(const MachineConfig& config) {
  return json{
      {"highestVersion", std::to_string(lowByte(config.winsock.highestVersion)) + "." +
                             std::to_string(highByte(config.winsock.highestVersion))},
      {"startupError", config.winsock.startupError},
  };
}

void readFaults(const FieldReader& reader, const json& faults, MachineConfig& config) {
  reader.each(faults, "faults", [&](const json& value, const std::string& path) {
    reader.expectObject(value, path, {"call", "error", "times"});
    Fault fault;
    if (!value.contains("call")) reader.fail(path + ".call", "missing");
    fault.call = reader.stringField(value, "call", path);
    if (!value.contains("error")) reader.fail(path + ".error", "missing");
    fault.error = static_cast<Dword>(reader.unsignedField(value, "error", path, 0xFFFFFFFF));
    if (value.contains("times")) {
      const json& times = value["times"];
      if (times.is_string() && times.get<std::string>() == "always") {
        fault.times = -1;
      } else if (times.is_number_unsigned() && times.get<std::uint64_t>() > 0 &&
                 times.get<std::uint64_t>() < 1'000'000) {
        fault.times = static_cast<int>(times.get<std::uint64_t>());
      } else {
        reader.fail(path + ".times", "expected a positive count or \"always\"");
      }
    }
    config.faults.push_back(fault);
  });
}

std::optional<json> writeFaults(const MachineConfig& config) {
  json out = json::array();
  for (const auto& fault : config.faults) {
    json entry = {{"call", fault.call}, {"error", fault.error}};
    if (fault.times < 0) {
      entry["times"] = "always";
    } else {
      entry["times"] = fault.times;
    }
    out.push_back(entry);
  }
  return out;
}

}  // namespace

const MachineSection kOsSection{"os", readOs, writeOs};
const MachineSection kWinsockSection{"winsock", readWinsock, writeWinsock};
const MachineSection kFaultsSection{"faults", readFaults, writeFaults};

}  // namespace plat::sim
