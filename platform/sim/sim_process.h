// A process of the simulated machine and the ports it sees.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <typeindex>

#include "platform/api/ports.h"
#include "platform/sim/machine_state.h"
#include "platform/sim/sim_files.h"

namespace plat::sim {

class SimProcess;

class SimSystemPort final : public SystemPort {
 public:
  explicit SimSystemPort(SimProcess& process) : process_(process) {}
  std::wstring moduleFileName() override;
  std::wstring commandLineArguments() override;
  OsVersionResult getVersionEx() override;
  Wow64Query isWow64Process() override;
  LangId getUserDefaultUiLanguage() override;
  LangId getThreadUiLanguage() override;
  LangId setThreadUiLanguage(LangId lang) override;
  Lcid getThreadLocale() override;
  bool setThreadLocale(Lcid locale) override;
  CreateMutexResult createMutex(bool initialOwner, const std::wstring& name) override;
  bool closeHandle(KernelHandle handle) override;
  KernelHandle createThread(std::function<Dword()> body) override;
  Dword waitForSingleObject(KernelHandle handle, Dword milliseconds) override;
  std::optional<Dword> getExitCodeThread(KernelHandle handle) override;
  void sleep(Dword milliseconds) override;
  Dword getTickCount() override;
  LocalTime getLocalTime() override;

 private:
  SimProcess& process_;
};

class SimWindowPort final : public WindowPort {
 public:
  explicit SimWindowPort(SimProcess& process) : process_(process) {}
  bool initCommonControlsEx(Dword size, Dword classes) override;
  bool enumWindows(const std::function<bool(WindowId)>& visit) override;
  std::wstring getWindowText(WindowId window, int bufferChars) override;
  bool setWindowText(WindowId window, const std::wstring& text) override;
  bool isWindow(WindowId window) override;
  bool showWindow(WindowId window, int command) override;
  bool setForegroundWindow(WindowId window) override;
  std::intptr_t dialogBox(std::uint32_t templateId, WindowId parent,
                          DialogProcedure& procedure) override;
  bool endDialog(WindowId dialog, std::intptr_t result) override;
  WindowId getDlgItem(WindowId dialog, int controlId) override;
  bool postMessage(WindowId window, const Message& message) override;
  int messageBox(WindowId owner, const std::wstring& text, const std::wstring& caption,
                 Dword type) override;
  MenuId getSystemMenu(WindowId window, bool revert) override;
  bool appendMenu(MenuId menu, Dword flags, std::uintptr_t itemId,
                  const std::wstring& text) override;

 private:
  // Runs the calling thread's messages until `modal` has ended.
  void runModalLoop(std::unique_lock<std::mutex>& lock, SimWindow& modal);
  void dispatch(const PostedMessage& posted);
  SimProcess& process_;
};

class SimSocketPort final : public SocketPort {
 public:
  explicit SimSocketPort(SimProcess& process) : process_(process) {}
  WsaStartupResult wsaStartup(std::uint16_t requestedVersion) override;
  int wsaCleanup() override;
  void wsaSetLastError(int error) override;
  int wsaGetLastError() override;

 private:
  SimProcess& process_;
};

class SimResourcePort final : public ResourcePort {
 public:
  explicit SimResourcePort(SimProcess& process) : process_(process) {}
  std::wstring loadString(std::uint32_t id) override;
  ResourceHandle findResource(std::uint16_t id, const std::wstring& type) override;
  Dword sizeofResource(ResourceHandle resource) override;
  const std::uint8_t* loadResource(ResourceHandle resource) override;

 private:
  SimProcess& process_;
};

class SimProcess final : public Ports {
 public:
  SimProcess(MachineState& machine, ProcessId id, ProgramImage image, std::wstring arguments,
             std::wstring directory);

  SystemPort& system() override { return system_; }
  WindowPort& windows() override { return windows_; }
  SocketPort& sockets() override { return sockets_; }
  ResourcePort& resources() override { return resources_; }
  std::shared_ptr<void> processSlot(std::type_index type, std::shared_ptr<void> (*make)()) override;
  RegistryPort& registry() override { return registry_; }

  // The languages the resource loader tries for the calling thread, in order.
  std::vector<LangId> resourceLanguages(const SimThread& thread) const;
  // GetVersionExW as this program sees it.
  [[nodiscard]] OsVersionInfo reportedVersion() const;

  KernelHandle addHandle(std::shared_ptr<KernelObject> object);
  // Closes every handle and window: the process has ended.
  void terminate(Dword exitCode);

  MachineState& machine;
  const ProcessId id;
  const ProgramImage image;
  const std::wstring arguments;
  const std::wstring directory;
  std::map<KernelHandle, std::shared_ptr<KernelObject>> handles;
  std::map<std::type_index, std::shared_ptr<void>> slots;
  bool ended = false;
  Dword exitCode = 0;
  int wsaStartups = 0;
  int wsaLastError = 0;

 private:
  SimSystemPort system_;
  SimWindowPort windows_;
  SimSocketPort sockets_;
  SimResourcePort resources_;

 public:
  FilePort& files() override { return files_; }
  ShellPort& shell() override { return shell_; }
  SpoolerPort& spooler() override { return spooler_; }

 private:
  SimFilePort files_{*this};
  SimShellPort shell_{*this};
  SimSpoolerPort spooler_{*this};
  SimRegistryPort registry_;
};

}  // namespace plat::sim
