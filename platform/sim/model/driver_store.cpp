#include "platform/sim/model/driver_store.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cwctype>
#include <map>
#include <optional>

#include "platform/api/spooler_port.h"
#include "platform/sim/model/profile_text.h"

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

Result<std::wstring> reply(const std::wstring& destination, Dword error, Dword destinationChars) {
  if (destination.size() + 1 > destinationChars) return Failure{kErrorInsufficientBuffer};
  if (error != kErrorSuccess) return {Failure{error}, destination};
  return destination;
}

}  // namespace

namespace {

std::wstring trimmed(const std::wstring& text) {
  const std::size_t first = text.find_first_not_of(L" \t\r");
  if (first == std::wstring::npos) return L"";
  const std::size_t last = text.find_last_not_of(L" \t\r");
  return text.substr(first, last - first + 1);
}

std::wstring unquoted(const std::wstring& text) {
  std::wstring bare = trimmed(text);
  if (bare.size() >= 2 && bare.front() == L'"' && bare.back() == L'"') {
    return bare.substr(1, bare.size() - 2);
  }
  return bare;
}

// One line of an INF with the section it lies in, comments removed.
struct InfLine {
  std::wstring section;
  std::wstring text;
};

std::vector<InfLine> infLines(const std::vector<std::uint8_t>& contents) {
  std::vector<InfLine> lines;
  const std::wstring text = profileText(contents);
  std::wstring section;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find(L'\n', start);
    if (end == std::wstring::npos) end = text.size();
    std::wstring line = text.substr(start, end - start);
    start = end + 1;
    if (const std::size_t comment = line.find(L';'); comment != std::wstring::npos) {
      line.erase(comment);
    }
    line = trimmed(line);
    if (line.empty()) continue;
    if (line.front() == L'[' && line.back() == L']') {
      section = pathKey(line.substr(1, line.size() - 2));
      continue;
    }
    lines.push_back({section, line});
  }
  return lines;
}

// A model line: "\"Corvantis LV31 (203 dpi)\"=IDP.Install,USBPRINT\...".
std::optional<std::pair<std::wstring, std::wstring>> modelLine(const std::wstring& line) {
  if (line.front() != L'"') return std::nullopt;
  const std::size_t close = line.find(L'"', 1);
  if (close == std::wstring::npos) return std::nullopt;
  const std::size_t equals = line.find(L'=', close);
  if (equals == std::wstring::npos) return std::nullopt;
  return std::pair{line.substr(1, close - 1), line.substr(equals + 1)};
}

// "%Corvantis%" through the [Strings] section; other text as it stands.
std::wstring resolved(const std::vector<InfLine>& lines, const std::wstring& token) {
  std::wstring bare = unquoted(token);
  if (bare.size() < 2 || bare.front() != L'%' || bare.back() != L'%') return bare;
  const std::wstring key = pathKey(bare.substr(1, bare.size() - 2));
  for (const InfLine& line : lines) {
    const std::size_t equals = line.text.find(L'=');
    if (line.section == L"STRINGS" && equals != std::wstring::npos &&
        pathKey(trimmed(line.text.substr(0, equals))) == key) {
      return unquoted(line.text.substr(equals + 1));
    }
  }
  return bare;
}

// The fields of an INF value, split at its commas, unquoted.
std::vector<std::wstring> fields(const std::wstring& value) {
  std::vector<std::wstring> out;
  std::size_t start = 0;
  while (true) {
    const std::size_t comma = value.find(L',', start);
    if (comma == std::wstring::npos) {
      out.push_back(unquoted(value.substr(start)));
      return out;
    }
    out.push_back(unquoted(value.substr(start, comma - start)));
    start = comma + 1;
  }
}

// The keys and values of the lines of `section` (an upper-case name).
std::vector<std::pair<std::wstring, std::wstring>> sectionEntries(const std::vector<InfLine>& lines,
                                                                  const std::wstring& section) {
  std::vector<std::pair<std::wstring, std::wstring>> out;
  for (const InfLine& line : lines) {
    const std::size_t equals = line.text.find(L'=');
    if (line.section != section || equals == std::wstring::npos) continue;
    out.emplace_back(trimmed(line.text.substr(0, equals)), line.text.substr(equals + 1));
  }
  return out;
}

std::wstring inFolder(const std::wstring& folder, const std::wstring& name) {
  std::wstring path = folder;
  path += L'\\';
  path += name;
  return path;
}

std::wstring withoutLeadingBackslashes(const std::wstring& path) {
  const std::size_t first = path.find_first_not_of(L'\\');
  return first == std::wstring::npos ? L"" : path.substr(first);
}

// The files of a package besides its INF, relative to the INF's folder:
// each file of [SourceDisksFiles] and of its section for the architecture
// (which wins for a file both name), in the folder its disk has in
// [SourceDisksNames] (the architecture's section where there is one).
std::vector<std::wstring> packageSourceFiles(const std::vector<InfLine>& lines, bool is64Bit) {
  const std::wstring decoration = is64Bit ? L".AMD64" : L".X86";
  auto disks = sectionEntries(lines, L"SOURCEDISKSNAMES" + decoration);
  if (disks.empty()) disks = sectionEntries(lines, L"SOURCEDISKSNAMES");
  std::map<std::wstring, std::pair<std::wstring, std::vector<std::wstring>>> files;
  for (const std::wstring& section :
       {std::wstring(L"SOURCEDISKSFILES"), L"SOURCEDISKSFILES" + decoration}) {
    for (const auto& [name, value] : sectionEntries(lines, section)) {
      files[pathKey(name)] = {unquoted(name), fields(value)};
    }
  }
  std::vector<std::wstring> out;
  for (const auto& [key, file] : files) {
    const auto& [name, where] = file;
    std::wstring folder;
    for (const auto& [disk, value] : disks) {
      const std::vector<std::wstring> description = fields(value);
      if (disk == where[0] && description.size() > 3) folder = description[3];
    }
    if (where.size() > 1 && !where[1].empty()) folder += L"\\" + where[1];
    folder = withoutLeadingBackslashes(folder);
    out.push_back(folder.empty() ? name : inFolder(folder, name));
  }
  return out;
}

}  // namespace

std::vector<std::wstring> infDriverNames(const std::vector<std::uint8_t>& contents) {
  std::vector<std::wstring> names;
  for (const InfLine& line : infLines(contents)) {
    if (const auto model = modelLine(line.text)) names.push_back(model->first);
  }
  return names;
}

std::optional<InfMatch> infMatchFor(const std::vector<std::uint8_t>& contents,
                                    const std::wstring& hardwareId) {
  const std::vector<InfLine> lines = infLines(contents);
  std::optional<InfMatch> match;
  for (const InfLine& line : lines) {
    const auto model = modelLine(line.text);
    if (!model) continue;
    // The install section comes first, then the hardware and compatible ids.
    std::wstring rest = model->second;
    std::size_t comma = rest.find(L',');
    while (comma != std::wstring::npos && !match) {
      const std::size_t next = rest.find(L',', comma + 1);
      const std::wstring id = trimmed(rest.substr(comma + 1, next - comma - 1));
      if (!id.empty() && pathKey(id) == pathKey(hardwareId))
        match = InfMatch{model->first, L"", L""};
      comma = next;
    }
    if (match) break;
  }
  if (!match) return std::nullopt;
  std::wstring provider;
  for (const InfLine& line : lines) {
    const std::size_t equals = line.text.find(L'=');
    if (equals == std::wstring::npos) continue;
    const std::wstring key = pathKey(trimmed(line.text.substr(0, equals)));
    const std::wstring value = line.text.substr(equals + 1);
    if (line.section == L"MANUFACTURER" && match->manufacturer.empty()) {
      match->manufacturer = resolved(lines, line.text.substr(0, equals));
    } else if (line.section == L"VERSION" && key == L"DRIVERVER") {
      const std::size_t date = value.find(L',');
      if (date != std::wstring::npos) match->version = trimmed(value.substr(date + 1));
    } else if (line.section == L"VERSION" && key == L"PROVIDER") {
      provider = resolved(lines, value);
    }
  }
  if (match->manufacturer.empty()) match->manufacturer = provider;
  return match;
}

std::vector<std::vector<std::uint8_t>> stagedInfs(const FileSystem& disk) {
  std::vector<std::vector<std::uint8_t>> out;
  const std::wstring prefix = pathKey(std::wstring(kInfFolder) + L"\\OEM");
  for (const FileEntry& entry : disk.entriesIn(kInfFolder)) {
    const std::wstring key = pathKey(entry.path);
    if (entry.isFolder || key.rfind(prefix, 0) != 0 || key.size() < 4 ||
        key.compare(key.size() - 4, 4, L".INF") != 0 ||
        key.find(L'\\', prefix.size()) != std::wstring::npos) {
      continue;
    }
    out.push_back(entry.contents);
  }
  return out;
}

Result<std::wstring> stageDriverPackage(FileSystem& disk, const OsProfile& os,
                                        const std::wstring& source, Dword copyStyle,
                                        Dword destinationChars) {
  if (!os.isAdministrator) return Failure{kErrorAccessDenied};
  const FileSystem::Node* node = disk.find(source);
  if (node == nullptr || node->entry.isFolder) return Failure{kErrorFileNotFound};
  const std::vector<std::uint8_t> contents = node->entry.contents;
  if (const auto staged = stagedNumber(disk, contents)) {
    const Dword error = (copyStyle & kSpCopyNoOverwrite) != 0 ? kErrorFileExists : kErrorSuccess;
    return reply(oemPath(*staged, L".inf"), error, destinationChars);
  }
  const auto number = freeNumber(disk);
  if (!number) return Failure{kErrorDiskFull};
  const std::wstring destination = oemPath(*number, L".inf");
  if (destination.size() + 1 > destinationChars) return Failure{kErrorInsufficientBuffer};
  // The package's files come along into the store; one that is missing
  // fails the whole staging. Signing is not modelled: the catalog comes
  // along when there is one.
  const std::vector<InfLine> lines = infLines(contents);
  const std::wstring sourceFolder = parentOf(source).value_or(L"");
  std::vector<std::pair<std::wstring, std::vector<std::uint8_t>>> carried;
  for (const std::wstring& relative : packageSourceFiles(lines, os.is64Bit)) {
    const FileSystem::Node* file = disk.find(inFolder(sourceFolder, relative));
    if (file == nullptr || file->entry.isFolder) return Failure{kErrorFileNotFound};
    carried.emplace_back(relative, file->entry.contents);
  }
  for (const auto& [key, value] : sectionEntries(lines, L"VERSION")) {
    if (pathKey(key) != L"CATALOGFILE") continue;
    const std::wstring catalog = withoutLeadingBackslashes(unquoted(value));
    const FileSystem::Node* file = disk.find(inFolder(sourceFolder, catalog));
    if (file != nullptr && !file->entry.isFolder)
      carried.emplace_back(catalog, file->entry.contents);
  }
  disk.add({destination, false, 0, contents});
  disk.add({oemPath(*number, L".PNF"), false, 0, {}});
  const std::wstring folder = std::wstring(kFileRepository) + L"\\" + lowerCase(fileName(source)) +
                              (os.is64Bit ? L"_amd64_" : L"_x86_") + contentHash(contents);
  disk.add({folder + L"\\" + fileName(source), false, 0, contents});
  for (const auto& [relative, bytes] : carried)
    disk.add({inFolder(folder, relative), false, 0, bytes});
  return destination;
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
