// The machine file's "registry" section: the keys below the two roots, each
// with its values. A list replaces the keys of a fresh installation.
#include <map>

#include "platform/api/registry_port.h"
#include "platform/sim/model/machine_sections.h"
#include "platform/sim/text.h"

namespace plat::sim {

namespace {

using nlohmann::json;

const std::map<std::string, Dword>& registryTypes() {
  static const std::map<std::string, Dword> types = {
      {"REG_NONE", kRegNone},     {"REG_SZ", kRegSz},       {"REG_EXPAND_SZ", kRegExpandSz},
      {"REG_BINARY", kRegBinary}, {"REG_DWORD", kRegDword}, {"REG_MULTI_SZ", kRegMultiSz},
  };
  return types;
}

RegistryValueConfig readValue(const FieldReader& reader, const json& value,
                              const std::string& path) {
  reader.expectObject(value, path, {"name", "type", "data"});
  RegistryValueConfig out;
  out.name = reader.wide(value, "name", path);
  if (!value.contains("type")) reader.fail(path + ".type", "missing");
  const auto type = registryTypes().find(reader.stringField(value, "type", path));
  if (type == registryTypes().end()) {
    reader.fail(path + ".type",
                "expected REG_SZ, REG_EXPAND_SZ, REG_DWORD, REG_BINARY, REG_MULTI_SZ or REG_NONE");
  }
  out.type = type->second;
  if (!value.contains("data")) reader.fail(path + ".data", "missing");
  if (out.type == kRegSz || out.type == kRegExpandSz) {
    out.data = regSzData(reader.wide(value, "data", path));
  } else if (out.type == kRegDword) {
    out.data =
        dwordLeBytes(static_cast<Dword>(reader.unsignedField(value, "data", path, 0xFFFFFFFF)));
  } else if (out.type == kRegMultiSz) {
    std::vector<std::wstring> list;
    reader.each(value["data"], path + ".data", [&](const json& text, const std::string& at) {
      list.push_back(reader.wideItem(text, at));
    });
    out.data = regMultiSzData(list);
  } else {
    out.data = reader.hexField(value, "data", path);
  }
  return out;
}

RegistryKeyConfig readKey(const FieldReader& reader, const json& value, const std::string& path) {
  reader.expectObject(value, path, {"key", "readOnly", "values"});
  RegistryKeyConfig key;
  key.path = reader.wide(value, "key", path);
  const std::size_t slash = key.path.find(L'\\');
  const std::wstring root = key.path.substr(0, slash);
  if (root != L"HKEY_LOCAL_MACHINE" && root != L"HKEY_CURRENT_USER") {
    reader.fail(path + ".key", "expected a path under HKEY_LOCAL_MACHINE or HKEY_CURRENT_USER");
  }
  if (slash == std::wstring::npos || slash + 1 == key.path.size() ||
      key.path.find(L"\\\\") != std::wstring::npos || key.path.back() == L'\\') {
    reader.fail(path + ".key", "expected a subkey path with single backslashes");
  }
  if (value.contains("readOnly")) key.readOnly = reader.boolField(value, "readOnly", path);
  if (value.contains("values")) {
    reader.each(value["values"], path + ".values", [&](const json& item, const std::string& at) {
      key.values.push_back(readValue(reader, item, at));
    });
  }
  return key;
}

void readRegistry(const FieldReader& reader, const json& keys, MachineConfig& config) {
  config.registry.clear();
  reader.each(keys, "registry", [&](const json& item, const std::string& path) {
    config.registry.push_back(readKey(reader, item, path));
  });
}

json writeValue(const RegistryValueConfig& value) {
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
    entry["data"] = hexText(value.data);
  }
  return entry;
}

std::optional<json> writeRegistry(const MachineConfig& config) {
  json out = json::array();
  for (const auto& key : config.registry) {
    json entry = {{"key", toUtf8(key.path)}, {"readOnly", key.readOnly}, {"values", json::array()}};
    for (const auto& value : key.values) entry["values"].push_back(writeValue(value));
    out.push_back(entry);
  }
  return out;
}

}  // namespace

const MachineSection kRegistrySection{"registry", readRegistry, writeRegistry};

}  // namespace plat::sim
