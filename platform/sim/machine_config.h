// What a machine file describes: the Windows installation and the lasting
// state of the simulated PC.
#pragma once

#include <cstdint>
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

struct MachineConfig {
  OsProfile os;
  WinsockProfile winsock;
  std::vector<Fault> faults;
  std::vector<DesktopWindow> desktop;
  std::vector<RegistryKeyConfig> registry = defaultRegistry();
};

}  // namespace plat::sim
