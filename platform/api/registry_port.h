// The registry (ADVAPI32): keys under HKEY_LOCAL_MACHINE and
// HKEY_CURRENT_USER, typed values, enumeration and flush.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/api/result.h"
#include "platform/api/types.h"
#include "platform/api/wide_text.h"

namespace plat {

// A registry key handle; 0 is "no key". The predefined roots are handles
// that are always open and never closed.
using RegKey = std::uintptr_t;
inline constexpr RegKey kNoRegKey = 0;
inline constexpr RegKey kHkeyCurrentUser = 0x80000001;
inline constexpr RegKey kHkeyLocalMachine = 0x80000002;

// Access rights (REGSAM).
inline constexpr Dword kKeyQueryValue = 0x0001;
inline constexpr Dword kKeySetValue = 0x0002;
inline constexpr Dword kKeyCreateSubKey = 0x0004;
inline constexpr Dword kKeyEnumerateSubKeys = 0x0008;
inline constexpr Dword kKeyNotify = 0x0010;
inline constexpr Dword kKeyCreateLink = 0x0020;
inline constexpr Dword kStandardDelete = 0x00010000;
inline constexpr Dword kReadControl = 0x00020000;
inline constexpr Dword kKeyRead = 0x00020019;
inline constexpr Dword kKeyWrite = 0x00020006;
inline constexpr Dword kKeyAllAccess = 0x000F003F;

// Value types.
inline constexpr Dword kRegNone = 0;
inline constexpr Dword kRegSz = 1;
inline constexpr Dword kRegExpandSz = 2;
inline constexpr Dword kRegBinary = 3;
inline constexpr Dword kRegDword = 4;
inline constexpr Dword kRegMultiSz = 7;

// A key name has at most 255 characters: a buffer of this many holds any
// name with its terminating zero.
inline constexpr Dword kMaxKeyNameChars = 256;

// RegCreateKeyExW dispositions.
inline constexpr Dword kRegCreatedNewKey = 1;
inline constexpr Dword kRegOpenedExistingKey = 2;

// Error codes of the registry calls.
inline constexpr Dword kErrorBadPathname = 161;
inline constexpr Dword kErrorMoreData = 234;
inline constexpr Dword kErrorKeyDeleted = 1018;

// RegCreateKeyExW: the key and whether it was created or already there.
struct CreatedKey {
  RegKey key = kNoRegKey;
  Dword disposition = 0;
};

// A value as RegQueryValueExW or RegEnumValueW gives it: the type, the
// bytes that came back and the size the value has.
struct RegValue {
  std::wstring name;  // of RegEnumValueW
  Dword type = kRegNone;
  std::vector<std::uint8_t> data;
  Dword size = 0;
};

// RegQueryInfoKeyW: the numbers of subkeys and values.
struct RegKeyInfo {
  Dword subKeys = 0;
  Dword values = 0;
};

class RegistryPort {
 public:
  RegistryPort() = default;
  RegistryPort(const RegistryPort&) = delete;
  RegistryPort& operator=(const RegistryPort&) = delete;
  virtual ~RegistryPort() = default;

  virtual Result<RegKey> regOpenKeyEx(RegKey parent, const std::wstring& subKey, Dword access) = 0;
  // RegCreateKeyExW with no class, REG_OPTION_NON_VOLATILE, no security
  // attributes: opens the key, creating it and its missing parents.
  virtual Result<CreatedKey> regCreateKeyEx(RegKey parent, const std::wstring& subKey,
                                            Dword access) = 0;
  // RegQueryValueExW. With `bufferBytes` the one call with a buffer of that
  // size; without it the pair that asks for the size and then fetches the
  // whole value. A value that does not fit fails with kErrorMoreData and
  // hands back its type and the size it needs, without data.
  virtual Result<RegValue> regQueryValueEx(RegKey key, const std::wstring& name,
                                           std::optional<Dword> bufferBytes) = 0;
  virtual Dword regSetValueEx(RegKey key, const std::wstring& name, Dword type,
                              const std::vector<std::uint8_t>& data) = 0;
  virtual Dword regDeleteValue(RegKey key, const std::wstring& name) = 0;
  // RegDeleteKeyW: the subkey must have no subkeys of its own.
  virtual Dword regDeleteKey(RegKey parent, const std::wstring& subKey) = 0;
  // RegEnumKeyExW with a name buffer of `nameChars` characters (a longer
  // name fails with kErrorMoreData), and RegEnumValueW, by index;
  // kErrorNoMoreItems past the end.
  virtual Result<std::wstring> regEnumKeyEx(RegKey key, Dword index, Dword nameChars) = 0;
  virtual Result<RegValue> regEnumValue(RegKey key, Dword index) = 0;
  virtual Dword regFlushKey(RegKey key) = 0;
  virtual Dword regCloseKey(RegKey key) = 0;
  virtual Result<RegKeyInfo> regQueryInfoKey(RegKey key) = 0;
};

// The bytes of REG_SZ (with its terminating zero) and REG_MULTI_SZ (each
// string with its zero, then one more); REG_DWORD is dwordLeBytes.
std::vector<std::uint8_t> regSzData(const std::wstring& text);
std::vector<std::uint8_t> regMultiSzData(const std::vector<std::wstring>& texts);
// The reverse: text up to the first zero (a missing zero is tolerated, as
// the registry does not enforce it), and the list of strings.
std::wstring regSzText(const std::vector<std::uint8_t>& data);
std::vector<std::wstring> regMultiSzTexts(const std::vector<std::uint8_t>& data);

}  // namespace plat
