// The shell's ShellExecuteW, for opening documents and web pages.
#pragma once

#include <cstdint>
#include <string>

#include "platform/api/types.h"

namespace plat {

class ShellPort {
 public:
  ShellPort() = default;
  ShellPort(const ShellPort&) = delete;
  ShellPort& operator=(const ShellPort&) = delete;
  virtual ~ShellPort() = default;

  // ShellExecuteW: a value above 32 on success, an SE_ERR code otherwise.
  virtual std::intptr_t shellExecute(WindowId owner, const std::wstring& verb,
                                     const std::wstring& file, const std::wstring& parameters,
                                     const std::wstring& directory, int show) = 0;
};

}  // namespace plat
