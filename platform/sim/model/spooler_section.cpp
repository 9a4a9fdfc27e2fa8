// The machine file's "spooler" section: drivers per environment, the
// drivers the spooler holds loaded, ports, local queues with their jobs,
// connections and port monitors. Every queue names an existing port and a
// driver of the machine's own environment.
#include <algorithm>

#include "platform/sim/model/file_system.h"
#include "platform/sim/model/machine_sections.h"
#include "platform/sim/model/spooler_state.h"
#include "platform/sim/text.h"

namespace plat::sim {

namespace {

using nlohmann::json;

PrinterDriverConfig readDriver(const FieldReader& reader, const json& item, const std::string& path,
                               const OsProfile& os,
                               const std::vector<PrinterDriverConfig>& earlier) {
  reader.expectObject(item, path, {"name", "environment", "version"});
  PrinterDriverConfig driver{reader.wide(item, "name", path),
                             reader.wide(item, "environment", path), L""};
  if (driver.name.empty() || driver.name.find(L'\\') != std::wstring::npos) {
    reader.fail(path + ".name", "expected a driver name without backslashes");
  }
  if (driver.environment != kEnvironmentX86 &&
      !(os.is64Bit && driver.environment == kEnvironmentX64)) {
    reader.fail(path + ".environment", os.is64Bit ? "expected \"Windows x64\" or \"Windows NT x86\""
                                                  : "expected \"Windows NT x86\"");
  }
  if (std::any_of(earlier.begin(), earlier.end(), [&](const PrinterDriverConfig& d) {
        return pathKey(d.name) == pathKey(driver.name) && d.environment == driver.environment;
      })) {
    reader.fail(path + ".name", "named twice for its environment");
  }
  if (item.contains("version")) {
    driver.version = reader.wide(item, "version", path);
    if (!driverVersionParts(driver.version)) {
      reader.fail(path + ".version", "expected four numbers up to 65535 like \"2021.1.5.0\"");
    }
  }
  return driver;
}

PrinterQueueConfig readQueue(const FieldReader& reader, const json& item, const std::string& path,
                             const std::wstring& environment, const SpoolerConfig& spooler) {
  reader.expectObject(item, path,
                      {"name", "port", "driver", "printProcessor", "datatype", "offline", "jobs"});
  PrinterQueueConfig queue;
  queue.name = reader.wide(item, "name", path);
  if (!isValidQueueName(queue.name)) {
    reader.fail(path + ".name", "expected 1 to " + std::to_string(kMaxPrinterNameChars) +
                                    " characters without ',', '!' or '\\'");
  }
  queue.port = reader.wide(item, "port", path);
  if (std::none_of(spooler.ports.begin(), spooler.ports.end(),
                   [&](const PortConfig& p) { return pathKey(p.name) == pathKey(queue.port); })) {
    reader.fail(path + ".port", "no such port in spooler.ports");
  }
  queue.driver = reader.wide(item, "driver", path);
  if (std::none_of(
          spooler.drivers.begin(), spooler.drivers.end(), [&](const PrinterDriverConfig& d) {
            return pathKey(d.name) == pathKey(queue.driver) && d.environment == environment;
          })) {
    reader.fail(path + ".driver",
                "no such driver for " + toUtf8(environment) + " in spooler.drivers");
  }
  if (item.contains("printProcessor")) {
    queue.printProcessor = reader.wide(item, "printProcessor", path);
  }
  if (item.contains("datatype")) queue.datatype = reader.wide(item, "datatype", path);
  if (item.contains("offline")) queue.offline = reader.boolField(item, "offline", path);
  if (item.contains("jobs")) {
    reader.each(item["jobs"], path + ".jobs", [&](const json& job, const std::string& jobPath) {
      reader.expectObject(job, jobPath, {"document", "cancelMilliseconds"});
      PrintJobConfig made{0, reader.wide(job, "document", jobPath)};
      if (job.contains("cancelMilliseconds")) {
        made.cancelMilliseconds = reader.millisecondsField(job, "cancelMilliseconds", jobPath);
      }
      queue.jobs.push_back(made);
    });
  }
  return queue;
}

// The port monitors, replacing those of a fresh installation.
std::vector<MonitorConfig> readMonitors(const FieldReader& reader, const json& value) {
  std::vector<MonitorConfig> out;
  reader.each(value, "spooler.monitors", [&](const json& item, const std::string& path) {
    reader.expectObject(item, path, {"name", "dll"});
    MonitorConfig monitor{reader.wide(item, "name", path), reader.wide(item, "dll", path)};
    if (monitor.name.empty()) reader.fail(path + ".name", "expected a monitor name");
    if (monitor.dll.empty() || monitor.dll.find(L'\\') != std::wstring::npos) {
      reader.fail(path + ".dll", "expected a DLL name without a folder");
    }
    if (std::any_of(out.begin(), out.end(), [&](const MonitorConfig& m) {
          return pathKey(m.name) == pathKey(monitor.name);
        })) {
      reader.fail(path + ".name", "named twice");
    }
    out.push_back(monitor);
  });
  return out;
}

void readSpooler(const FieldReader& reader, const json& value, MachineConfig& config) {
  reader.expectObject(value, "spooler",
                      {"drivers", "loadedDrivers", "ports", "printers", "connections", "monitors"});
  SpoolerConfig out;
  const auto each = [&](const char* key,
                        const std::function<void(const json&, const std::string&)>& read) {
    if (value.contains(key)) reader.each(value[key], std::string("spooler.") + key, read);
  };
  each("drivers", [&](const json& item, const std::string& path) {
    out.drivers.push_back(readDriver(reader, item, path, config.os, out.drivers));
  });
  each("loadedDrivers", [&](const json& item, const std::string& path) {
    if (!item.is_string()) reader.fail(path, "expected a string");
    const std::wstring name = fromUtf8(item.get<std::string>());
    if (std::none_of(out.drivers.begin(), out.drivers.end(), [&](const PrinterDriverConfig& d) {
          return pathKey(d.name) == pathKey(name);
        })) {
      reader.fail(path, "no such driver in spooler.drivers");
    }
    out.loadedDrivers.push_back(name);
  });
  each("ports", [&](const json& item, const std::string& path) {
    reader.expectObject(item, path, {"name", "monitor"});
    PortConfig port{reader.wide(item, "name", path), L"Local Port"};
    if (port.name.empty() || port.name.size() > kMaxPortNameChars) {
      reader.fail(path + ".name",
                  "expected 1 to " + std::to_string(kMaxPortNameChars) + " characters");
    }
    if (std::any_of(out.ports.begin(), out.ports.end(),
                    [&](const PortConfig& p) { return pathKey(p.name) == pathKey(port.name); })) {
      reader.fail(path + ".name", "named twice");
    }
    if (item.contains("monitor")) port.monitor = reader.wide(item, "monitor", path);
    out.ports.push_back(port);
  });
  std::set<std::wstring> names;
  each("printers", [&](const json& item, const std::string& path) {
    out.printers.push_back(readQueue(reader, item, path, nativeEnvironment(config.os), out));
    if (!names.insert(pathKey(out.printers.back().name)).second) {
      reader.fail(path + ".name", "named twice");
    }
  });
  each("connections", [&](const json& item, const std::string& path) {
    reader.expectObject(item, path, {"name", "driver"});
    PrinterConnectionConfig connection{reader.wide(item, "name", path),
                                       reader.wide(item, "driver", path)};
    const std::size_t share = connection.name.find(L'\\', 2);
    if (connection.name.rfind(L"\\\\", 0) != 0 || share == std::wstring::npos || share == 2 ||
        share + 1 == connection.name.size() ||
        connection.name.find(L'\\', share + 1) != std::wstring::npos) {
      reader.fail(path + ".name", "expected \"\\\\\\\\server\\\\printer\"");
    }
    if (!names.insert(pathKey(connection.name)).second) reader.fail(path + ".name", "named twice");
    out.connections.push_back(connection);
  });
  if (value.contains("monitors")) out.monitors = readMonitors(reader, value["monitors"]);
  config.spooler = std::move(out);
}

std::optional<json> writeSpooler(const MachineConfig& config) {
  if (!config.spooler) return std::nullopt;
  const SpoolerConfig& spooler = *config.spooler;
  json out = {{"drivers", json::array()},     {"loadedDrivers", json::array()},
              {"ports", json::array()},       {"printers", json::array()},
              {"connections", json::array()}, {"monitors", json::array()}};
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
                      {"cancelMilliseconds", millisecondsJson(job.cancelMilliseconds)}});
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
  for (const auto& monitor : spooler.monitors) {
    out["monitors"].push_back({{"name", toUtf8(monitor.name)}, {"dll", toUtf8(monitor.dll)}});
  }
  return out;
}

}  // namespace

const MachineSection kSpoolerSection{"spooler", readSpooler, writeSpooler};

}  // namespace plat::sim
