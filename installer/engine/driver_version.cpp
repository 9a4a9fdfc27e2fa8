// The installed driver version, read from the spooler's registry record or
// the maker's oem INF files, and the comparison of versions.
#include "installer/engine/driver_version.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cwctype>
#include <optional>
#include <vector>

#include "installer/engine/driver_engine.h"
#include "installer/engine/maker_rules.h"
#include "installer/engine/package_version.h"
#include "platform/api/ports.h"
#include "platform/api/registry_key.h"

namespace brisvane {

namespace {

// The buffer the "DriverVersion" value is read into, and the buffer of the
// driver names.
constexpr plat::Dword kVersionValueBytes = 512;
constexpr plat::Dword kDriverNameChars = 512;
// The Windows folder buffer (with "\inf") and the profile value buffer.
constexpr std::size_t kInfFolderChars = 199;
constexpr plat::Dword kProfileValueChars = 255;
constexpr int kLastOemNumber = 254;
constexpr wchar_t kBlanks[] = L" \t\r\n";

// The text of a "DriverVersion" value. REG_BINARY is the spooler's 64-bit
// version: four 16-bit little-endian fields, the most significant at byte 6.
// Anything else is read as text, with the older form's " M-" read as ".".
std::wstring versionText(const plat::RegValue& value) {
  std::vector<std::uint8_t> buffer(kVersionValueBytes, 0);
  std::copy_n(value.data.begin(), std::min<std::size_t>(value.data.size(), buffer.size()),
              buffer.begin());
  if (value.type == plat::kRegBinary) {
    const auto field = [&](std::size_t at) {
      return std::to_wstring(buffer[at] | (buffer[at + 1] << 8U));
    };
    return field(6) + L"." + field(4) + L"." + field(2) + L"." + field(0);
  }
  std::wstring text = plat::regSzText(buffer);
  for (std::size_t at = text.find(L" M-"); at != std::wstring::npos; at = text.find(L" M-", at)) {
    text.replace(at, 3, L".");
  }
  return text;
}

// The first maker driver under `versionKey` whose version is not the
// "none" sentinel.
std::optional<std::wstring> registryDriverVersion(const std::wstring& versionKey) {
  plat::RegistryPort& registry = plat::ports().registry();
  const auto drivers = plat::openKey(registry, plat::kHkeyLocalMachine, versionKey, plat::kKeyRead);
  if (!drivers) return std::nullopt;
  const plat::Result<plat::RegKeyInfo> info = registry.regQueryInfoKey(drivers->get());
  if (!info) return std::nullopt;
  for (plat::Dword index = 0; index < info->subKeys; ++index) {
    const plat::Result<std::wstring> driver =
        registry.regEnumKeyEx(drivers->get(), index, kDriverNameChars);
    if (!driver || !isMakerDriverName(*driver)) continue;
    const auto key = plat::openKey(registry, drivers->get(), *driver, plat::kKeyRead);
    if (!key) continue;
    // A value that is missing or does not fit the buffer tells nothing.
    const plat::Result<plat::RegValue> value =
        registry.regQueryValueEx(key->get(), L"DriverVersion", kVersionValueBytes);
    if (!value) continue;
    std::wstring text = versionText(*value);
    if (text != kNoDriverVersion) return text;
  }
  return std::nullopt;
}

std::wstring trimmed(const std::wstring& text) {
  const std::size_t first = text.find_first_not_of(kBlanks);
  if (first == std::wstring::npos) return {};
  return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

// The DriverVer version of the highest-numbered oem INF file of the maker,
// or `found` when there is none.
std::wstring infDriverVersion(std::wstring found) {
  const plat::Result<std::wstring> windows =
      plat::ports().shell().shGetFolderPath(plat::kCsidlWindows, plat::kShgfpTypeCurrent);
  if (!windows) return found;
  const std::wstring folder = (*windows + L"\\inf").substr(0, kInfFolderChars);
  plat::FilePort& files = plat::ports().files();
  for (int number = 0; number <= kLastOemNumber; ++number) {
    const std::wstring file = folder + L"\\oem" + std::to_wstring(number) + L".inf";
    const std::wstring catalog =
        files.getPrivateProfileString(L"Version", L"CatalogFile", L"", file, kProfileValueChars);
    if (catalog != L"Corvantis.cat" && catalog != L"Veltrane.cat") continue;
    const std::wstring driverVer =
        files.getPrivateProfileString(L"Version", L"DriverVer", L"", file, kProfileValueChars);
    if (driverVer.empty()) continue;
    const std::wstring text = trimmed(driverVer);
    const std::size_t comma = text.rfind(L',');
    found = comma == std::wstring::npos ? text : text.substr(comma + 1);
  }
  return found;
}

// The leading decimal number of `text` as the C runtime's text-to-integer
// conversion reads it: blanks and a sign first, then digits up to the
// first other character, 0 without digits, held at the ends of int.
int leadingInteger(const std::wstring& text) {
  std::size_t at = 0;
  while (at < text.size() && std::iswspace(static_cast<wint_t>(text[at])) != 0) ++at;
  bool negative = false;
  if (at < text.size() && (text[at] == L'+' || text[at] == L'-')) negative = text[at++] == L'-';
  std::int64_t value = 0;
  for (; at < text.size() && text[at] >= L'0' && text[at] <= L'9'; ++at) {
    value = std::min<std::int64_t>(value * 10 + (text[at] - L'0'), std::int64_t{INT_MAX} + 1);
  }
  if (negative) value = -value;
  return static_cast<int>(std::clamp<std::int64_t>(value, INT_MIN, INT_MAX));
}

// The parts of a dotted version: an empty part is 0, an empty text one 0.
std::vector<int> versionParts(const std::wstring& text) {
  std::vector<int> parts;
  std::wstring rest = text + L".";
  while (!rest.empty()) {
    const std::size_t dot = rest.find(L'.');
    parts.push_back(leadingInteger(rest.substr(0, dot)));
    rest.erase(0, dot + 1);
  }
  return parts;
}

}  // namespace

std::wstring getPackageDriverVersion() {
  return kPackageDriverVersion;
}

std::wstring getPackageDriverDate() {
  return kPackageDriverDate;
}

std::wstring packageVersionDisplayText() {
  const std::wstring version = kPackageDriverVersion;
  const std::size_t second = version.find(L'.', version.find(L'.') + 1);
  const std::size_t third = version.find(L'.', second + 1);
  return version.substr(0, second) + L" M-" + version.substr(second + 1, third - second - 1);
}

int compareDriverVersions(const std::wstring& packaged, const std::wstring& installed) {
  const std::vector<int> ours = versionParts(packaged);
  const std::vector<int> theirs = versionParts(installed);
  if (ours.size() != theirs.size()) return ours.size() > theirs.size() ? 1 : -1;
  for (std::size_t i = 0; i < ours.size(); ++i) {
    if (ours[i] != theirs[i]) return ours[i] > theirs[i] ? 1 : -1;
  }
  return 0;
}

std::wstring CDriverEngine::getInstalledDriverVersion() const {
  if (auto version = registryDriverVersion(versionKey())) return *version;
  return infDriverVersion(kNoDriverVersion);
}

}  // namespace brisvane
