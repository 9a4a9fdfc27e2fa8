// The simulated machine's disk and the ports that reach it: files and
// folders, profile (INI) files, known folders, ShellExecute and the printer
// driver directory.
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
#include "platform/api/shell_port.h"
#include "platform/api/spooler_port.h"
#include "platform/sim/machine_config.h"

namespace plat::sim {

class SimProcess;
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
// Where a path of `process` lands: made absolute against its current
// directory and, for a 32-bit process on 64-bit Windows whose thread has
// not switched redirection off, System32 read as SysWOW64.
std::optional<std::wstring> resolvePath(const SimProcess& process, const std::wstring& path);
// The upper-case form used to compare paths.
std::wstring pathKey(const std::wstring& path);
// The folder part of a full path; nothing for a drive root.
std::optional<std::wstring> parentOf(const std::wstring& path);

class SimFilePort final : public FilePort {
 public:
  explicit SimFilePort(SimProcess& process) : process_(process) {}
  Result<OpenedFile> createFile(const std::wstring& path, Dword desiredAccess, Dword shareMode,
                                Dword creationDisposition, Dword flagsAndAttributes) override;
  Result<Dword> writeFile(FileHandle file, std::span<const std::uint8_t> bytes) override;
  Result<std::vector<std::uint8_t>> readFile(FileHandle file, Dword maxBytes) override;
  Result<std::uint64_t> getFileSize(FileHandle file) override;
  Result<std::uint64_t> setFilePointer(FileHandle file, std::int64_t distance,
                                       Dword moveMethod) override;
  Dword setEndOfFile(FileHandle file) override;
  Dword flushFileBuffers(FileHandle file) override;
  Dword closeFile(FileHandle file) override;
  Result<Dword> getFileAttributes(const std::wstring& path) override;
  Dword deleteFile(const std::wstring& path) override;
  Dword createDirectory(const std::wstring& path) override;
  bool pathIsDirectory(const std::wstring& path) override;
  bool pathFileExists(const std::wstring& path) override;
  Result<std::vector<std::wstring>> findFiles(const std::wstring& pattern) override;
  std::uint32_t getPrivateProfileInt(const std::wstring& section, const std::wstring& key,
                                     int defaultValue, const std::wstring& file) override;
  Dword writePrivateProfileString(const std::wstring& section, const std::wstring& key,
                                  const std::wstring& value, const std::wstring& file) override;
  std::wstring getSystemDirectory() override;
  Result<std::uintptr_t> wow64DisableFsRedirection() override;
  Dword wow64RevertFsRedirection(std::uintptr_t oldValue) override;
  std::wstring getPrivateProfileString(const std::wstring& section, const std::wstring& key,
                                       const std::wstring& defaultValue, const std::wstring& file,
                                       Dword bufferChars) override;

 private:
  SimProcess& process_;
};

class SimShellPort final : public ShellPort {
 public:
  explicit SimShellPort(SimProcess& process) : process_(process) {}
  Result<std::wstring> shGetFolderPath(int csidl, Dword flags) override;
  std::intptr_t shellExecute(WindowId owner, const std::wstring& verb, const std::wstring& file,
                             const std::wstring& parameters, const std::wstring& directory,
                             int showCommand) override;

 private:
  SimProcess& process_;
};

class SimSpoolerPort final : public SpoolerPort {
 public:
  explicit SimSpoolerPort(SimProcess& process) : process_(process) {}
  Result<std::wstring> getPrinterDriverDirectory(
      const std::optional<std::wstring>& environment) override;
  Result<std::vector<PrinterInfo2>> enumPrinters(Dword flags) override;
  Result<PrinterId> openPrinter(const std::wstring& name, Dword access) override;
  Result<PrinterInfo2> getPrinter(PrinterId printer) override;
  Dword closePrinter(PrinterId printer) override;
  Result<PrinterId> addPrinter(const PrinterInfo2& info) override;
  Dword deletePrinter(PrinterId printer) override;
  Dword deletePrinterConnection(const std::wstring& name) override;
  Result<std::vector<PrinterDriverInfo>> enumPrinterDrivers(
      const std::optional<std::wstring>& environment) override;
  Result<std::vector<PortInfo>> enumPorts() override;
  Dword deletePrinterDriver(const std::wstring& environment, const std::wstring& name) override;
  Dword deletePrinterDriverEx(const std::wstring& environment, const std::wstring& name,
                              Dword deleteFlags, Dword version) override;
  Dword deletePrinterDriverPackage(const std::wstring& infPath) override;
  Dword addMonitor(const MonitorInfo2& info) override;
  Dword addPrinterDriver(const DriverInfo4& info) override;
  Result<std::vector<JobInfo3>> enumJobs(PrinterId printer, Dword firstJob, Dword count) override;
  Dword setJob(PrinterId printer, Dword jobId, Dword command) override;

 private:
  SimProcess& process_;
};

}  // namespace plat::sim
