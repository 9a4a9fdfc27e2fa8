// The service control manager of the simulated machine with its one
// service of interest, the "Spooler". A stop or start is pending for the
// virtual time the machine's configuration gives, or for ever; when the
// spooler has stopped, its process holds no driver loaded any more.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "platform/api/service_port.h"
#include "platform/sim/machine_config.h"
#include "platform/sim/model/process_id.h"

namespace plat::sim {

class SpoolerState;

class ServiceTable {
 public:
  explicit ServiceTable(const ServiceConfig& spooler);

  Result<ServiceId> openManager(ProcessId process);
  Result<ServiceId> openService(ProcessId process, ServiceId manager, const std::wstring& name,
                                Dword access);
  // The service's state at `now`, after any pending change that is due.
  Result<Dword> query(ProcessId process, ServiceId service, std::uint64_t now,
                      SpoolerState& spooler);
  Result<Dword> stop(ProcessId process, ServiceId service, std::uint64_t now,
                     SpoolerState& spooler);
  Dword start(ProcessId process, ServiceId service, std::uint64_t now, SpoolerState& spooler);
  Dword close(ProcessId process, ServiceId handle);
  // The process has ended: its handles go with it.
  void closeAll(ProcessId process);
  [[nodiscard]] ServiceConfig save() const;

 private:
  struct Handle {
    ProcessId process = 0;
    bool manager = false;
    Dword access = 0;
  };
  // Whether `service` is an open service handle of `process` with `right`.
  Dword check(ProcessId process, ServiceId service, Dword right) const;
  void settle(std::uint64_t now, SpoolerState& spooler);

  ServiceConfig config_;
  Dword state_;
  std::uint64_t pendingUntil_ = 0;
  bool pendingForEver_ = false;
  std::map<ServiceId, Handle> handles_;
  ServiceId nextHandle_ = 0x7000;
};

}  // namespace plat::sim
