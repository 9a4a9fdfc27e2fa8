// The print spooler (winspool).
#pragma once

#include <optional>
#include <string>

#include "platform/api/types.h"

namespace plat {

struct DriverDirectoryResult {
  std::wstring path;
  Dword error = kErrorSuccess;
};

class SpoolerPort {
 public:
  SpoolerPort() = default;
  SpoolerPort(const SpoolerPort&) = delete;
  SpoolerPort& operator=(const SpoolerPort&) = delete;
  virtual ~SpoolerPort() = default;

  // GetPrinterDriverDirectoryW, level 1, on the local machine; no
  // environment means the caller's own.
  virtual DriverDirectoryResult getPrinterDriverDirectory(
      const std::optional<std::wstring>& environment) = 0;
};

}  // namespace plat
