// The registry port of a simulated process.
#pragma once

#include "platform/api/registry_port.h"

namespace plat::sim {

class SimProcess;

class SimRegistryPort final : public RegistryPort {
 public:
  explicit SimRegistryPort(SimProcess& process) : process_(process) {}
  Result<RegKey> regOpenKeyEx(RegKey parent, const std::wstring& subKey, Dword access) override;
  Result<CreatedKey> regCreateKeyEx(RegKey parent, const std::wstring& subKey,
                                    Dword access) override;
  Result<RegValue> regQueryValueEx(RegKey key, const std::wstring& name,
                                   std::optional<Dword> bufferBytes) override;
  Dword regSetValueEx(RegKey key, const std::wstring& name, Dword type,
                      const std::vector<std::uint8_t>& data) override;
  Dword regDeleteValue(RegKey key, const std::wstring& name) override;
  Dword regDeleteKey(RegKey parent, const std::wstring& subKey) override;
  Result<std::wstring> regEnumKeyEx(RegKey key, Dword index, Dword nameChars) override;
  Result<RegValue> regEnumValue(RegKey key, Dword index) override;
  Dword regFlushKey(RegKey key) override;
  Dword regCloseKey(RegKey key) override;
  Result<RegKeyInfo> regQueryInfoKey(RegKey key) override;

 private:
  SimProcess& process_;
};

}  // namespace plat::sim
