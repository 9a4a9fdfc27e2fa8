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

CreateFileResult Win32Files::createFile(const std::wstring& path, Dword desiredAccess,
                                        Dword shareMode, Dword creationDisposition,
                                        Dword flagsAndAttributes) {
  HANDLE handle = CreateFileW(path.c_str(), desiredAccess, shareMode, nullptr, creationDisposition,
                              flagsAndAttributes, nullptr);
  const DWORD error = GetLastError();
  if (handle == INVALID_HANDLE_VALUE) return {kInvalidFile, error};
  return {reinterpret_cast<FileHandle>(handle),
          error == ERROR_ALREADY_EXISTS ? kErrorAlreadyExists : kErrorSuccess};
}

WriteFileResult Win32Files::writeFile(FileHandle file, std::span<const std::uint8_t> bytes) {
  DWORD written = 0;
  const BOOL ok = WriteFile(toFileHandle(file), bytes.data(), static_cast<DWORD>(bytes.size()),
                            &written, nullptr);
  return {written, errorUnless(ok)};
}

ReadFileResult Win32Files::readFile(FileHandle file, Dword maxBytes) {
  ReadFileResult result;
  result.bytes.resize(maxBytes);
  DWORD read = 0;
  result.error =
      errorUnless(ReadFile(toFileHandle(file), result.bytes.data(), maxBytes, &read, nullptr));
  result.bytes.resize(read);
  return result;
}

FilePositionResult Win32Files::getFileSize(FileHandle file) {
  LARGE_INTEGER size{};
  const Dword error = errorUnless(GetFileSizeEx(toFileHandle(file), &size));
  return {static_cast<std::uint64_t>(size.QuadPart), error};
}

FilePositionResult Win32Files::setFilePointer(FileHandle file, std::int64_t distance,
                                              Dword moveMethod) {
  LARGE_INTEGER move{};
  move.QuadPart = distance;
  LARGE_INTEGER position{};
  const Dword error =
      errorUnless(SetFilePointerEx(toFileHandle(file), move, &position, moveMethod));
  return {static_cast<std::uint64_t>(position.QuadPart), error};
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

AttributesResult Win32Files::getFileAttributes(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return {attributes, attributes == INVALID_FILE_ATTRIBUTES ? GetLastError() : kErrorSuccess};
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

FindFilesResult Win32Files::findFiles(const std::wstring& pattern) {
  WIN32_FIND_DATAW data{};
  HANDLE find = FindFirstFileW(pattern.c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return {{}, GetLastError()};
  FindFilesResult found;
  do {
    found.names.emplace_back(data.cFileName);
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

RedirectionResult Win32Files::wow64DisableFsRedirection() {
  // Bound at run time: 32-bit Windows XP before SP2 lacks it.
  using DisableFunction = BOOL WINAPI(PVOID*);
  auto* function = systemFunction<DisableFunction>(L"kernel32", "Wow64DisableWow64FsRedirection");
  if (function == nullptr) return {0, kErrorCallNotImplemented};
  PVOID oldValue = nullptr;
  const Dword error = errorUnless(function(&oldValue));
  return {reinterpret_cast<std::uintptr_t>(oldValue), error};
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
