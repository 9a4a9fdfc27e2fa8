// The machine file's "desktop" section: the top-level windows of other
// programs, bottom first.
#include "platform/sim/model/machine_sections.h"
#include "platform/sim/text.h"

namespace plat::sim {

namespace {

using nlohmann::json;

void readDesktop(const FieldReader& reader, const json& windows, MachineConfig& config) {
  reader.each(windows, "desktop", [&](const json& item, const std::string& path) {
    reader.expectObject(item, path, {"program", "title"});
    DesktopWindow window;
    window.program = reader.wide(item, "program", path);
    window.title = reader.wide(item, "title", path);
    config.desktop.push_back(window);
  });
}

std::optional<json> writeDesktop(const MachineConfig& config) {
  json out = json::array();
  for (const auto& window : config.desktop) {
    out.push_back({{"program", toUtf8(window.program)}, {"title", toUtf8(window.title)}});
  }
  return out;
}

}  // namespace

const MachineSection kDesktopSection{"desktop", readDesktop, writeDesktop};

}  // namespace plat::sim
