// Device installation (setupapi): the driver store.
#pragma once

#include <string>

#include "platform/api/types.h"

namespace plat {

// SetupCopyOEMInfW media type and copy styles.
inline constexpr Dword kSpostPath = 1;
inline constexpr Dword kSpCopyNewerOrSame = 0x4;
inline constexpr Dword kSpCopyNoOverwrite = 0x8;

// SetupCopyOEMInfW: the oem INF path written to the destination buffer (on
// success, and on ERROR_FILE_EXISTS when the package is already staged),
// and 0 or the error code.
struct CopyOemInfResult {
  std::wstring destination;
  Dword error = kErrorSuccess;
};

class DevicePort {
 public:
  DevicePort() = default;
  DevicePort(const DevicePort&) = delete;
  DevicePort& operator=(const DevicePort&) = delete;
  virtual ~DevicePort() = default;

  // SetupCopyOEMInfW with no media location, media type SPOST_PATH and a
  // destination buffer of `destinationChars` characters; the required-size
  // and file-name-component pointers are null.
  virtual CopyOemInfResult setupCopyOemInf(const std::wstring& sourceInf, Dword copyStyle,
                                           Dword destinationChars) = 0;
};

}  // namespace plat
