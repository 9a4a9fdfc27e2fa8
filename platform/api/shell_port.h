// The shell: known folders and ShellExecute.
#pragma once

#include <cstdint>
#include <string>

#include "platform/api/result.h"
#include "platform/api/types.h"

namespace plat {

class ShellPort {
 public:
  ShellPort() = default;
  ShellPort(const ShellPort&) = delete;
  ShellPort& operator=(const ShellPort&) = delete;
  virtual ~ShellPort() = default;

  // SHGetFolderPathW with no window and no token: the path. Its failure
  // code is the HRESULT's bits (the call fails when the HRESULT is
  // negative).
  virtual Result<std::wstring> shGetFolderPath(int csidl, Dword flags) = 0;
  // ShellExecuteW: the instance value, above 32 on success.
  virtual std::intptr_t shellExecute(WindowId owner, const std::wstring& verb,
                                     const std::wstring& file, const std::wstring& parameters,
                                     const std::wstring& directory, int showCommand) = 0;
};

}  // namespace plat
