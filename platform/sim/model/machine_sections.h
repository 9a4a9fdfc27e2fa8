// The sections of a machine file. Each is read and written beside the model
// it fills; machine_file.cpp reads them in this order, so that a section can
// rely on those before it (the spooler on the Windows version).
#pragma once

#include <nlohmann/json.hpp>
#include <optional>

#include "platform/sim/config/file_fields.h"
#include "platform/sim/machine_config.h"

namespace plat::sim {

struct MachineSection {
  const char* name;
  void (*read)(const FieldReader& reader, const nlohmann::json& value, MachineConfig& config);
  // The section as a saved machine file has it; nothing when the machine
  // keeps the built-in default.
  std::optional<nlohmann::json> (*write)(const MachineConfig& config);
};

extern const MachineSection kOsSection;              // system_section.cpp
extern const MachineSection kWinsockSection;         // system_section.cpp
extern const MachineSection kFaultsSection;          // system_section.cpp
extern const MachineSection kDesktopSection;         // window_section.cpp
extern const MachineSection kFilesSection;           // file_section.cpp
extern const MachineSection kRegistrySection;        // registry_section.cpp
extern const MachineSection kSpoolerSection;         // spooler_section.cpp
extern const MachineSection kSpoolerServiceSection;  // service_section.cpp
extern const MachineSection kDevicesSection;         // device_section.cpp

}  // namespace plat::sim
