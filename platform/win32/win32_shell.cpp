// windows.h (through win32_ports.h) comes before the shell's headers.
#include "platform/win32/win32_ports.h"

#include <shellapi.h>
#include <shlobj.h>
#include <winspool.h>

namespace plat::win32 {

Result<std::wstring> Win32Shell::shGetFolderPath(int csidl, Dword flags) {
  wchar_t path[MAX_PATH] = {};
  const HRESULT result = SHGetFolderPathW(nullptr, csidl, nullptr, flags, path);
  if (FAILED(result)) return Failure{static_cast<Dword>(result)};
  return std::wstring(path);
}

std::intptr_t Win32Shell::shellExecute(WindowId owner, const std::wstring& verb,
                                       const std::wstring& file, const std::wstring& parameters,
                                       const std::wstring& directory, int showCommand) {
  return reinterpret_cast<std::intptr_t>(ShellExecuteW(toHwnd(owner), verb.c_str(), file.c_str(),
                                                       parameters.c_str(), directory.c_str(),
                                                       showCommand));
}

Result<std::wstring> Win32Spooler::getPrinterDriverDirectory(
    const std::optional<std::wstring>& environment) {
  // The spooler's path limit: MAX_PATH characters.
  wchar_t path[MAX_PATH] = {};
  DWORD needed = 0;
  const BOOL ok = GetPrinterDriverDirectoryW(
      nullptr, environment ? const_cast<wchar_t*>(environment->c_str()) : nullptr, 1,
      reinterpret_cast<LPBYTE>(path), sizeof path, &needed);
  if (ok == FALSE) return Failure{GetLastError()};
  return std::wstring(path);
}

}  // namespace plat::win32
