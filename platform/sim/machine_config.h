// What a machine file describes: the Windows installation and the lasting
// state of the simulated PC.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/api/types.h"

namespace plat::sim {

struct OsProfile {
  std::wstring edition = L"Windows 10 Pro";  // for the reader of a machine file
  Dword majorVersion = 10;
  Dword minorVersion = 0;
  Dword buildNumber = 19045;
  Dword platformId = kVerPlatformWin32Nt;
  std::uint8_t productType = kVerNtWorkstation;
  bool is64Bit = true;
  // IsWow64Process exists from Windows XP SP2 on.
  bool hasIsWow64Process = true;
  LangId userUiLanguage = kLangEnglishUs;
  Lcid userLocale = kLangEnglishUs;
  // The user's programs run with administrator rights (Brisvane's manifest
  // asks for elevation). Without them Windows and Program Files are
  // read-only.
  bool isAdministrator = true;
  // The local time when the machine starts, in seconds since 1970-01-01
  // 00:00:00 local time; the clock then follows the virtual time.
  std::uint64_t localTimeAtStart = 1'625'735'103;  // 2021-07-08 09:05:03
};

struct WinsockProfile {
  std::uint16_t highestVersion = makeWord(2, 2);
  // A WSAStartup failure (for example kWsaSysNotReady), 0 for none.
  int startupError = 0;
};

// A port call that fails with `error`: `times` more times, or always (-1).
struct Fault {
  std::string call;  // the Win32 function name, "GetVersionExW"
  Dword error = 0;
  int times = -1;
};

// A top-level window of some other program on the desktop.
struct DesktopWindow {
  std::wstring program;
  std::wstring title;
};

// A folder or file on the machine's disk.
struct FileEntry {
  std::wstring path;  // full path, "C:\\Program Files (x86)\\Corvantis"
  bool isFolder = false;
  Dword attributes = 0;  // FILE_ATTRIBUTE_* bits other than the folder bit
  std::vector<std::uint8_t> contents;
};

// A registry value and a key of the registry, named by its full path from
// the root ("HKEY_LOCAL_MACHINE\\SOFTWARE\\..."). A read-only key refuses
// write access to itself and its subkeys, as an ACL without write rights for
// the user would.
struct RegistryValueConfig {
  std::wstring name;
  Dword type = 0;
  std::vector<std::uint8_t> data;
};

struct RegistryKeyConfig {
  std::wstring path;
  bool readOnly = false;
  std::vector<RegistryValueConfig> values;
};

// The keys of a Windows installation that the programs look at. The fonts
// are registered under the names Windows 7 uses ("Microsoft YaHei
// (TrueType)"); Windows 8 and later name that font "Microsoft YaHei &
// Microsoft YaHei UI (TrueType)", which a machine file can describe.
std::vector<RegistryKeyConfig> defaultRegistry();

// The print spooler's lasting state. Drivers are named per environment
// ("Windows x64", "Windows NT x86") and may carry the driver version the
// spooler records ("2021.1.5.0", empty for none). A local queue needs a
// driver of the machine's own environment and an existing port; a
// connection names a printer of another machine ("\\\\server\\share").
struct PrinterDriverConfig {
  std::wstring name;
  std::wstring environment;
  std::wstring version;
};

struct PortConfig {
  std::wstring name;
  std::wstring monitor;
};

// A job waiting in a queue. Once cancelled it leaves the queue after
// `cancelMilliseconds` of virtual time (nothing: it never leaves, as a job
// stuck in the printer).
struct PrintJobConfig {
  Dword id = 0;  // given by the spooler; not part of a machine file
  std::wstring document;
  std::optional<Dword> cancelMilliseconds = 0;
};

// A port monitor and its DLL in the native system directory.
struct MonitorConfig {
  std::wstring name;
  std::wstring dll;
};

// The port monitors of a fresh Windows installation.
std::vector<MonitorConfig> defaultMonitors();

struct PrinterQueueConfig {
  std::wstring name;
  std::wstring port;
  std::wstring driver;
  std::wstring printProcessor = L"winprint";
  std::wstring datatype = L"RAW";
  bool offline = false;
  std::vector<PrintJobConfig> jobs;
};

struct PrinterConnectionConfig {
  std::wstring name;
  std::wstring driver;
};

struct SpoolerConfig {
  std::vector<PrinterDriverConfig> drivers;
  // Drivers whose files the spooler process holds loaded: they cannot be
  // deleted until the spooler service restarts.
  std::vector<std::wstring> loadedDrivers;
  std::vector<PortConfig> ports;
  std::vector<PrinterQueueConfig> printers;
  std::vector<PrinterConnectionConfig> connections;
  std::vector<MonitorConfig> monitors = defaultMonitors();
};

// The "Spooler" service: running or stopped, and how long a stop or a
// start takes in virtual milliseconds (nothing: it never finishes).
struct ServiceConfig {
  bool running = true;
  std::optional<Dword> stopMilliseconds = 0;
  std::optional<Dword> startMilliseconds = 0;
};

// The spooler of a fresh Windows installation: its local ports, no queue.
SpoolerConfig defaultSpooler();

// A printer device of the USBPRINT enumerator, connected now or known from
// an earlier connection. A property that is missing reads as not set, as
// it does for a device that Windows has not installed yet: such a device
// has hardware ids but no manufacturer. `port` is the USB port ("USB001")
// Windows gave the device when it first installed it; empty until then.
struct UsbDeviceConfig {
  std::wstring instanceId;  // "USBPRINT\\CORVANTISLV31\\7&2A4F&0&USB001"
  bool present = true;
  std::optional<std::vector<std::wstring>> hardwareIds;
  std::optional<std::wstring> manufacturer;
  std::optional<Dword> configFlags;
  std::wstring port;
};

struct MachineConfig {
  OsProfile os;
  WinsockProfile winsock;
  std::vector<Fault> faults;
  std::vector<DesktopWindow> desktop;
  // The disk; without a list, the folders of a fresh Windows installation.
  std::optional<std::vector<FileEntry>> files;
  std::vector<RegistryKeyConfig> registry = defaultRegistry();
  // The spooler; without one, that of a fresh Windows installation.
  std::optional<SpoolerConfig> spooler;
  ServiceConfig spoolerService;
  std::vector<UsbDeviceConfig> devices;
};

// The folders of a fresh Windows installation of the given profile.
std::vector<FileEntry> defaultFiles(const OsProfile& os);

}  // namespace plat::sim
