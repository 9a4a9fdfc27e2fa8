#include "installer/jobs/settings.h"

#include "installer/payload/work_folder.h"
#include "platform/api/ports.h"

namespace brisvane {

namespace {

constexpr wchar_t kSection[] = L"Config";
constexpr wchar_t kFileName[] = L"\\Brisvane.ini";

}  // namespace

std::wstring settingsFilePath() {
  const std::optional<std::wstring> workFolder = workFolderPath();
  if (!workFolder) return {};
  plat::ports().files().createDirectory(*workFolder);
  return appendBounded(*workFolder, kFileName).value_or(L"");
}

std::uint32_t readSetting(const SettingKey& key) {
  const std::wstring path = settingsFilePath();
  if (path.empty()) return static_cast<std::uint32_t>(key.defaultValue);
  return plat::ports().files().getPrivateProfileInt(kSection, key.name, key.defaultValue, path);
}

void writeSetting(const SettingKey& key, bool on) {
  const std::wstring path = settingsFilePath();
  if (path.empty()) return;
  plat::ports().files().writePrivateProfileString(kSection, key.name, on ? L"1" : L"0", path);
}

}  // namespace brisvane
