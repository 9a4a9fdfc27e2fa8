#include "platform/sim/sim_services.h"

#include <mutex>

#include "platform/sim/sim_files.h"
#include "platform/sim/sim_process.h"
#include "platform/sim/sim_spooler.h"

namespace plat::sim {

namespace {

constexpr wchar_t kSpoolerService[] = L"Spooler";

}  // namespace

ServiceTable::ServiceTable(const ServiceConfig& spooler)
    : config_(spooler), state_(spooler.running ? kServiceRunning : kServiceStopped) {}

ServiceConfig ServiceTable::save() const {
  ServiceConfig out = config_;
  out.running = state_ == kServiceRunning || state_ == kServiceStopPending;
  return out;
}

Result<ServiceId> ServiceTable::openManager(ProcessId process) {
  const ServiceId handle = nextHandle_;
  nextHandle_ += 4;
  handles_.emplace(handle, Handle{process, true, 0});
  return handle;
}

Result<ServiceId> ServiceTable::openService(ProcessId process, ServiceId manager,
                                            const std::wstring& name, Dword access) {
  const auto found = handles_.find(manager);
  if (found == handles_.end() || found->second.process != process || !found->second.manager) {
    return Failure{kErrorInvalidHandle};
  }
  if (pathKey(name) != pathKey(kSpoolerService)) return Failure{kErrorServiceDoesNotExist};
  const ServiceId handle = nextHandle_;
  nextHandle_ += 4;
  handles_.emplace(handle, Handle{process, false, access});
  return handle;
}

Dword ServiceTable::check(ProcessId process, ServiceId service, Dword right) const {
  const auto found = handles_.find(service);
  if (found == handles_.end() || found->second.process != process || found->second.manager) {
    return kErrorInvalidHandle;
  }
  return (found->second.access & right) == right ? kErrorSuccess : kErrorAccessDenied;
}

void ServiceTable::settle(std::uint64_t now, SpoolerState& spooler) {
  if (pendingForEver_ || now < pendingUntil_) return;
  if (state_ == kServiceStopPending) {
    state_ = kServiceStopped;
    spooler.unloadDrivers();
  } else if (state_ == kServiceStartPending) {
    state_ = kServiceRunning;
  }
}

Result<Dword> ServiceTable::query(ProcessId process, ServiceId service, std::uint64_t now,
                                  SpoolerState& spooler) {
  if (const Dword error = check(process, service, kServiceQueryStatus)) return Failure{error};
  settle(now, spooler);
  return state_;
}

Result<Dword> ServiceTable::stop(ProcessId process, ServiceId service, std::uint64_t now,
                                 SpoolerState& spooler) {
  if (const Dword error = check(process, service, kServiceStop)) return Failure{error};
  settle(now, spooler);
  if (state_ == kServiceStopped) return {Failure{kErrorServiceNotActive}, state_};
  if (state_ != kServiceRunning) return {Failure{kErrorServiceCannotAcceptCtrl}, state_};
  state_ = kServiceStopPending;
  pendingForEver_ = !config_.stopMilliseconds;
  pendingUntil_ = now + config_.stopMilliseconds.value_or(0);
  settle(now, spooler);
  return state_;
}

Dword ServiceTable::start(ProcessId process, ServiceId service, std::uint64_t now,
                          SpoolerState& spooler) {
  if (const Dword error = check(process, service, kServiceStart)) return error;
  settle(now, spooler);
  if (state_ != kServiceStopped) return kErrorServiceAlreadyRunning;
  state_ = kServiceStartPending;
  pendingForEver_ = !config_.startMilliseconds;
  pendingUntil_ = now + config_.startMilliseconds.value_or(0);
  settle(now, spooler);
  return kErrorSuccess;
}

Dword ServiceTable::close(ProcessId process, ServiceId handle) {
  const auto found = handles_.find(handle);
  if (found == handles_.end() || found->second.process != process) return kErrorInvalidHandle;
  handles_.erase(found);
  return kErrorSuccess;
}

void ServiceTable::closeAll(ProcessId process) {
  std::erase_if(handles_, [process](const auto& entry) { return entry.second.process == process; });
}

// ---------------------------------------------------------------------------
// The port: one call into the table under the machine's lock, after the
// fault injection had its say.

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
