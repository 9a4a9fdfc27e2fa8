#include "platform/sim/model/service_table.h"

#include "platform/sim/model/file_system.h"
#include "platform/sim/model/spooler_state.h"

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

}  // namespace plat::sim
