#include "platform/win32/win32_ports.h"

namespace plat::win32 {

std::shared_ptr<void> Win32Ports::processSlot(std::type_index type,
                                              std::shared_ptr<void> (*make)()) {
  std::scoped_lock lock(slotsMutex_);
  auto& slot = slots_[type];
  if (!slot) slot = make();
  return slot;
}

}  // namespace plat::win32

namespace plat {

Ports& ports() {
  static win32::Win32Ports instance;
  return instance;
}

}  // namespace plat
