// Process and thread facts: module path, command line, Windows version,
// WOW64, UI languages, kernel objects, threads, sleep and the clock.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "platform/api/result.h"
#include "platform/api/types.h"
#include "platform/api/unique_handle.h"

namespace plat {

// The fields of OSVERSIONINFOEXW that the system reads.
struct OsVersionInfo {
  Dword majorVersion = 0;
  Dword minorVersion = 0;
  Dword buildNumber = 0;
  Dword platformId = 0;
  std::uint8_t productType = 0;
};

// IsWow64Process looked up in kernel32 at run time and, when present, called
// for the current process. `value` is the BOOL the call stored (0 if the
// function is missing or the call left it alone).
struct Wow64Query {
  bool functionPresent = false;
  bool callSucceeded = false;
  std::int32_t value = 0;
};

// GetLocalTime: the local calendar time.
struct LocalTime {
  std::uint16_t year = 0;
  std::uint16_t month = 0;  // 1 to 12
  std::uint16_t day = 0;
  std::uint16_t hour = 0;
  std::uint16_t minute = 0;
  std::uint16_t second = 0;
};

// A kernel object handle; 0 is "no handle".
using KernelHandle = std::uintptr_t;
inline constexpr KernelHandle kNoHandle = 0;

// CreateMutexW: the handle, and whether the mutex was there before
// (GetLastError read right after the call is ERROR_ALREADY_EXISTS then).
struct CreatedMutex {
  KernelHandle handle = kNoHandle;
  bool existed = false;
};

// Access rights of a process token, the attribute that enables a
// privilege, and the privilege that lets a process load device drivers.
inline constexpr Dword kTokenAdjustPrivileges = 0x0020;
inline constexpr Dword kTokenRead = 0x00020008;
inline constexpr Dword kSePrivilegeEnabled = 0x2;
inline constexpr wchar_t kSeLoadDriverName[] = L"SeLoadDriverPrivilege";
// AdjustTokenPrivileges succeeded but the token lacks the privilege.
inline constexpr Dword kErrorNotAllAssigned = 1300;
inline constexpr Dword kErrorNoSuchPrivilege = 1313;

class SystemPort {
 public:
  SystemPort() = default;
  SystemPort(const SystemPort&) = delete;
  SystemPort& operator=(const SystemPort&) = delete;
  virtual ~SystemPort() = default;

  // GetModuleFileNameW(nullptr, ...): the full path of the program file.
  virtual std::wstring moduleFileName() = 0;
  // The command line after the program name, as the framework hands it to
  // the application (m_lpCmdLine): everything after the first separator.
  virtual std::wstring commandLineArguments() = 0;

  virtual Result<OsVersionInfo> getVersionEx() = 0;
  virtual Wow64Query isWow64Process() = 0;

  virtual LangId getUserDefaultUiLanguage() = 0;
  virtual LangId getThreadUiLanguage() = 0;
  // SetThreadUILanguage: returns the language set, 0 on failure.
  virtual LangId setThreadUiLanguage(LangId lang) = 0;
  virtual Lcid getThreadLocale() = 0;
  virtual bool setThreadLocale(Lcid locale) = 0;

  virtual Result<CreatedMutex> createMutex(bool initialOwner, const std::wstring& name) = 0;
  virtual bool closeHandle(KernelHandle handle) = 0;

  // CreateThread running `body`; its return value is the thread's exit code.
  virtual KernelHandle createThread(std::function<Dword()> body) = 0;
  // WaitForSingleObject on a thread or mutex handle.
  virtual Dword waitForSingleObject(KernelHandle handle, Dword milliseconds) = 0;
  virtual std::optional<Dword> getExitCodeThread(KernelHandle handle) = 0;

  virtual void sleep(Dword milliseconds) = 0;
  virtual Dword getTickCount() = 0;

  virtual LocalTime getLocalTime() = 0;

  // OpenProcessToken on the current process; the token is closed with
  // closeHandle.
  virtual Result<KernelHandle> openProcessToken(Dword access) = 0;
  // LookupPrivilegeValueW on the local system: the privilege's LUID.
  virtual Result<std::uint64_t> lookupPrivilegeValue(const std::wstring& name) = 0;
  // AdjustTokenPrivileges with one privilege and its attributes, without
  // disabling the others and without asking for the previous state:
  // GetLastError right after the call, which is kErrorNotAllAssigned when
  // the call succeeded but the token does not hold the privilege.
  virtual Dword adjustTokenPrivileges(KernelHandle token, std::uint64_t luid, Dword attributes) = 0;
};

// Owns a kernel object (mutex, thread, token) and closes it with
// CloseHandle.
using KernelObject = UniqueHandle<SystemPort, KernelHandle, kNoHandle, &SystemPort::closeHandle>;

}  // namespace plat
