#include "platform/sim/model/file_system.h"

#include <algorithm>
#include <cwctype>

namespace plat::sim {

namespace {

constexpr wchar_t kInvalidNameCharacters[] = L"<>:\"|?*";

}  // namespace

bool isInside(const std::wstring& path, const std::wstring& folder) {
  const std::wstring key = pathKey(path);
  const std::wstring folderKey = pathKey(folder);
  return key == folderKey || (key.size() > folderKey.size() && key.rfind(folderKey, 0) == 0 &&
                              key[folderKey.size()] == L'\\');
}

// ---------------------------------------------------------------------------
// Paths

std::wstring pathKey(const std::wstring& path) {
  // NTFS compares names through its upper-case table; for the names this
  // machine holds, the C library's table is the same.
  std::wstring key = path;
  for (wchar_t& c : key) c = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
  return key;
}

std::optional<std::wstring> fullPath(const std::wstring& path,
                                     const std::wstring& currentDirectory) {
  std::wstring text = path;
  std::replace(text.begin(), text.end(), L'/', L'\\');
  if (text.empty() || text.rfind(L"\\\\", 0) == 0) return std::nullopt;
  if (text.size() >= 2 && text[1] == L':') {
    if (std::iswalpha(static_cast<wint_t>(text[0])) == 0) return std::nullopt;
    if (text.size() == 2 || text[2] != L'\\') return std::nullopt;  // drive-relative
  } else if (text[0] == L'\\') {
    text = currentDirectory.substr(0, 2) + text;
  } else {
    text = currentDirectory + L"\\" + text;
  }
  std::vector<std::wstring> parts;
  std::size_t start = 3;
  while (start <= text.size()) {
    std::size_t end = text.find(L'\\', start);
    if (end == std::wstring::npos) end = text.size();
    const std::wstring part = text.substr(start, end - start);
    start = end + 1;
    if (part.empty() || part == L".") continue;
    if (part == L"..") {
      if (!parts.empty()) parts.pop_back();
      continue;
    }
    if (part.find_first_of(kInvalidNameCharacters) != std::wstring::npos ||
        std::any_of(part.begin(), part.end(), [](wchar_t c) { return c < 0x20; })) {
      return std::nullopt;
    }
    parts.push_back(part);
  }
  std::wstring out;
  out += static_cast<wchar_t>(std::towupper(static_cast<wint_t>(text[0])));
  out += L":";
  for (const auto& part : parts) out += L"\\" + part;
  return parts.empty() ? out + L"\\" : out;
}

std::optional<std::wstring> parentOf(const std::wstring& path) {
  const std::size_t slash = path.find_last_of(L'\\');
  if (slash == std::wstring::npos || slash + 1 == path.size()) return std::nullopt;
  return slash == 2 ? path.substr(0, 3) : path.substr(0, slash);
}

// ---------------------------------------------------------------------------
// The disk

std::vector<FileEntry> defaultFiles(const OsProfile& os) {
  std::vector<std::wstring> folders = {
      L"C:\\Windows",           L"C:\\Windows\\inf",
      L"C:\\Windows\\System32", L"C:\\Windows\\System32\\spool\\drivers\\W32X86\\3",
      L"C:\\Program Files",     L"C:\\Users\\User\\Desktop",
  };
  if (os.is64Bit) {
    folders.emplace_back(L"C:\\Windows\\SysWOW64");
    folders.emplace_back(L"C:\\Windows\\System32\\spool\\drivers\\x64\\3");
    folders.emplace_back(L"C:\\Program Files (x86)");
  }
  std::vector<FileEntry> entries;
  entries.reserve(folders.size());
  for (auto& folder : folders) entries.push_back({std::move(folder), true, 0, {}});
  return entries;
}

FileSystem::FileSystem(const MachineConfig& config) {
  add({L"C:\\", true, 0, {}});  // the system drive's root is always there
  for (const FileEntry& entry : config.files ? *config.files : defaultFiles(config.os)) {
    add(entry);
  }
}

FileSystem::Node* FileSystem::find(const std::wstring& path) {
  const auto found = nodes_.find(pathKey(path));
  return found == nodes_.end() ? nullptr : &found->second;
}

const FileSystem::Node* FileSystem::find(const std::wstring& path) const {
  const auto found = nodes_.find(pathKey(path));
  return found == nodes_.end() ? nullptr : &found->second;
}

FileSystem::Node& FileSystem::add(FileEntry entry) {
  if (const auto parent = parentOf(entry.path); parent && find(*parent) == nullptr) {
    add({*parent, true, 0, {}});
  }
  Node& node = nodes_[pathKey(entry.path)];
  node.entry = std::move(entry);
  return node;
}

void FileSystem::remove(const std::wstring& path) {
  nodes_.erase(pathKey(path));
}

std::vector<FileEntry> FileSystem::entries() const {
  std::vector<FileEntry> out;
  for (const auto& [key, node] : nodes_) out.push_back(node.entry);
  return out;
}

std::vector<FileEntry> FileSystem::entriesIn(const std::wstring& folder) const {
  std::vector<FileEntry> out;
  for (const auto& [key, node] : nodes_) {
    if (node.entry.path.size() > folder.size() && isInside(node.entry.path, folder)) {
      out.push_back(node.entry);
    }
  }
  return out;
}

}  // namespace plat::sim
