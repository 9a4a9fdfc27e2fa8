// The bundle of ports a process sees, and process-wide values.
//
// `ports()` answers the calling thread's process. With the real backend that
// is the one process; on the simulated machine several processes share one
// address space, so values that Windows keeps once per process (a program's
// globals) are held per simulated process through `processLocal<T>()`.
#pragma once

#include <memory>
#include <typeindex>

#include "platform/api/device_port.h"
#include "platform/api/file_port.h"
#include "platform/api/registry_port.h"
#include "platform/api/resource_port.h"
#include "platform/api/service_port.h"
#include "platform/api/shell_port.h"
#include "platform/api/socket_port.h"
#include "platform/api/spooler_port.h"
#include "platform/api/system_port.h"
#include "platform/api/window_port.h"

namespace plat {

class Ports {
 public:
  Ports() = default;
  Ports(const Ports&) = delete;
  Ports& operator=(const Ports&) = delete;
  virtual ~Ports() = default;

  virtual SystemPort& system() = 0;
  virtual WindowPort& windows() = 0;
  virtual SocketPort& sockets() = 0;
  virtual ResourcePort& resources() = 0;

  // The slot of type `type` in this process, made by `make` on first use.
  virtual std::shared_ptr<void> processSlot(std::type_index type,
                                            std::shared_ptr<void> (*make)()) = 0;

  virtual FilePort& files() = 0;
  virtual ShellPort& shell() = 0;
  virtual SpoolerPort& spooler() = 0;
  virtual RegistryPort& registry() = 0;
  virtual DevicePort& devices() = 0;
  virtual ServicePort& services() = 0;
};

// The ports of the calling thread's process; defined by the linked backend.
Ports& ports();

// One value of T per process, value-initialised on first use.
template <class T>
T& processLocal() {
  auto slot = ports().processSlot(std::type_index(typeid(T)), [] {
    return std::static_pointer_cast<void>(std::make_shared<T>());
  });
  return *static_cast<T*>(slot.get());
}

}  // namespace plat
