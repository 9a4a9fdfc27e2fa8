// The shell: known folders and ShellExecute.
#pragma once

#include <cstdint>
#include <string>

#include "platform/api/types.h"

namespace plat {

// SHGetFolderPathW: the HRESULT (negative on failure) and the path.
struct FolderPathResult {
  std::int32_t hresult = 0;
  std::wstring path;
};

class ShellPort {
 public:
  ShellPort() = default;
  ShellPort(const ShellPort&) = delete;
  ShellPort& operator=(const ShellPort&) = delete;
  virtual ~ShellPort() = default;

  // SHGetFolderPathW with no window and no token.
  virtual FolderPathResult shGetFolderPath(int csidl, Dword flags) = 0;
  // ShellExecuteW: the instance value, above 32 on success.
  virtual std::intptr_t shellExecute(WindowId owner, const std::wstring& verb,
                                     const std::wstring& file, const std::wstring& parameters,
                                     const std::wstring& directory, int showCommand) = 0;
};

}  // namespace plat
