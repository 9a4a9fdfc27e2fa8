#include "platform/ui/privilege.h"

#include "platform/api/ports.h"

namespace plat::ui {

void enableProcessPrivilege(const std::wstring& name) {
  SystemPort& system = ports().system();
  const TokenOpenResult token = system.openProcessToken(kTokenAdjustPrivileges | kTokenRead);
  if (token.error != kErrorSuccess) return;
  const PrivilegeLookupResult privilege = system.lookupPrivilegeValue(name);
  if (privilege.error == kErrorSuccess) {
    system.adjustTokenPrivileges(token.token, privilege.luid, kSePrivilegeEnabled);
  }
  system.closeHandle(token.token);
}

}  // namespace plat::ui
