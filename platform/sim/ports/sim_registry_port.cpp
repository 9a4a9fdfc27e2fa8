// The registry port of a simulated process: one call into the machine's
// registry tree under the machine's lock, after the fault injection had its
// say.
#include "platform/sim/ports/sim_registry_port.h"

#include "platform/sim/sim_process.h"

namespace plat::sim {

Result<RegKey> SimRegistryPort::regOpenKeyEx(RegKey parent, const std::wstring& subKey,
                                             Dword access) {
  std::scoped_lock lock(process_.machine.mutex);
  if (const auto fault = process_.machine.takeFault("RegOpenKeyExW")) return Failure{*fault};
  const Result<CreatedKey> opened =
      process_.machine.registry.open(process_.id, parent, subKey, access, false);
  if (!opened) return Failure{opened.error()};
  return opened->key;
}

Result<CreatedKey> SimRegistryPort::regCreateKeyEx(RegKey parent, const std::wstring& subKey,
                                                   Dword access) {
  std::scoped_lock lock(process_.machine.mutex);
  if (const auto fault = process_.machine.takeFault("RegCreateKeyExW")) return Failure{*fault};
  return process_.machine.registry.open(process_.id, parent, subKey, access, true);
}

Result<RegValue> SimRegistryPort::regQueryValueEx(RegKey key, const std::wstring& name,
                                                  std::optional<Dword> bufferBytes) {
  std::scoped_lock lock(process_.machine.mutex);
  if (const auto fault = process_.machine.takeFault("RegQueryValueExW")) return Failure{*fault};
  return process_.machine.registry.query(process_.id, key, name, bufferBytes);
}

Dword SimRegistryPort::regSetValueEx(RegKey key, const std::wstring& name, Dword type,
                                     const std::vector<std::uint8_t>& data) {
  std::scoped_lock lock(process_.machine.mutex);
  if (const auto fault = process_.machine.takeFault("RegSetValueExW")) return *fault;
  return process_.machine.registry.set(process_.id, key, name, type, data);
}

Dword SimRegistryPort::regDeleteValue(RegKey key, const std::wstring& name) {
  std::scoped_lock lock(process_.machine.mutex);
  if (const auto fault = process_.machine.takeFault("RegDeleteValueW")) return *fault;
  return process_.machine.registry.deleteValue(process_.id, key, name);
}

Dword SimRegistryPort::regDeleteKey(RegKey parent, const std::wstring& subKey) {
  std::scoped_lock lock(process_.machine.mutex);
  if (const auto fault = process_.machine.takeFault("RegDeleteKeyW")) return *fault;
  return process_.machine.registry.deleteKey(process_.id, parent, subKey);
}

Result<std::wstring> SimRegistryPort::regEnumKeyEx(RegKey key, Dword index, Dword nameChars) {
  std::scoped_lock lock(process_.machine.mutex);
  if (const auto fault = process_.machine.takeFault("RegEnumKeyExW")) return Failure{*fault};
  return process_.machine.registry.enumKey(process_.id, key, index, nameChars);
}

Result<RegValue> SimRegistryPort::regEnumValue(RegKey key, Dword index) {
  std::scoped_lock lock(process_.machine.mutex);
  if (const auto fault = process_.machine.takeFault("RegEnumValueW")) return Failure{*fault};
  return process_.machine.registry.enumValue(process_.id, key, index);
}

Dword SimRegistryPort::regFlushKey(RegKey key) {
  std::scoped_lock lock(process_.machine.mutex);
  if (const auto fault = process_.machine.takeFault("RegFlushKey")) return *fault;
  return process_.machine.registry.flush(process_.id, key);
}

Dword SimRegistryPort::regCloseKey(RegKey key) {
  std::scoped_lock lock(process_.machine.mutex);
  return process_.machine.registry.close(process_.id, key);
}

Result<RegKeyInfo> SimRegistryPort::regQueryInfoKey(RegKey key) {
  std::scoped_lock lock(process_.machine.mutex);
  if (const auto fault = process_.machine.takeFault("RegQueryInfoKeyW")) return Failure{*fault};
  return process_.machine.registry.queryInfo(process_.id, key);
}

}  // namespace plat::sim
