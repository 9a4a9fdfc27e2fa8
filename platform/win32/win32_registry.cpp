#include "platform/win32/win32_ports.h"

namespace plat::win32 {

namespace {

HKEY toHkey(RegKey key) {
  return reinterpret_cast<HKEY>(key);
}

RegKey toRegKey(HKEY key) {
  return reinterpret_cast<RegKey>(key);
}

constexpr DWORD kMaxValueNameChars = 16384;
constexpr std::size_t kFirstValueBytes = 256;

}  // namespace

Result<RegKey> Win32Registry::regOpenKeyEx(RegKey parent, const std::wstring& subKey,
                                           Dword access) {
  HKEY key = nullptr;
  const LSTATUS status = RegOpenKeyExW(toHkey(parent), subKey.c_str(), 0, access, &key);
  if (status != ERROR_SUCCESS) return Failure{static_cast<Dword>(status)};
  return toRegKey(key);
}

Result<CreatedKey> Win32Registry::regCreateKeyEx(RegKey parent, const std::wstring& subKey,
                                                 Dword access) {
  HKEY key = nullptr;
  DWORD disposition = 0;
  const LSTATUS status =
      RegCreateKeyExW(toHkey(parent), subKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access,
                      nullptr, &key, &disposition);
  if (status != ERROR_SUCCESS) return Failure{static_cast<Dword>(status)};
  return CreatedKey{toRegKey(key), disposition};
}

Result<RegValue> Win32Registry::regQueryValueEx(RegKey key, const std::wstring& name,
                                                std::optional<Dword> bufferBytes) {
  RegValue out;
  DWORD type = REG_NONE;
  DWORD size = 0;
  LSTATUS status = ERROR_SUCCESS;
  if (bufferBytes) {
    size = *bufferBytes;
  } else {
    status = RegQueryValueExW(toHkey(key), name.c_str(), nullptr, &type, nullptr, &size);
    if (status != ERROR_SUCCESS) return Failure{static_cast<Dword>(status)};
  }
  // The value may grow between asking for its size and fetching it.
  do {
    out.data.resize(size);
    status = RegQueryValueExW(toHkey(key), name.c_str(), nullptr, &type, out.data.data(), &size);
  } while (!bufferBytes && status == ERROR_MORE_DATA);
  out.type = type;
  out.size = size;
  if (status == ERROR_MORE_DATA) {
    out.data.clear();
    return {Failure{kErrorMoreData}, out};
  }
  if (status != ERROR_SUCCESS) return Failure{static_cast<Dword>(status)};
  out.data.resize(size);
  return out;
}

Dword Win32Registry::regSetValueEx(RegKey key, const std::wstring& name, Dword type,
                                   const std::vector<std::uint8_t>& data) {
  return static_cast<Dword>(RegSetValueExW(toHkey(key), name.c_str(), 0, type, data.data(),
                                           static_cast<DWORD>(data.size())));
}

Dword Win32Registry::regDeleteValue(RegKey key, const std::wstring& name) {
  return static_cast<Dword>(RegDeleteValueW(toHkey(key), name.c_str()));
}

Dword Win32Registry::regDeleteKey(RegKey parent, const std::wstring& subKey) {
  return static_cast<Dword>(RegDeleteKeyW(toHkey(parent), subKey.c_str()));
}

Result<std::wstring> Win32Registry::regEnumKeyEx(RegKey key, Dword index, Dword nameChars) {
  std::wstring name(nameChars, L'\0');
  DWORD chars = nameChars;
  const LSTATUS status =
      RegEnumKeyExW(toHkey(key), index, name.data(), &chars, nullptr, nullptr, nullptr, nullptr);
  if (status != ERROR_SUCCESS) return Failure{static_cast<Dword>(status)};
  name.resize(chars);
  return name;
}

Result<RegValue> Win32Registry::regEnumValue(RegKey key, Dword index) {
  RegValue out;
  std::wstring name(kMaxValueNameChars, L'\0');
  DWORD type = REG_NONE;
  out.data.resize(kFirstValueBytes);
  DWORD chars = 0;
  DWORD size = 0;
  LSTATUS status = ERROR_SUCCESS;
  do {
    chars = kMaxValueNameChars;
    size = static_cast<DWORD>(out.data.size());
    status = RegEnumValueW(toHkey(key), index, name.data(), &chars, nullptr, &type, out.data.data(),
                           &size);
    if (status == ERROR_MORE_DATA) out.data.resize(size);
  } while (status == ERROR_MORE_DATA);
  if (status != ERROR_SUCCESS) return Failure{static_cast<Dword>(status)};
  name.resize(chars);
  out.name = name;
  out.type = type;
  out.size = size;
  out.data.resize(size);
  return out;
}

Dword Win32Registry::regFlushKey(RegKey key) {
  return static_cast<Dword>(RegFlushKey(toHkey(key)));
}

Dword Win32Registry::regCloseKey(RegKey key) {
  return static_cast<Dword>(RegCloseKey(toHkey(key)));
}

Result<RegKeyInfo> Win32Registry::regQueryInfoKey(RegKey key) {
  DWORD subKeys = 0;
  DWORD values = 0;
  const LSTATUS status = RegQueryInfoKeyW(toHkey(key), nullptr, nullptr, nullptr, &subKeys, nullptr,
                                          nullptr, &values, nullptr, nullptr, nullptr, nullptr);
  if (status != ERROR_SUCCESS) return Failure{static_cast<Dword>(status)};
  return RegKeyInfo{subKeys, values};
}

}  // namespace plat::win32
