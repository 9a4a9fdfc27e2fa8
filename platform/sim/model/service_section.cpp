// The machine file's "spoolerService" section: whether the Spooler runs,
// and how long a stop or a start takes (null: it never finishes).
#include "platform/sim/model/machine_sections.h"

namespace plat::sim {

namespace {

using nlohmann::json;

void readService(const FieldReader& reader, const json& value, MachineConfig& config) {
  ServiceConfig& out = config.spoolerService;
  const std::string path = "spoolerService";
  reader.expectObject(value, path, {"running", "stopMilliseconds", "startMilliseconds"});
  if (value.contains("running")) out.running = reader.boolField(value, "running", path);
  for (auto [key, field] : {std::pair{"stopMilliseconds", &out.stopMilliseconds},
                            std::pair{"startMilliseconds", &out.startMilliseconds}}) {
    if (value.contains(key)) *field = reader.millisecondsField(value, key, path);
  }
}

std::optional<json> writeService(const MachineConfig& config) {
  const ServiceConfig& service = config.spoolerService;
  return json{{"running", service.running},
              {"stopMilliseconds", millisecondsJson(service.stopMilliseconds)},
              {"startMilliseconds", millisecondsJson(service.startMilliseconds)}};
}

}  // namespace

const MachineSection kSpoolerServiceSection{"spoolerService", readService, writeService};

}  // namespace plat::sim
