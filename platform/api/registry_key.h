// An open registry key that closes itself, and the calls that open one.
#pragma once

#include <string>

#include "platform/api/registry_port.h"
#include "platform/api/unique_handle.h"

namespace plat {

// Owns a key opened below a root and closes it with RegCloseKey. The
// predefined roots are never owned.
using RegistryKey = UniqueHandle<RegistryPort, RegKey, kNoRegKey, &RegistryPort::regCloseKey>;

// RegOpenKeyExW and RegCreateKeyExW, owned.
inline Result<RegistryKey> openKey(RegistryPort& port, RegKey parent, const std::wstring& subKey,
                                   Dword access) {
  return RegistryKey::adopt(port, port.regOpenKeyEx(parent, subKey, access));
}
inline Result<RegistryKey> createKey(RegistryPort& port, RegKey parent, const std::wstring& subKey,
                                     Dword access) {
  const Result<CreatedKey> created = port.regCreateKeyEx(parent, subKey, access);
  if (!created) return Failure{created.error()};
  return RegistryKey(port, created->key);
}

}  // namespace plat
