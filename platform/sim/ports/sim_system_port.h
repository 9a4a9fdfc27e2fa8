// The system port of a simulated process.
#pragma once

#include "platform/api/system_port.h"

namespace plat::sim {

class SimProcess;

class SimSystemPort final : public SystemPort {
 public:
  explicit SimSystemPort(SimProcess& process) : process_(process) {}
  std::wstring moduleFileName() override;
  std::wstring commandLineArguments() override;
  Result<OsVersionInfo> getVersionEx() override;
  Wow64Query isWow64Process() override;
  LangId getUserDefaultUiLanguage() override;
  LangId getThreadUiLanguage() override;
  LangId setThreadUiLanguage(LangId lang) override;
  Lcid getThreadLocale() override;
  bool setThreadLocale(Lcid locale) override;
  Result<CreatedMutex> createMutex(bool initialOwner, const std::wstring& name) override;
  bool closeHandle(KernelHandle handle) override;
  KernelHandle createThread(std::function<Dword()> body) override;
  Dword waitForSingleObject(KernelHandle handle, Dword milliseconds) override;
  std::optional<Dword> getExitCodeThread(KernelHandle handle) override;
  void sleep(Dword milliseconds) override;
  Dword getTickCount() override;
  LocalTime getLocalTime() override;
  Result<KernelHandle> openProcessToken(Dword access) override;
  Result<std::uint64_t> lookupPrivilegeValue(const std::wstring& name) override;
  Dword adjustTokenPrivileges(KernelHandle token, std::uint64_t luid, Dword attributes) override;

 private:
  SimProcess& process_;
};

}  // namespace plat::sim
