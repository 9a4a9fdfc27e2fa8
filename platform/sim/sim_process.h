// A process of the simulated machine and the ports it sees.
#pragma once

#include <map>
#include <memory>
#include <set>
#include <string>
#include <typeindex>

#include "platform/api/ports.h"
#include "platform/sim/machine_state.h"
#include "platform/sim/sim_devices.h"
#include "platform/sim/sim_files.h"

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

  Rect getWindowRect(WindowId window) override;
  Rect getClientRect(WindowId window) override;
  Point clientToScreen(WindowId window, Point point) override;
  Point screenToClient(WindowId window, Point point) override;
  bool moveWindow(WindowId window, const Rect& rect, bool repaint) override;
  Dword getWindowLong(WindowId window, int index) override;
  Dword setWindowLong(WindowId window, int index, Dword value) override;
  bool setWindowPos(WindowId window, const Rect& rect, Dword flags) override;
  bool isWindowVisible(WindowId window) override;
  bool isIconic(WindowId window) override;
  bool isWindowEnabled(WindowId window) override;
  bool enableWindow(WindowId window, bool enable) override;
  WindowId getParent(WindowId window) override;
  int getDlgCtrlId(WindowId window) override;
  WindowId windowFromPoint(Point screen) override;
  WindowId getFocus() override;
  WindowId setFocus(WindowId window) override;
  WindowId getNextDlgTabItem(WindowId dialog, WindowId control, bool previous) override;
  Point getCursorPos() override;
  std::intptr_t sendMessage(WindowId window, const Message& message) override;
  bool subclassWindow(WindowId control, ControlProcedure* procedure) override;
  std::intptr_t defSubclassProc(WindowId control, const Message& message) override;
  bool setTimer(WindowId window, std::uintptr_t id, Dword milliseconds) override;
  bool killTimer(WindowId window, std::uintptr_t id) override;
  bool trackMouseLeave(WindowId window) override;
  bool redrawWindow(WindowId window, Dword flags) override;
  bool invalidateRect(WindowId window, const Rect& rect, bool erase) override;
  std::unique_ptr<Canvas> beginPaint(WindowId window) override;
  Colour getSysColour(int index) override;
  GdiObject createFont(const FontSpec& fontSpec) override;
  bool deleteObject(GdiObject object) override;
  GdiObject getStockObject(int id) override;
  GdiObject loadIcon(std::uint32_t resourceId, int width, int height) override;
  GdiObject loadBitmap(std::uint32_t resourceId) override;
  GdiObject loadCursor(std::uint32_t systemId) override;
  GdiObject setCursor(GdiObject cursor) override;
  bool destroyIcon(GdiObject icon) override;
  std::optional<IconPixels> getIconPixels(GdiObject icon) override;
  GdiObject createIcon(const IconPixels& pixels) override;
  std::optional<Point> getBitmapSize(GdiObject bitmap) override;
  WindowId createTooltip(WindowId owner) override;
  bool addTool(WindowId tooltip, const ToolInfo& tool) override;
  bool updateToolText(WindowId tooltip, const ToolInfo& tool) override;
  bool activateTooltip(WindowId tooltip, bool active) override;
  int setTooltipMaxWidth(WindowId tooltip, int pixels) override;
  int toolCount(WindowId tooltip) override;
  void relayTooltipEvent(WindowId tooltip, WindowId from, const Message& message) override;
  bool destroyWindow(WindowId window) override;
  MenuId loadMenu(std::uint32_t resourceId) override;
  MenuId getSubMenu(MenuId menu, int position) override;
  bool trackPopupMenu(MenuId menu, Point screen, WindowId owner) override;
  bool destroyMenu(MenuId menu) override;
  bool modifyMenu(MenuId menu, std::uintptr_t command, Dword flags, std::uintptr_t newId,
                  const std::wstring& text) override;
  Dword setLayeredWindowAttributes(WindowId window, Colour key, std::uint8_t alpha,
                                   Dword flags) override;

 private:
  // The work a UI thread does when no message is posted: painting, then
  // due timers. Returns false when there was none.
  bool runIdleWork(std::unique_lock<std::mutex>& lock);
  // When the next timer of the calling thread falls due.
  std::optional<std::uint64_t> nextTimer() const;
  void paint(WindowId topLevel);
  // Nothing of the window or its controls waits to be repainted any more.
  void validate(WindowId topLevel);
  void paintControl(WindowId control);
  void routeMouse(const PostedMessage& posted);
  std::intptr_t defaultProc(WindowId window, const Message& message);
  // The dialog procedure's answer, or nullopt when it leaves the message
  // to the default handling.
  std::optional<std::intptr_t> callProcedure(WindowId window, const Message& message);

  // Runs the calling thread's messages until `modal` has ended.
  void runModalLoop(std::unique_lock<std::mutex>& lock, SimWindow& modal);
  void dispatch(const PostedMessage& posted);
  // A key pressed in a dialog that the dialog manager takes; false leaves
  // it to the window it was posted to.
  bool dialogKey(WindowId target, std::uintptr_t key);
  SimProcess& process_;
};

class SimSocketPort final : public SocketPort {
 public:
  explicit SimSocketPort(SimProcess& process) : process_(process) {}
  Result<std::uint16_t> wsaStartup(std::uint16_t requestedVersion) override;
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
  // The privileges enabled in the process token, by name.
  std::set<std::wstring> enabledPrivileges;
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
  DevicePort& devices() override { return devices_; }
  ServicePort& services() override { return services_; }

 private:
  SimFilePort files_{*this};
  SimShellPort shell_{*this};
  SimSpoolerPort spooler_{*this};
  SimDevicePort devices_{*this};
  SimServicePort services_{*this};
  SimRegistryPort registry_;
};

}  // namespace plat::sim
