// Device installation (setupapi).
// windows.h (through win32_ports.h) comes before setupapi.h.
#include "platform/win32/win32_ports.h"

#include <setupapi.h>

#include <vector>

namespace plat::win32 {

CopyOemInfResult Win32Devices::setupCopyOemInf(const std::wstring& sourceInf, Dword copyStyle,
                                               Dword destinationChars) {
  std::vector<wchar_t> destination(destinationChars + 1, L'\0');
  const BOOL copied = SetupCopyOEMInfW(sourceInf.c_str(), nullptr, SPOST_PATH, copyStyle,
                                       destination.data(), destinationChars, nullptr, nullptr);
  const Dword error = copied != FALSE ? kErrorSuccess : GetLastError();
  return {destination.data(), error};
}

}  // namespace plat::win32
