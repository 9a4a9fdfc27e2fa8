#include "platform/sim/machine_file.h"

#include <fstream>
#include <sstream>

#include "platform/sim/model/machine_sections.h"

namespace plat::sim {

namespace {

using nlohmann::json;

const std::vector<const MachineSection*>& sections() {
  static const std::vector<const MachineSection*> all = {
      &kOsSection,      &kWinsockSection,        &kFaultsSection,
      &kDesktopSection, &kFilesSection,          &kRegistrySection,
      &kSpoolerSection, &kSpoolerServiceSection, &kDevicesSection,
  };
  return all;
}

MachineConfig readSections(const FieldReader& reader, const json& root) {
  std::set<std::string> names;
  for (const MachineSection* section : sections()) names.insert(section->name);
  reader.expectObject(root, "", names);
  MachineConfig config;
  for (const MachineSection* section : sections()) {
    if (root.contains(section->name)) section->read(reader, root[section->name], config);
  }
  return config;
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
    return {readSections(FieldReader(fileName), root), {}};
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
  json root = json::object();
  for (const MachineSection* section : sections()) {
    if (auto value = section->write(config)) root[section->name] = std::move(*value);
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
