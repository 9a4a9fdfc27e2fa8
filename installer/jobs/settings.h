// The settings file "Brisvane.ini" in the work folder: section "Config"
// with two integer keys, read and written only through the profile calls.
#pragma once

#include <cstdint>
#include <string>

namespace brisvane {

struct SettingKey {
  const wchar_t* name;
  int defaultValue;
};

// 1: offer to uninstall the legacy driver suite when it is found.
inline constexpr SettingKey kIsCheckPellacore{L"isCheckPellacore", 1};
// 1: install a connected USB printer of the maker without being asked.
inline constexpr SettingKey kIsAutoInstallUsbPrinter{L"isAutoInstallUsbPrinter", 0};

// The work folder followed by "\\Brisvane.ini"; the work folder is created
// on the way. Empty when the Program Files folder is unknown or the path
// would not fit 199 characters.
std::wstring settingsFilePath();

// The key's value as the profile call reads it: the default without a file
// or key, 0 for a value that is no number. Callers compare with 0 or 1.
std::uint32_t readSetting(const SettingKey& key);
// Writes "1" or "0". Without a settings path the write is lost, as every
// failed write of the settings is.
void writeSetting(const SettingKey& key, bool on);

}  // namespace brisvane
