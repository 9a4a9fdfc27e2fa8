// The file port of a simulated process.
#pragma once

#include <optional>
#include <string>

#include "platform/api/file_port.h"

namespace plat::sim {

class SimProcess;

// Where a path of `process` lands: made absolute against its current
// directory and, for a 32-bit process on 64-bit Windows whose thread has
// not switched redirection off, System32 read as SysWOW64.
std::optional<std::wstring> resolvePath(const SimProcess& process, const std::wstring& path);

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

}  // namespace plat::sim
