// Files and folders (kernel32 and shlwapi), the profile (INI) calls, the
// system directory and WOW64 file-system redirection.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/api/types.h"

namespace plat {

// A file handle; 0 stands for INVALID_HANDLE_VALUE.
using FileHandle = std::uintptr_t;
inline constexpr FileHandle kInvalidFile = 0;

// CreateFileW: the handle and GetLastError read right after the call (183,
// ERROR_ALREADY_EXISTS, after CREATE_ALWAYS or OPEN_ALWAYS found the file).
struct CreateFileResult {
  FileHandle handle = kInvalidFile;
  Dword lastError = kErrorSuccess;
};

// WriteFileW and ReadFile: the bytes moved, and the error when the call
// failed (kErrorSuccess when it succeeded, even for a short transfer).
struct WriteFileResult {
  Dword written = 0;
  Dword error = kErrorSuccess;
};
struct ReadFileResult {
  std::vector<std::uint8_t> bytes;
  Dword error = kErrorSuccess;
};

// GetFileAttributesW and GetFileSizeEx / SetFilePointerEx answers.
struct AttributesResult {
  Dword attributes = kInvalidFileAttributes;
  Dword error = kErrorSuccess;
};
// The names (without folder) that FindFirstFileW and FindNextFileW report
// for a pattern, and ERROR_FILE_NOT_FOUND when nothing matches.
struct FindFilesResult {
  std::vector<std::wstring> names;
  Dword error = kErrorSuccess;
};
struct FilePositionResult {
  std::uint64_t value = 0;
  Dword error = kErrorSuccess;
};

// Wow64DisableWow64FsRedirection: the old value to hand back to the revert.
struct RedirectionResult {
  std::uintptr_t oldValue = 0;
  Dword error = kErrorSuccess;
};

class FilePort {
 public:
  FilePort() = default;
  FilePort(const FilePort&) = delete;
  FilePort& operator=(const FilePort&) = delete;
  virtual ~FilePort() = default;

  virtual CreateFileResult createFile(const std::wstring& path, Dword desiredAccess,
                                      Dword shareMode, Dword creationDisposition,
                                      Dword flagsAndAttributes) = 0;
  virtual WriteFileResult writeFile(FileHandle file, std::span<const std::uint8_t> bytes) = 0;
  virtual ReadFileResult readFile(FileHandle file, Dword maxBytes) = 0;
  virtual FilePositionResult getFileSize(FileHandle file) = 0;
  // SetFilePointerEx: the new position.
  virtual FilePositionResult setFilePointer(FileHandle file, std::int64_t distance,
                                            Dword moveMethod) = 0;
  // SetEndOfFile, FlushFileBuffers and CloseHandle: 0 or the error code.
  virtual Dword setEndOfFile(FileHandle file) = 0;
  virtual Dword flushFileBuffers(FileHandle file) = 0;
  virtual Dword closeFile(FileHandle file) = 0;

  virtual AttributesResult getFileAttributes(const std::wstring& path) = 0;
  // DeleteFileW and CreateDirectoryW (no security attributes): 0 or the
  // error code.
  virtual Dword deleteFile(const std::wstring& path) = 0;
  virtual Dword createDirectory(const std::wstring& path) = 0;
  // PathIsDirectoryW and PathFileExistsW.
  virtual bool pathIsDirectory(const std::wstring& path) = 0;
  virtual bool pathFileExists(const std::wstring& path) = 0;

  // FindFirstFileW, FindNextFileW until it reports no more files, and
  // FindClose: folders and files alike, in the order the system gives.
  virtual FindFilesResult findFiles(const std::wstring& pattern) = 0;

  // GetPrivateProfileIntW and WritePrivateProfileStringW (0 or the error).
  virtual std::uint32_t getPrivateProfileInt(const std::wstring& section, const std::wstring& key,
                                             int defaultValue, const std::wstring& file) = 0;
  virtual Dword writePrivateProfileString(const std::wstring& section, const std::wstring& key,
                                          const std::wstring& value, const std::wstring& file) = 0;

  // GetSystemDirectoryW: empty on failure.
  virtual std::wstring getSystemDirectory() = 0;
  // Wow64DisableWow64FsRedirection and Wow64RevertWow64FsRedirection for
  // the calling thread; the revert returns 0 or the error code.
  virtual RedirectionResult wow64DisableFsRedirection() = 0;
  virtual Dword wow64RevertFsRedirection(std::uintptr_t oldValue) = 0;

  // GetPrivateProfileStringW of one key into a buffer of `bufferChars`
  // characters: the value, or `defaultValue` when the file, section or key
  // is missing, cut to bufferChars - 1 characters.
  virtual std::wstring getPrivateProfileString(const std::wstring& section, const std::wstring& key,
                                               const std::wstring& defaultValue,
                                               const std::wstring& file, Dword bufferChars) = 0;
};

// Owns a file handle and closes it when it goes out of scope.
class UniqueFile {
 public:
  UniqueFile(FilePort& files, FileHandle handle) : files_(&files), handle_(handle) {}
  UniqueFile(const UniqueFile&) = delete;
  UniqueFile& operator=(const UniqueFile&) = delete;
  UniqueFile(UniqueFile&& other) noexcept : files_(other.files_), handle_(other.handle_) {
    other.handle_ = kInvalidFile;
  }
  UniqueFile& operator=(UniqueFile&& other) noexcept {
    if (this != &other) {
      reset();
      files_ = other.files_;
      handle_ = other.handle_;
      other.handle_ = kInvalidFile;
    }
    return *this;
  }
  ~UniqueFile() { reset(); }

  [[nodiscard]] FileHandle get() const { return handle_; }
  [[nodiscard]] bool valid() const { return handle_ != kInvalidFile; }
  void reset() {
    if (handle_ != kInvalidFile) files_->closeFile(handle_);
    handle_ = kInvalidFile;
  }

 private:
  FilePort* files_;
  FileHandle handle_;
};

}  // namespace plat
