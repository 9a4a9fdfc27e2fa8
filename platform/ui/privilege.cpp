#include "platform/ui/privilege.h"

#include "platform/api/ports.h"

namespace plat::ui {

void enableProcessPrivilege(const std::wstring& name) {
  SystemPort& system = ports().system();
  const auto token =
      KernelObject::adopt(system, system.openProcessToken(kTokenAdjustPrivileges | kTokenRead));
  if (!token) return;
  const Result<std::uint64_t> privilege = system.lookupPrivilegeValue(name);
  if (privilege) system.adjustTokenPrivileges(token->get(), *privilege, kSePrivilegeEnabled);
}

}  // namespace plat::ui
