// The ports on the real Windows API (MinGW-w64 build).
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <mutex>

#include "platform/api/ports.h"

namespace plat::win32 {

class Win32System final : public SystemPort {
 public:
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
};

class Win32Windows final : public WindowPort {
 public:
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
};

class Win32Sockets final : public SocketPort {
 public:
  Result<std::uint16_t> wsaStartup(std::uint16_t requestedVersion) override;
  int wsaCleanup() override;
  void wsaSetLastError(int error) override;
  int wsaGetLastError() override;
};

class Win32Resources final : public ResourcePort {
 public:
  std::wstring loadString(std::uint32_t id) override;
  ResourceHandle findResource(std::uint16_t id, const std::wstring& type) override;
  Dword sizeofResource(ResourceHandle resource) override;
  const std::uint8_t* loadResource(ResourceHandle resource) override;
};

class Win32Files final : public FilePort {
 public:
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
};

class Win32Shell final : public ShellPort {
 public:
  Result<std::wstring> shGetFolderPath(int csidl, Dword flags) override;
  std::intptr_t shellExecute(WindowId owner, const std::wstring& verb, const std::wstring& file,
                             const std::wstring& parameters, const std::wstring& directory,
                             int showCommand) override;
};

class Win32Spooler final : public SpoolerPort {
 public:
  Result<std::wstring> getPrinterDriverDirectory(
      const std::optional<std::wstring>& environment) override;
  Result<std::vector<PrinterInfo2>> enumPrinters(Dword flags) override;
  Result<PrinterId> openPrinter(const std::wstring& name, Dword access) override;
  Result<PrinterInfo2> getPrinter(PrinterId printer) override;
  Dword closePrinter(PrinterId printer) override;
  Result<PrinterId> addPrinter(const PrinterInfo2& info) override;
  Dword deletePrinter(PrinterId printer) override;
  Dword deletePrinterConnection(const std::wstring& name) override;
  Result<std::vector<PrinterDriverInfo>> enumPrinterDrivers(
      const std::optional<std::wstring>& environment) override;
  Result<std::vector<PortInfo>> enumPorts() override;
  Dword deletePrinterDriver(const std::wstring& environment, const std::wstring& name) override;
  Dword deletePrinterDriverEx(const std::wstring& environment, const std::wstring& name,
                              Dword deleteFlags, Dword version) override;
  Dword deletePrinterDriverPackage(const std::wstring& infPath) override;
  Dword addMonitor(const MonitorInfo2& info) override;
  Dword addPrinterDriver(const DriverInfo4& info) override;
  Result<std::vector<JobInfo3>> enumJobs(PrinterId printer, Dword firstJob, Dword count) override;
  Dword setJob(PrinterId printer, Dword jobId, Dword command) override;
};

class Win32Devices final : public DevicePort {
 public:
  Result<std::wstring> setupCopyOemInf(const std::wstring& sourceInf, Dword copyStyle,
                                       Dword destinationChars) override;
  Result<DeviceSetId> setupDiGetClassDevs(const std::wstring& enumerator, Dword flags) override;
  Result<DeviceInfoData> setupDiEnumDeviceInfo(DeviceSetId set, Dword index) override;
  Result<DeviceProperty> setupDiGetDeviceRegistryProperty(DeviceSetId set,
                                                          const DeviceInfoData& device,
                                                          Dword property,
                                                          Dword bufferBytes) override;
  Dword setupDiSetDeviceRegistryProperty(DeviceSetId set, const DeviceInfoData& device,
                                         Dword property,
                                         const std::vector<std::uint8_t>& data) override;
  Dword setupDiDestroyDeviceInfoList(DeviceSetId set) override;
  Result<bool> updateDriverForPlugAndPlayDevices(const std::wstring& hardwareId,
                                                 const std::wstring& infPath,
                                                 Dword installFlags) override;
  Result<DevInst> cmLocateDevNode(const std::optional<std::wstring>& deviceId,
                                  Dword flags) override;
  Dword cmReenumerateDevNode(DevInst devInst, Dword flags) override;
  Dword cmpWaitNoPendingInstallEvents(Dword milliseconds) override;
};

class Win32Services final : public ServicePort {
 public:
  Result<ServiceId> openScManager(Dword access) override;
  Result<ServiceId> openService(ServiceId manager, const std::wstring& name, Dword access) override;
  Result<Dword> queryServiceStatus(ServiceId service) override;
  Result<Dword> controlService(ServiceId service, Dword control) override;
  Dword startService(ServiceId service) override;
  Dword closeServiceHandle(ServiceId handle) override;
};

class Win32Registry final : public RegistryPort {
 public:
  Result<RegKey> regOpenKeyEx(RegKey parent, const std::wstring& subKey, Dword access) override;
  Result<CreatedKey> regCreateKeyEx(RegKey parent, const std::wstring& subKey,
                                    Dword access) override;
  Result<RegValue> regQueryValueEx(RegKey key, const std::wstring& name,
                                   std::optional<Dword> bufferBytes) override;
  Dword regSetValueEx(RegKey key, const std::wstring& name, Dword type,
                      const std::vector<std::uint8_t>& data) override;
  Dword regDeleteValue(RegKey key, const std::wstring& name) override;
  Dword regDeleteKey(RegKey parent, const std::wstring& subKey) override;
  Result<std::wstring> regEnumKeyEx(RegKey key, Dword index, Dword nameChars) override;
  Result<RegValue> regEnumValue(RegKey key, Dword index) override;
  Dword regFlushKey(RegKey key) override;
  Dword regCloseKey(RegKey key) override;
  Result<RegKeyInfo> regQueryInfoKey(RegKey key) override;
};

class Win32Ports final : public Ports {
 public:
  SystemPort& system() override { return system_; }
  WindowPort& windows() override { return windows_; }
  SocketPort& sockets() override { return sockets_; }
  ResourcePort& resources() override { return resources_; }
  std::shared_ptr<void> processSlot(std::type_index type, std::shared_ptr<void> (*make)()) override;
  FilePort& files() override { return files_; }
  ShellPort& shell() override { return shell_; }
  SpoolerPort& spooler() override { return spooler_; }
  RegistryPort& registry() override { return registry_; }
  DevicePort& devices() override { return devices_; }
  ServicePort& services() override { return services_; }

 private:
  Win32System system_;
  Win32Windows windows_;
  Win32Sockets sockets_;
  Win32Resources resources_;
  std::mutex slotsMutex_;
  std::map<std::type_index, std::shared_ptr<void>> slots_;
  Win32Files files_;
  Win32Shell shell_;
  Win32Spooler spooler_;
  Win32Registry registry_;
  Win32Devices devices_;
  Win32Services services_;
};

inline HWND toHwnd(WindowId id) {
  return reinterpret_cast<HWND>(id);
}
inline WindowId toWindowId(HWND hwnd) {
  return reinterpret_cast<WindowId>(hwnd);
}
inline HANDLE toHandle(KernelHandle h) {
  return reinterpret_cast<HANDLE>(h);
}
inline KernelHandle toKernelHandle(HANDLE h) {
  return reinterpret_cast<KernelHandle>(h);
}

// The text after the program name, as wWinMain received it.
void setCommandLineArguments(const wchar_t* arguments);

// A function of a system DLL looked up at run time, for calls that older
// Windows versions lack.
template <class Function>
Function* systemFunction(const wchar_t* module, const char* name) {
  HMODULE handle = GetModuleHandleW(module);
  if (handle == nullptr) return nullptr;
  FARPROC address = GetProcAddress(handle, name);
  return reinterpret_cast<Function*>(reinterpret_cast<void (*)()>(address));
}

}  // namespace plat::win32
