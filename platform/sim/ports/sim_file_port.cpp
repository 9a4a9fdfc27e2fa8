// The file port of a simulated process: files and folders on the machine's
// disk, profile (INI) files, the system directory and WOW64 file-system
// redirection.
#include "platform/sim/ports/sim_file_port.h"

#include <algorithm>
#include <cwctype>

#include "platform/sim/model/profile_text.h"
#include "platform/sim/sim_process.h"

namespace plat::sim {

struct OpenFile : KernelObject {
  std::wstring path;
  Dword access = 0;
  Dword share = 0;
  std::uint64_t position = 0;
};

namespace {

constexpr wchar_t kSystem32[] = L"C:\\Windows\\System32";
constexpr wchar_t kSysWow64[] = L"C:\\Windows\\SysWOW64";
// Subfolders of System32 that WOW64 does not redirect.
constexpr const wchar_t* kRedirectionExempt[] = {L"catroot",      L"catroot2", L"driverstore",
                                                 L"drivers\\etc", L"logfiles", L"spool"};
// Folders whose contents only administrators may change.
constexpr const wchar_t* kProtectedFolders[] = {L"C:\\Windows", L"C:\\Program Files",
                                                L"C:\\Program Files (x86)"};

bool isWow64Process(const SimProcess& process) {
  return process.machine.config.os.is64Bit && !process.image.is64Bit;
}

bool mayChange(const SimProcess& process, const std::wstring& path) {
  if (process.machine.config.os.isAdministrator) return true;
  return std::none_of(std::begin(kProtectedFolders), std::end(kProtectedFolders),
                      [&](const wchar_t* folder) { return isInside(path, folder); });
}

bool allows(Dword share, Dword access) {
  if ((access & kGenericRead) != 0 && (share & kFileShareRead) == 0) return false;
  return (access & kGenericWrite) == 0 || (share & kFileShareWrite) != 0;
}

std::vector<std::shared_ptr<OpenFile>> openHandles(FileSystem::Node& node) {
  std::vector<std::shared_ptr<OpenFile>> open;
  std::erase_if(node.opens, [](const std::weak_ptr<OpenFile>& w) { return w.expired(); });
  for (const auto& weak : node.opens) open.push_back(weak.lock());
  return open;
}

std::shared_ptr<OpenFile> openFile(SimProcess& process, FileHandle handle) {
  const auto found = process.handles.find(handle);
  if (found == process.handles.end()) return nullptr;
  return std::dynamic_pointer_cast<OpenFile>(found->second);
}

// The missing-path error for `path`: the file, or a folder on the way.
Dword missingError(const FileSystem& disk, const std::wstring& path) {
  const auto parent = parentOf(path);
  return parent && disk.find(*parent) == nullptr ? kErrorPathNotFound : kErrorFileNotFound;
}

}  // namespace

std::optional<std::wstring> resolvePath(const SimProcess& process, const std::wstring& path) {
  auto full = fullPath(path, process.directory);
  if (!full || !isWow64Process(process) || !isInside(*full, kSystem32)) return full;
  if (process.machine.disk.redirectionOff.count(currentThread()) != 0) return full;
  const std::wstring rest = full->substr(std::wstring(kSystem32).size());
  for (const wchar_t* exempt : kRedirectionExempt) {
    if (isInside(*full, std::wstring(kSystem32) + L"\\" + exempt)) return full;
  }
  return kSysWow64 + rest;
}

Result<OpenedFile> SimFilePort::createFile(const std::wstring& path, Dword desiredAccess,
                                           Dword shareMode, Dword creationDisposition,
                                           Dword flagsAndAttributes) {
  std::scoped_lock lock(process_.machine.mutex);
  MachineState& machine = process_.machine;
  if (const auto fault = machine.takeFault("CreateFileW")) return Failure{*fault};
  const auto full = resolvePath(process_, path);
  if (!full) return Failure{kErrorInvalidName};
  if (creationDisposition < kCreateNew || creationDisposition > kTruncateExisting) {
    return Failure{kErrorInvalidParameter};
  }
  FileSystem::Node* node = machine.disk.find(*full);
  const bool existed = node != nullptr;
  const bool truncates =
      creationDisposition == kCreateAlways || creationDisposition == kTruncateExisting;
  if (existed) {
    if (node->entry.isFolder) return Failure{kErrorAccessDenied};
    if (creationDisposition == kCreateNew) return Failure{kErrorFileExists};
    const bool readOnly = (node->entry.attributes & kFileAttributeReadOnly) != 0;
    if (((desiredAccess & kGenericWrite) != 0 || truncates) &&
        (readOnly || !mayChange(process_, *full))) {
      return Failure{kErrorAccessDenied};
    }
    for (const auto& open : openHandles(*node)) {
      if (!allows(open->share, desiredAccess) || !allows(shareMode, open->access)) {
        return Failure{kErrorSharingViolation};
      }
    }
    if (truncates) node->entry.contents.clear();
  } else {
    if (creationDisposition == kOpenExisting || creationDisposition == kTruncateExisting) {
      return Failure{missingError(machine.disk, *full)};
    }
    const auto parent = parentOf(*full);
    const FileSystem::Node* folder = parent ? machine.disk.find(*parent) : nullptr;
    if (folder == nullptr || !folder->entry.isFolder) return Failure{kErrorPathNotFound};
    if (!mayChange(process_, *full)) return Failure{kErrorAccessDenied};
    const Dword attributes = flagsAndAttributes & (kFileAttributeReadOnly | kFileAttributeHidden |
                                                   kFileAttributeArchive);
    node = &machine.disk.add({*full, false, attributes, {}});
  }
  auto open = std::make_shared<OpenFile>();
  open->path = node->entry.path;
  open->access = desiredAccess;
  open->share = shareMode;
  node->opens.push_back(open);
  const bool reportsExisting =
      existed && (creationDisposition == kCreateAlways || creationDisposition == kOpenAlways);
  return OpenedFile{process_.addHandle(open), reportsExisting};
}

Result<Dword> SimFilePort::writeFile(FileHandle file, std::span<const std::uint8_t> bytes) {
  std::scoped_lock lock(process_.machine.mutex);
  const auto open = openFile(process_, file);
  if (!open) return Failure{kErrorInvalidHandle};
  if ((open->access & kGenericWrite) == 0) return Failure{kErrorAccessDenied};
  if (const auto fault = process_.machine.takeFault("WriteFile")) return Failure{*fault};
  FileSystem::Node* node = process_.machine.disk.find(open->path);
  if (node == nullptr) return Failure{kErrorAccessDenied};
  std::vector<std::uint8_t>& contents = node->entry.contents;
  if (contents.size() < open->position + bytes.size()) {
    contents.resize(open->position + bytes.size());
  }
  std::copy(bytes.begin(), bytes.end(),
            contents.begin() + static_cast<std::ptrdiff_t>(open->position));
  open->position += bytes.size();
  return static_cast<Dword>(bytes.size());
}

Result<std::vector<std::uint8_t>> SimFilePort::readFile(FileHandle file, Dword maxBytes) {
  std::scoped_lock lock(process_.machine.mutex);
  const auto open = openFile(process_, file);
  if (!open) return Failure{kErrorInvalidHandle};
  if ((open->access & kGenericRead) == 0) return Failure{kErrorAccessDenied};
  if (const auto fault = process_.machine.takeFault("ReadFile")) return Failure{*fault};
  const FileSystem::Node* node = process_.machine.disk.find(open->path);
  if (node == nullptr) return Failure{kErrorAccessDenied};
  const std::vector<std::uint8_t>& contents = node->entry.contents;
  const std::uint64_t start = std::min<std::uint64_t>(open->position, contents.size());
  const std::uint64_t end = std::min<std::uint64_t>(start + maxBytes, contents.size());
  open->position = end;
  return std::vector<std::uint8_t>(contents.begin() + static_cast<std::ptrdiff_t>(start),
                                   contents.begin() + static_cast<std::ptrdiff_t>(end));
}

Result<std::uint64_t> SimFilePort::getFileSize(FileHandle file) {
  std::scoped_lock lock(process_.machine.mutex);
  const auto open = openFile(process_, file);
  if (!open) return Failure{kErrorInvalidHandle};
  const FileSystem::Node* node = process_.machine.disk.find(open->path);
  return std::uint64_t{node != nullptr ? node->entry.contents.size() : 0};
}

Result<std::uint64_t> SimFilePort::setFilePointer(FileHandle file, std::int64_t distance,
                                                  Dword moveMethod) {
  std::scoped_lock lock(process_.machine.mutex);
  const auto open = openFile(process_, file);
  if (!open) return Failure{kErrorInvalidHandle};
  const FileSystem::Node* node = process_.machine.disk.find(open->path);
  const auto size = static_cast<std::int64_t>(node != nullptr ? node->entry.contents.size() : 0);
  std::int64_t base = 0;
  if (moveMethod == kFileCurrent) {
    base = static_cast<std::int64_t>(open->position);
  } else if (moveMethod == kFileEnd) {
    base = size;
  } else if (moveMethod != kFileBegin) {
    return Failure{kErrorInvalidParameter};
  }
  if (base + distance < 0) return Failure{kErrorNegativeSeek};
  open->position = static_cast<std::uint64_t>(base + distance);
  return open->position;
}

Dword SimFilePort::setEndOfFile(FileHandle file) {
  std::scoped_lock lock(process_.machine.mutex);
  const auto open = openFile(process_, file);
  if (!open) return kErrorInvalidHandle;
  if ((open->access & kGenericWrite) == 0) return kErrorAccessDenied;
  if (const auto fault = process_.machine.takeFault("SetEndOfFile")) return *fault;
  FileSystem::Node* node = process_.machine.disk.find(open->path);
  if (node == nullptr) return kErrorAccessDenied;
  node->entry.contents.resize(open->position);
  return kErrorSuccess;
}

Dword SimFilePort::flushFileBuffers(FileHandle file) {
  std::scoped_lock lock(process_.machine.mutex);
  const auto open = openFile(process_, file);
  if (!open) return kErrorInvalidHandle;
  if (const auto fault = process_.machine.takeFault("FlushFileBuffers")) return *fault;
  return kErrorSuccess;
}

Dword SimFilePort::closeFile(FileHandle file) {
  std::scoped_lock lock(process_.machine.mutex);
  if (!openFile(process_, file)) return kErrorInvalidHandle;
  process_.handles.erase(file);
  return kErrorSuccess;
}

Result<Dword> SimFilePort::getFileAttributes(const std::wstring& path) {
  std::scoped_lock lock(process_.machine.mutex);
  const FileSystem& disk = process_.machine.disk;
  if (const auto fault = process_.machine.takeFault("GetFileAttributesW")) return Failure{*fault};
  const auto full = resolvePath(process_, path);
  if (!full) return Failure{kErrorInvalidName};
  const FileSystem::Node* node = disk.find(*full);
  if (node == nullptr) return Failure{missingError(disk, *full)};
  if (node->entry.isFolder) return kFileAttributeDirectory | node->entry.attributes;
  return node->entry.attributes != 0 ? node->entry.attributes : kFileAttributeNormal;
}

Dword SimFilePort::deleteFile(const std::wstring& path) {
  std::scoped_lock lock(process_.machine.mutex);
  FileSystem& disk = process_.machine.disk;
  if (const auto fault = process_.machine.takeFault("DeleteFileW")) return *fault;
  const auto full = resolvePath(process_, path);
  if (!full) return kErrorInvalidName;
  FileSystem::Node* node = disk.find(*full);
  if (node == nullptr) return missingError(disk, *full);
  if (node->entry.isFolder || (node->entry.attributes & kFileAttributeReadOnly) != 0 ||
      !mayChange(process_, *full)) {
    return kErrorAccessDenied;
  }
  for (const auto& open : openHandles(*node)) {
    if ((open->share & kFileShareDelete) == 0) return kErrorSharingViolation;
  }
  disk.remove(*full);
  return kErrorSuccess;
}

Dword SimFilePort::createDirectory(const std::wstring& path) {
  std::scoped_lock lock(process_.machine.mutex);
  FileSystem& disk = process_.machine.disk;
  if (const auto fault = process_.machine.takeFault("CreateDirectoryW")) return *fault;
  const auto full = resolvePath(process_, path);
  if (!full) return kErrorInvalidName;
  if (disk.find(*full) != nullptr) return kErrorAlreadyExists;
  const auto parent = parentOf(*full);
  const FileSystem::Node* folder = parent ? disk.find(*parent) : nullptr;
  if (folder == nullptr || !folder->entry.isFolder) return kErrorPathNotFound;
  if (!mayChange(process_, *full)) return kErrorAccessDenied;
  disk.add({*full, true, 0, {}});
  return kErrorSuccess;
}

bool SimFilePort::pathIsDirectory(const std::wstring& path) {
  std::scoped_lock lock(process_.machine.mutex);
  const auto full = resolvePath(process_, path);
  const FileSystem::Node* node = full ? process_.machine.disk.find(*full) : nullptr;
  return node != nullptr && node->entry.isFolder;
}

bool SimFilePort::pathFileExists(const std::wstring& path) {
  std::scoped_lock lock(process_.machine.mutex);
  const auto full = resolvePath(process_, path);
  return full && process_.machine.disk.find(*full) != nullptr;
}

namespace {

// Whether `name` matches the wildcard pattern (`*` any run, `?` one
// character), without regard to case.
bool matchesWildcard(const std::wstring& name, const std::wstring& pattern) {
  const std::wstring text = pathKey(name);
  const std::wstring wild = pathKey(pattern);
  std::size_t t = 0;
  std::size_t w = 0;
  std::size_t starAt = std::wstring::npos;
  std::size_t resumeAt = 0;
  while (t < text.size()) {
    if (w < wild.size() && (wild[w] == L'?' || wild[w] == text[t])) {
      ++t;
      ++w;
    } else if (w < wild.size() && wild[w] == L'*') {
      starAt = w++;
      resumeAt = t;
    } else if (starAt != std::wstring::npos) {
      w = starAt + 1;
      t = ++resumeAt;
    } else {
      return false;
    }
  }
  while (w < wild.size() && wild[w] == L'*') ++w;
  return w == wild.size();
}

}  // namespace

Result<std::vector<std::wstring>> SimFilePort::findFiles(const std::wstring& pattern) {
  std::scoped_lock lock(process_.machine.mutex);
  if (const auto fault = process_.machine.takeFault("FindFirstFileW")) return Failure{*fault};
  const std::size_t slash = pattern.find_last_of(L"\\/");
  if (slash == std::wstring::npos) return Failure{kErrorInvalidName};
  const auto folder = resolvePath(process_, pattern.substr(0, slash));
  if (!folder) return Failure{kErrorInvalidName};
  const FileSystem& disk = process_.machine.disk;
  const FileSystem::Node* node = disk.find(*folder);
  if (node == nullptr || !node->entry.isFolder) return Failure{kErrorPathNotFound};
  std::vector<std::wstring> found;
  const std::wstring wild = pattern.substr(slash + 1);
  const std::size_t prefix = folder->size() + (folder->back() == L'\\' ? 0 : 1);
  for (const FileEntry& entry : disk.entriesIn(*folder)) {
    const std::wstring name = entry.path.substr(prefix);
    if (name.find(L'\\') == std::wstring::npos && matchesWildcard(name, wild)) {
      found.push_back(name);
    }
  }
  if (found.empty()) return Failure{kErrorFileNotFound};
  return found;
}

namespace {

// A profile file named without a folder lies in the Windows folder.
std::optional<std::wstring> profilePath(const SimProcess& process, const std::wstring& file) {
  if (file.empty()) return std::nullopt;
  const bool hasFolder = file.find_first_of(L"\\/") != std::wstring::npos;
  return resolvePath(process, hasFolder ? file : L"C:\\Windows\\" + file);
}

}  // namespace

std::uint32_t SimFilePort::getPrivateProfileInt(const std::wstring& section,
                                                const std::wstring& key, int defaultValue,
                                                const std::wstring& file) {
  std::scoped_lock lock(process_.machine.mutex);
  const auto full = profilePath(process_, file);
  const FileSystem::Node* node = full ? process_.machine.disk.find(*full) : nullptr;
  const auto fallback = static_cast<std::uint32_t>(defaultValue);
  if (node == nullptr || node->entry.isFolder) return fallback;
  const auto value = profileValue(node->entry.contents, section, key);
  return value && !value->empty() ? profileInteger(*value) : fallback;
}

std::wstring SimFilePort::getPrivateProfileString(const std::wstring& section,
                                                  const std::wstring& key,
                                                  const std::wstring& defaultValue,
                                                  const std::wstring& file, Dword bufferChars) {
  std::scoped_lock lock(process_.machine.mutex);
  if (process_.machine.takeFault("GetPrivateProfileStringW")) return {};
  const auto full = profilePath(process_, file);
  const FileSystem::Node* node = full ? process_.machine.disk.find(*full) : nullptr;
  std::optional<std::wstring> value;
  if (node != nullptr && !node->entry.isFolder) {
    value = profileValue(node->entry.contents, section, key);
  }
  // The default loses its trailing blanks, as the real call's does.
  std::wstring fallback = defaultValue;
  fallback.erase(fallback.find_last_not_of(L' ') + 1);
  std::wstring text = value.value_or(fallback);
  if (bufferChars == 0) return {};
  if (text.size() >= bufferChars) text.resize(bufferChars - 1);
  return text;
}

Dword SimFilePort::writePrivateProfileString(const std::wstring& section, const std::wstring& key,
                                             const std::wstring& value, const std::wstring& file) {
  std::scoped_lock lock(process_.machine.mutex);
  FileSystem& disk = process_.machine.disk;
  if (const auto fault = process_.machine.takeFault("WritePrivateProfileStringW")) return *fault;
  const auto full = profilePath(process_, file);
  if (!full) return kErrorFileNotFound;
  FileSystem::Node* node = disk.find(*full);
  if (node == nullptr) {
    const auto parent = parentOf(*full);
    const FileSystem::Node* folder = parent ? disk.find(*parent) : nullptr;
    if (folder == nullptr || !folder->entry.isFolder) return kErrorPathNotFound;
  } else if (node->entry.isFolder || (node->entry.attributes & kFileAttributeReadOnly) != 0) {
    return kErrorAccessDenied;
  }
  if (!mayChange(process_, *full)) return kErrorAccessDenied;
  if (node == nullptr) node = &disk.add({*full, false, 0, {}});
  node->entry.contents = withProfileValue(node->entry.contents, section, key, value);
  return kErrorSuccess;
}

std::wstring SimFilePort::getSystemDirectory() {
  std::scoped_lock lock(process_.machine.mutex);
  if (process_.machine.takeFault("GetSystemDirectoryW")) return {};
  // The same text for every process: WOW64 redirects the accesses, not the
  // name.
  return L"C:\\Windows\\system32";
}

Result<std::uintptr_t> SimFilePort::wow64DisableFsRedirection() {
  std::scoped_lock lock(process_.machine.mutex);
  if (const auto fault = process_.machine.takeFault("Wow64DisableWow64FsRedirection")) {
    return Failure{*fault};
  }
  if (!isWow64Process(process_)) return Failure{kErrorInvalidFunction};
  const bool wasOff = process_.machine.disk.redirectionOff.insert(currentThread()).second == false;
  return std::uintptr_t{wasOff ? 1U : 0U};
}

Dword SimFilePort::wow64RevertFsRedirection(std::uintptr_t oldValue) {
  std::scoped_lock lock(process_.machine.mutex);
  if (!isWow64Process(process_)) return kErrorInvalidFunction;
  if (oldValue == 0) process_.machine.disk.redirectionOff.erase(currentThread());
  return kErrorSuccess;
}

}  // namespace plat::sim
