// A process of the simulated machine and the ports it sees, one adapter
// per port.
#pragma once

#include <map>
#include <memory>
#include <set>
#include <string>
#include <typeindex>

#include "platform/api/ports.h"
#include "platform/sim/machine_state.h"
#include "platform/sim/ports/sim_device_port.h"
#include "platform/sim/ports/sim_file_port.h"
#include "platform/sim/ports/sim_registry_port.h"
#include "platform/sim/ports/sim_resource_port.h"
#include "platform/sim/ports/sim_service_port.h"
#include "platform/sim/ports/sim_shell_port.h"
#include "platform/sim/ports/sim_socket_port.h"
#include "platform/sim/ports/sim_spooler_port.h"
#include "platform/sim/ports/sim_system_port.h"
#include "platform/sim/ports/sim_window_port.h"

namespace plat::sim {

class SimProcess final : public Ports {
 public:
  SimProcess(MachineState& machine, ProcessId id, ProgramImage image, std::wstring arguments,
             std::wstring directory);

  SystemPort& system() override { return system_; }
  WindowPort& windows() override { return windows_; }
  SocketPort& sockets() override { return sockets_; }
  ResourcePort& resources() override { return resources_; }
  RegistryPort& registry() override { return registry_; }
  FilePort& files() override { return files_; }
  ShellPort& shell() override { return shell_; }
  SpoolerPort& spooler() override { return spooler_; }
  DevicePort& devices() override { return devices_; }
  ServicePort& services() override { return services_; }
  std::shared_ptr<void> processSlot(std::type_index type, std::shared_ptr<void> (*make)()) override;

  // The languages the resource loader tries for the calling thread, in order.
  std::vector<LangId> resourceLanguages(const SimThread& thread) const;
  // GetVersionExW as this program sees it.
  [[nodiscard]] OsVersionInfo reportedVersion() const;

  KernelHandle addHandle(std::shared_ptr<KernelObject> object);
  // Closes every handle and window: the process has ended.
  void terminate(Dword exitCode);

  MachineState& machine;
  const ProcessId id;
  const ProgramImage image;
  const std::wstring arguments;
  const std::wstring directory;
  std::map<KernelHandle, std::shared_ptr<KernelObject>> handles;
  std::map<std::type_index, std::shared_ptr<void>> slots;
  // The privileges enabled in the process token, by name.
  std::set<std::wstring> enabledPrivileges;
  bool ended = false;
  Dword exitCode = 0;
  int wsaStartups = 0;
  int wsaLastError = 0;

 private:
  SimSystemPort system_{*this};
  SimWindowPort windows_{*this};
  SimSocketPort sockets_{*this};
  SimResourcePort resources_{*this};
  SimRegistryPort registry_{*this};
  SimFilePort files_{*this};
  SimShellPort shell_{*this};
  SimSpoolerPort spooler_{*this};
  SimDevicePort devices_{*this};
  SimServicePort services_{*this};
};

}  // namespace plat::sim
