// The printer driver directory of the real spooler, and copying the
// stand-in DLLs into a folder, for the Wine programs that register them.
#pragma once

#include <windows.h>
// (after windows.h)
#include <winspool.h>

#include <string>

namespace winetest {

// GetPrinterDriverDirectoryW for the caller's own environment.
inline std::wstring driverDirectory() {
  wchar_t path[MAX_PATH] = {};
  DWORD needed = 0;
  GetPrinterDriverDirectoryW(nullptr, nullptr, 1, reinterpret_cast<LPBYTE>(path), sizeof path,
                             &needed);
  return path;
}

// Copies `from`\`name` to `folder`\`name`, replacing what is there.
inline bool copyInto(const std::wstring& from, const std::wstring& folder, const wchar_t* name) {
  return CopyFileW((from + L"\\" + name).c_str(), (folder + L"\\" + name).c_str(), FALSE) != FALSE;
}

}  // namespace winetest
