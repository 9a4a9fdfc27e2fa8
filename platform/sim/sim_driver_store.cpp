#include "platform/sim/sim_driver_store.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cwctype>
#include <optional>

#include "platform/sim/sim_profile.h"

namespace plat::sim {

namespace {

// The largest oem number the store hands out.
constexpr int kMaxOemNumber = 9999;

std::wstring oemPath(int number, const wchar_t* extension) {
  return std::wstring(kInfFolder) + L"\\oem" + std::to_wstring(number) + extension;
}

std::wstring fileName(const std::wstring& path) {
  const std::size_t slash = path.rfind(L'\\');
  return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

std::wstring lowerCase(std::wstring text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); });
  return text;
}

// FNV-1a over the INF bytes, as sixteen hex digits.
std::wstring contentHash(const std::vector<std::uint8_t>& contents) {
  constexpr std::uint64_t kOffset = 14695981039346656037ULL;
  constexpr std::uint64_t kPrime = 1099511628211ULL;
  std::uint64_t hash = kOffset;
  for (const std::uint8_t byte : contents) hash = (hash ^ byte) * kPrime;
  wchar_t text[17] = {};
  std::swprintf(text, 17, L"%016llx", static_cast<unsigned long long>(hash));
  return text;
}

// The oem INF whose bytes equal `contents`, if the package is staged.
std::optional<int> stagedNumber(const FileSystem& disk, const std::vector<std::uint8_t>& contents) {
  for (int number = 0; number <= kMaxOemNumber; ++number) {
    const FileSystem::Node* node = disk.find(oemPath(number, L".inf"));
    if (node != nullptr && !node->entry.isFolder && node->entry.contents == contents) {
      return number;
    }
  }
  return std::nullopt;
}

std::optional<int> freeNumber(const FileSystem& disk) {
  for (int number = 0; number <= kMaxOemNumber; ++number) {
    if (disk.find(oemPath(number, L".inf")) == nullptr) return number;
  }
  return std::nullopt;
}

CopyOemInfResult reply(const std::wstring& destination, Dword error, Dword destinationChars) {
  if (destination.size() + 1 > destinationChars) return {L"", kErrorInsufficientBuffer};
  return {destination, error};
}

}  // namespace

std::vector<std::wstring> infDriverNames(const std::vector<std::uint8_t>& contents) {
  std::vector<std::wstring> names;
  const std::wstring text = profileText(contents);
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find(L'\n', start);
    if (end == std::wstring::npos) end = text.size();
    const std::wstring line = text.substr(start, end - start);
    start = end + 1;
    const std::size_t first = line.find_first_not_of(L" \t");
    if (first == std::wstring::npos || line[first] != L'"') continue;
    const std::size_t close = line.find(L'"', first + 1);
    if (close == std::wstring::npos) continue;
    if (line.find(L'=', close) == std::wstring::npos) continue;
    names.push_back(line.substr(first + 1, close - first - 1));
  }
  return names;
}

CopyOemInfResult stageDriverPackage(FileSystem& disk, const OsProfile& os,
                                    const std::wstring& source, Dword copyStyle,
                                    Dword destinationChars) {
  if (!os.isAdministrator) return {L"", kErrorAccessDenied};
  const FileSystem::Node* node = disk.find(source);
  if (node == nullptr || node->entry.isFolder) return {L"", kErrorFileNotFound};
  const std::vector<std::uint8_t> contents = node->entry.contents;
  if (const auto staged = stagedNumber(disk, contents)) {
    const Dword error = (copyStyle & kSpCopyNoOverwrite) != 0 ? kErrorFileExists : kErrorSuccess;
    return reply(oemPath(*staged, L".inf"), error, destinationChars);
  }
  const auto number = freeNumber(disk);
  if (!number) return {L"", kErrorDiskFull};
  const std::wstring destination = oemPath(*number, L".inf");
  if (destination.size() + 1 > destinationChars) return {L"", kErrorInsufficientBuffer};
  disk.add({destination, false, 0, contents});
  disk.add({oemPath(*number, L".PNF"), false, 0, {}});
  const std::wstring folder = std::wstring(kFileRepository) + L"\\" + lowerCase(fileName(source)) +
                              (os.is64Bit ? L"_amd64_" : L"_x86_") + contentHash(contents);
  disk.add({folder + L"\\" + fileName(source), false, 0, contents});
  return {destination, kErrorSuccess};
}

Dword removeDriverPackage(FileSystem& disk, const OsProfile& os, const std::wstring& inf,
                          const std::vector<std::wstring>& installedDrivers) {
  if (!os.isAdministrator) return kErrorAccessDenied;
  const FileSystem::Node* node = disk.find(inf);
  if (node == nullptr || node->entry.isFolder) return kErrorFileNotFound;
  const std::vector<std::uint8_t> contents = node->entry.contents;
  for (const std::wstring& name : infDriverNames(contents)) {
    const bool installed =
        std::any_of(installedDrivers.begin(), installedDrivers.end(),
                    [&](const std::wstring& driver) { return pathKey(driver) == pathKey(name); });
    if (installed) return kErrorPrinterDriverPackageInUse;
  }
  if (const auto folder = parentOf(inf)) {
    for (const FileEntry& entry : disk.entriesIn(*folder)) disk.remove(entry.path);
    disk.remove(*folder);
  }
  if (const auto staged = stagedNumber(disk, contents)) {
    disk.remove(oemPath(*staged, L".inf"));
    disk.remove(oemPath(*staged, L".PNF"));
  }
  return kErrorSuccess;
}

}  // namespace plat::sim
