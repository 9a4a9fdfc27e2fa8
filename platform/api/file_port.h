// Files and folders (kernel32 and shlwapi), the profile (INI) calls, the
// system directory and WOW64 file-system redirection.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/api/result.h"
#include "platform/api/types.h"
#include "platform/api/unique_handle.h"

namespace plat {

// A file handle; 0 stands for INVALID_HANDLE_VALUE.
using FileHandle = std::uintptr_t;
inline constexpr FileHandle kInvalidFile = 0;

// CreateFileW: the handle, and whether the file was there before
// (GetLastError read right after a successful CREATE_ALWAYS or OPEN_ALWAYS
// is ERROR_ALREADY_EXISTS, 183, then).
struct OpenedFile {
  FileHandle handle = kInvalidFile;
  bool existed = false;
};

class FilePort {
 public:
  FilePort() = default;
  FilePort(const FilePort&) = delete;
  FilePort& operator=(const FilePort&) = delete;
  virtual ~FilePort() = default;

  virtual Result<OpenedFile> createFile(const std::wstring& path, Dword desiredAccess,
                                        Dword shareMode, Dword creationDisposition,
                                        Dword flagsAndAttributes) = 0;
  // WriteFile: the number of bytes written, which a success may leave short
  // of the bytes given.
  virtual Result<Dword> writeFile(FileHandle file, std::span<const std::uint8_t> bytes) = 0;
  // ReadFile of at most `maxBytes`: the bytes read.
  virtual Result<std::vector<std::uint8_t>> readFile(FileHandle file, Dword maxBytes) = 0;
  // GetFileSizeEx.
  virtual Result<std::uint64_t> getFileSize(FileHandle file) = 0;
  // SetFilePointerEx: the new position.
  virtual Result<std::uint64_t> setFilePointer(FileHandle file, std::int64_t distance,
                                               Dword moveMethod) = 0;
  // SetEndOfFile, FlushFileBuffers and CloseHandle: 0 or the error code.
  virtual Dword setEndOfFile(FileHandle file) = 0;
  virtual Dword flushFileBuffers(FileHandle file) = 0;
  virtual Dword closeFile(FileHandle file) = 0;

  // GetFileAttributesW.
  virtual Result<Dword> getFileAttributes(const std::wstring& path) = 0;
  // DeleteFileW and CreateDirectoryW (no security attributes): 0 or the
  // error code.
  virtual Dword deleteFile(const std::wstring& path) = 0;
  virtual Dword createDirectory(const std::wstring& path) = 0;
  // PathIsDirectoryW and PathFileExistsW.
  virtual bool pathIsDirectory(const std::wstring& path) = 0;
  virtual bool pathFileExists(const std::wstring& path) = 0;

  // FindFirstFileW, FindNextFileW until it reports no more files, and
  // FindClose: the names (without folder) of folders and files alike, in the
  // order the system gives; ERROR_FILE_NOT_FOUND when nothing matches.
  virtual Result<std::vector<std::wstring>> findFiles(const std::wstring& pattern) = 0;

  // GetPrivateProfileIntW and WritePrivateProfileStringW (0 or the error).
  virtual std::uint32_t getPrivateProfileInt(const std::wstring& section, const std::wstring& key,
                                             int defaultValue, const std::wstring& file) = 0;
  virtual Dword writePrivateProfileString(const std::wstring& section, const std::wstring& key,
                                          const std::wstring& value, const std::wstring& file) = 0;

  // GetSystemDirectoryW: empty on failure.
  virtual std::wstring getSystemDirectory() = 0;
  // Wow64DisableWow64FsRedirection and Wow64RevertWow64FsRedirection for
  // the calling thread: the old value to hand back to the revert, which
  // returns 0 or the error code.
  virtual Result<std::uintptr_t> wow64DisableFsRedirection() = 0;
  virtual Dword wow64RevertFsRedirection(std::uintptr_t oldValue) = 0;

  // GetPrivateProfileStringW of one key into a buffer of `bufferChars`
  // characters: the value, or `defaultValue` when the file, section or key
  // is missing, cut to bufferChars - 1 characters.
  virtual std::wstring getPrivateProfileString(const std::wstring& section, const std::wstring& key,
                                               const std::wstring& defaultValue,
                                               const std::wstring& file, Dword bufferChars) = 0;
};

// Owns a file handle and closes it with CloseHandle.
using UniqueFile = UniqueHandle<FilePort, FileHandle, kInvalidFile, &FilePort::closeFile>;

}  // namespace plat
