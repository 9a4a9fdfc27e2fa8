// The service port of a simulated process (the service control manager):
// one call into the machine's service table under the machine's lock,
// after the fault injection had its say.
#include "platform/sim/ports/sim_service_port.h"

#include "platform/sim/sim_process.h"

namespace plat::sim {

Result<ServiceId> SimServicePort::openScManager(Dword /*access*/) {
  std::scoped_lock lock(process_.machine.mutex);
  if (const auto fault = process_.machine.takeFault("OpenSCManagerW")) return Failure{*fault};
  return process_.machine.services.openManager(process_.id);
}

Result<ServiceId> SimServicePort::openService(ServiceId manager, const std::wstring& name,
                                              Dword access) {
  std::scoped_lock lock(process_.machine.mutex);
  if (const auto fault = process_.machine.takeFault("OpenServiceW")) return Failure{*fault};
  return process_.machine.services.openService(process_.id, manager, name, access);
}

Result<Dword> SimServicePort::queryServiceStatus(ServiceId service) {
  std::scoped_lock lock(process_.machine.mutex);
  MachineState& machine = process_.machine;
  if (const auto fault = machine.takeFault("QueryServiceStatus")) return Failure{*fault};
  return machine.services.query(process_.id, service, machine.now, machine.spooler);
}

Result<Dword> SimServicePort::controlService(ServiceId service, Dword control) {
  std::scoped_lock lock(process_.machine.mutex);
  MachineState& machine = process_.machine;
  if (const auto fault = machine.takeFault("ControlService")) return Failure{*fault};
  if (control != kServiceControlStop) return Failure{kErrorInvalidParameter};
  return machine.services.stop(process_.id, service, machine.now, machine.spooler);
}

Dword SimServicePort::startService(ServiceId service) {
  std::scoped_lock lock(process_.machine.mutex);
  MachineState& machine = process_.machine;
  if (const auto fault = machine.takeFault("StartServiceW")) return *fault;
  return machine.services.start(process_.id, service, machine.now, machine.spooler);
}

Dword SimServicePort::closeServiceHandle(ServiceId handle) {
  std::scoped_lock lock(process_.machine.mutex);
  return process_.machine.services.close(process_.id, handle);
}

}  // namespace plat::sim
