// The shell port of a simulated process: known folders and ShellExecute.
#pragma once

#include "platform/api/shell_port.h"

namespace plat::sim {

class SimProcess;

class SimShellPort final : public ShellPort {
 public:
  explicit SimShellPort(SimProcess& process) : process_(process) {}
  Result<std::wstring> shGetFolderPath(int csidl, Dword flags) override;
  std::intptr_t shellExecute(WindowId owner, const std::wstring& verb, const std::wstring& file,
                             const std::wstring& parameters, const std::wstring& directory,
                             int showCommand) override;

 private:
  SimProcess& process_;
};

}  // namespace plat::sim
