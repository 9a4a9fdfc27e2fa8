// Privileges of the running process, which both programs enable at their
// start.
#pragma once

#include <string>

namespace plat::ui {

// Enables the privilege `name` in the process token: OpenProcessToken,
// LookupPrivilegeValueW on the local system, and AdjustTokenPrivileges with
// that one privilege, leaving the others as they are. Every failure is
// passed over: the caller goes on either way.
void enableProcessPrivilege(const std::wstring& name);

}  // namespace plat::ui
