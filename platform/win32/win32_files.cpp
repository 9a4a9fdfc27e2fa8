// windows.h (through win32_ports.h) comes before shlwapi.h.
#include "platform/win32/win32_ports.h"

#include <shlwapi.h>

namespace plat::win32 {

namespace {

HANDLE toFileHandle(FileHandle file) {
  return file == kInvalidFile ? INVALID_HANDLE_VALUE : reinterpret_cast<HANDLE>(file);
}

Dword errorUnless(BOOL succeeded) {
  return succeeded != FALSE ? kErrorSuccess : GetLastError();
}

}  // namespace

Result<OpenedFile> Win32Files::createFile(const std::wstring& path, Dword desiredAccess,
                                          Dword shareMode, Dword creationDisposition,
                                          Dword flagsAndAttributes) {
  HANDLE handle = CreateFileW(path.c_str(), desiredAccess, shareMode, nullptr, creationDisposition,
                              flagsAndAttributes, nullptr);
  const DWORD error = GetLastError();
  if (handle == INVALID_HANDLE_VALUE) return Failure{error};
  return OpenedFile{reinterpret_cast<FileHandle>(handle), error == ERROR_ALREADY_EXISTS};
}

Result<Dword> Win32Files::writeFile(FileHandle file, std::span<const std::uint8_t> bytes) {
  DWORD written = 0;
  const BOOL ok = WriteFile(toFileHandle(file), bytes.data(), static_cast<DWORD>(bytes.size()),
                            &written, nullptr);
  if (ok == FALSE) return Failure{GetLastError()};
  return Dword{written};
}

Result<std::vector<std::uint8_t>> Win32Files::readFile(FileHandle file, Dword maxBytes) {
  std::vector<std::uint8_t> bytes(maxBytes);
  DWORD read = 0;
  if (ReadFile(toFileHandle(file), bytes.data(), maxBytes, &read, nullptr) == FALSE) {
    return Failure{GetLastError()};
  }
  bytes.resize(read);
  return bytes;
}

Result<std::uint64_t> Win32Files::getFileSize(FileHandle file) {
  LARGE_INTEGER size{};
  if (GetFileSizeEx(toFileHandle(file), &size) == FALSE) return Failure{GetLastError()};
  return static_cast<std::uint64_t>(size.QuadPart);
}

Result<std::uint64_t> Win32Files::setFilePointer(FileHandle file, std::int64_t distance,
                                                 Dword moveMethod) {
  LARGE_INTEGER move{};
  move.QuadPart = distance;
  LARGE_INTEGER position{};
  if (SetFilePointerEx(toFileHandle(file), move, &position, moveMethod) == FALSE) {
    return Failure{GetLastError()};
  }
  return static_cast<std::uint64_t>(position.QuadPart);
}

Dword Win32Files::setEndOfFile(FileHandle file) {
  return errorUnless(SetEndOfFile(toFileHandle(file)));
}

Dword Win32Files::flushFileBuffers(FileHandle file) {
  return errorUnless(FlushFileBuffers(toFileHandle(file)));
}

Dword Win32Files::closeFile(FileHandle file) {
  return errorUnless(CloseHandle(toFileHandle(file)));
}

Result<Dword> Win32Files::getFileAttributes(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return Failure{GetLastError()};
  return Dword{attributes};
}

Dword Win32Files::deleteFile(const std::wstring& path) {
  return errorUnless(DeleteFileW(path.c_str()));
}

Dword Win32Files::createDirectory(const std::wstring& path) {
  return errorUnless(CreateDirectoryW(path.c_str(), nullptr));
}

bool Win32Files::pathIsDirectory(const std::wstring& path) {
  return PathIsDirectoryW(path.c_str()) != FALSE;
}

bool Win32Files::pathFileExists(const std::wstring& path) {
  return PathFileExistsW(path.c_str()) != FALSE;
}

Result<std::vector<std::wstring>> Win32Files::findFiles(const std::wstring& pattern) {
  WIN32_FIND_DATAW data{};
  HANDLE find = FindFirstFileW(pattern.c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return Failure{GetLastError()};
  std::vector<std::wstring> found;
  do {
    found.emplace_back(data.cFileName);
  } while (FindNextFileW(find, &data) != FALSE);
  FindClose(find);
  return found;
}

std::uint32_t Win32Files::getPrivateProfileInt(const std::wstring& section, const std::wstring& key,
                                               int defaultValue, const std::wstring& file) {
  return GetPrivateProfileIntW(section.c_str(), key.c_str(), defaultValue, file.c_str());
}

Dword Win32Files::writePrivateProfileString(const std::wstring& section, const std::wstring& key,
                                            const std::wstring& value, const std::wstring& file) {
  return errorUnless(
      WritePrivateProfileStringW(section.c_str(), key.c_str(), value.c_str(), file.c_str()));
}

std::wstring Win32Files::getSystemDirectory() {
  const UINT needed = GetSystemDirectoryW(nullptr, 0);
  if (needed == 0) return {};
  std::wstring path(needed, L'\0');
  const UINT length = GetSystemDirectoryW(path.data(), needed);
  if (length == 0 || length >= needed) return {};
  path.resize(length);
  return path;
}

Result<std::uintptr_t> Win32Files::wow64DisableFsRedirection() {
  // Bound at run time: 32-bit Windows XP before SP2 lacks it.
  using DisableFunction = BOOL WINAPI(PVOID*);
  auto* function = systemFunction<DisableFunction>(L"kernel32", "Wow64DisableWow64FsRedirection");
  if (function == nullptr) return Failure{kErrorCallNotImplemented};
  PVOID oldValue = nullptr;
  if (function(&oldValue) == FALSE) return Failure{GetLastError()};
  return reinterpret_cast<std::uintptr_t>(oldValue);
}

Dword Win32Files::wow64RevertFsRedirection(std::uintptr_t oldValue) {
  using RevertFunction = BOOL WINAPI(PVOID);
  auto* function = systemFunction<RevertFunction>(L"kernel32", "Wow64RevertWow64FsRedirection");
  if (function == nullptr) return kErrorCallNotImplemented;
  return errorUnless(function(reinterpret_cast<PVOID>(oldValue)));
}

std::wstring Win32Files::getPrivateProfileString(const std::wstring& section,
                                                 const std::wstring& key,
                                                 const std::wstring& defaultValue,
                                                 const std::wstring& file, Dword bufferChars) {
  if (bufferChars == 0) return {};
  std::wstring value(bufferChars, L'\0');
  const DWORD chars = GetPrivateProfileStringW(section.c_str(), key.c_str(), defaultValue.c_str(),
                                               value.data(), bufferChars, file.c_str());
  value.resize(chars);
  return value;
}

}  // namespace plat::win32
