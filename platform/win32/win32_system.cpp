#include <memory>

#include "platform/win32/win32_ports.h"

namespace plat::win32 {

namespace {

std::wstring gCommandLineArguments;

DWORD WINAPI threadStart(LPVOID parameter) {
  std::unique_ptr<std::function<Dword()>> body(static_cast<std::function<Dword()>*>(parameter));
  return (*body)();
}

}  // namespace

void setCommandLineArguments(const wchar_t* arguments) {
  gCommandLineArguments = arguments != nullptr ? arguments : L"";
}

std::wstring Win32System::moduleFileName() {
  std::wstring path(MAX_PATH, L'\0');
  while (true) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

std::wstring Win32System::commandLineArguments() {
  return gCommandLineArguments;
}

Result<OsVersionInfo> Win32System::getVersionEx() {
  OSVERSIONINFOEXW info{};
  info.dwOSVersionInfoSize = sizeof info;
  if (GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&info)) == FALSE) {
    return Failure{GetLastError()};
  }
  return OsVersionInfo{info.dwMajorVersion, info.dwMinorVersion, info.dwBuildNumber,
                       info.dwPlatformId, info.wProductType};
}

Wow64Query Win32System::isWow64Process() {
  using IsWow64ProcessFunction = BOOL WINAPI(HANDLE, PBOOL);
  auto* function = systemFunction<IsWow64ProcessFunction>(L"kernel32", "IsWow64Process");
  Wow64Query query;
  if (function == nullptr) return query;
  query.functionPresent = true;
  BOOL value = FALSE;
  query.callSucceeded = function(GetCurrentProcess(), &value) != FALSE;
  query.value = value;
  return query;
}

LangId Win32System::getUserDefaultUiLanguage() {
  return GetUserDefaultUILanguage();
}

LangId Win32System::getThreadUiLanguage() {
  using GetThreadUiLanguageFunction = LANGID WINAPI();
  auto* function = systemFunction<GetThreadUiLanguageFunction>(L"kernel32", "GetThreadUILanguage");
  return function != nullptr ? function() : GetUserDefaultUILanguage();
}

LangId Win32System::setThreadUiLanguage(LangId lang) {
  // Bound at run time: Windows XP's kernel32 may lack it.
  using SetThreadUiLanguageFunction = LANGID WINAPI(LANGID);
  auto* function = systemFunction<SetThreadUiLanguageFunction>(L"kernel32", "SetThreadUILanguage");
  return function != nullptr ? function(lang) : 0;
}

Lcid Win32System::getThreadLocale() {
  return GetThreadLocale();
}

bool Win32System::setThreadLocale(Lcid locale) {
  return SetThreadLocale(locale) != FALSE;
}

Result<CreatedMutex> Win32System::createMutex(bool initialOwner, const std::wstring& name) {
  HANDLE handle =
      CreateMutexW(nullptr, initialOwner ? TRUE : FALSE, name.empty() ? nullptr : name.c_str());
  const DWORD error = GetLastError();
  if (handle == nullptr) return Failure{error};
  return CreatedMutex{toKernelHandle(handle), error == ERROR_ALREADY_EXISTS};
}

bool Win32System::closeHandle(KernelHandle handle) {
  return CloseHandle(toHandle(handle)) != FALSE;
}

KernelHandle Win32System::createThread(std::function<Dword()> body) {
  auto owned = std::make_unique<std::function<Dword()>>(std::move(body));
  HANDLE thread = CreateThread(nullptr, 0, threadStart, owned.get(), 0, nullptr);
  if (thread == nullptr) return kNoHandle;
  owned.release();  // the thread owns it now
  return toKernelHandle(thread);
}

Dword Win32System::waitForSingleObject(KernelHandle handle, Dword milliseconds) {
  return WaitForSingleObject(toHandle(handle), milliseconds);
}

std::optional<Dword> Win32System::getExitCodeThread(KernelHandle handle) {
  DWORD code = 0;
  if (GetExitCodeThread(toHandle(handle), &code) == FALSE) return std::nullopt;
  return code;
}

void Win32System::sleep(Dword milliseconds) {
  Sleep(milliseconds);
}

Dword Win32System::getTickCount() {
  return GetTickCount();
}

LocalTime Win32System::getLocalTime() {
  SYSTEMTIME time{};
  GetLocalTime(&time);
  return {time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute, time.wSecond};
}

Result<KernelHandle> Win32System::openProcessToken(Dword access) {
  HANDLE token = nullptr;
  if (OpenProcessToken(GetCurrentProcess(), access, &token) == FALSE) {
    return Failure{GetLastError()};
  }
  return toKernelHandle(token);
}

Result<std::uint64_t> Win32System::lookupPrivilegeValue(const std::wstring& name) {
  LUID luid{};
  if (LookupPrivilegeValueW(nullptr, name.c_str(), &luid) == FALSE) return Failure{GetLastError()};
  const std::uint64_t value =
      (static_cast<std::uint64_t>(static_cast<DWORD>(luid.HighPart)) << 32U) | luid.LowPart;
  return value;
}

Dword Win32System::adjustTokenPrivileges(KernelHandle token, std::uint64_t luid, Dword attributes) {
  TOKEN_PRIVILEGES privileges{};
  privileges.PrivilegeCount = 1;
  privileges.Privileges[0].Luid.LowPart = static_cast<DWORD>(luid & 0xFFFFFFFFU);
  privileges.Privileges[0].Luid.HighPart = static_cast<LONG>(luid >> 32U);
  privileges.Privileges[0].Attributes = attributes;
  SetLastError(ERROR_SUCCESS);
  AdjustTokenPrivileges(toHandle(token), FALSE, &privileges, 0, nullptr, nullptr);
  return GetLastError();
}

}  // namespace plat::win32
