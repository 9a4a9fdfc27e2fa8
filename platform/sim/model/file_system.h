// The simulated machine's disk: folders and files with their attributes
// and contents, and the open handles on each.
//
// Paths are compared without regard to case, as NTFS does for the Win32
// calls. A 32-bit process on 64-bit Windows sees System32 through WOW64
// file-system redirection unless its thread has switched it off.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/api/file_port.h"
#include "platform/sim/machine_config.h"

namespace plat::sim {

struct SimThread;

// One open file handle.
struct OpenFile;

class FileSystem {
 public:
  struct Node {
    FileEntry entry;
    std::vector<std::weak_ptr<OpenFile>> opens;
  };

  explicit FileSystem(const MachineConfig& config);

  // `path` is a full path as `fullPath` makes it.
  Node* find(const std::wstring& path);
  [[nodiscard]] const Node* find(const std::wstring& path) const;
  // Adds a folder or file; its missing parent folders come with it.
  Node& add(FileEntry entry);
  void remove(const std::wstring& path);

  // Every folder and file, parents first; or those inside `folder`.
  [[nodiscard]] std::vector<FileEntry> entries() const;
  [[nodiscard]] std::vector<FileEntry> entriesIn(const std::wstring& folder) const;

  // Threads that switched WOW64 file-system redirection off.
  std::set<const SimThread*> redirectionOff;

 private:
  std::map<std::wstring, Node> nodes_;  // keyed by the upper-case path
};

// `path` made absolute against `currentDirectory`, with "/" read as "\",
// "." and ".." resolved and the drive letter in upper case; nothing for a
// path that Win32 would reject as a name (UNC paths included).
std::optional<std::wstring> fullPath(const std::wstring& path,
                                     const std::wstring& currentDirectory);
// The upper-case form used to compare paths.
std::wstring pathKey(const std::wstring& path);
// Whether the full path `path` is `folder` or lies inside it.
bool isInside(const std::wstring& path, const std::wstring& folder);
// The folder part of a full path; nothing for a drive root.
std::optional<std::wstring> parentOf(const std::wstring& path);

}  // namespace plat::sim
