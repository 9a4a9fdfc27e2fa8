#include "installer/payload/platform_detection.h"

#include "platform/api/ports.h"

namespace brisvane {

bool isWow64() {
  // IsWow64Process is looked up at run time: it is missing before XP SP2.
  // The call's own result is not looked at, only the value it stored.
  const plat::Wow64Query query = plat::ports().system().isWow64Process();
  return query.functionPresent && query.value == 1;
}

std::wstring getWindowsName() {
  const plat::Result<plat::OsVersionInfo> version = plat::ports().system().getVersionEx();
  if (!version) {
    return {};
  }
  const plat::OsVersionInfo& v = *version;
  const bool workstation = v.productType == plat::kVerNtWorkstation;
  switch (v.majorVersion) {
    case 4:
      if (v.minorVersion == 0 && v.platformId == plat::kVerPlatformWin32Nt) {
        return L"Microsoft Windows NT 4.0";
      }
      if (v.minorVersion == 0 && v.platformId == plat::kVerPlatformWin32Windows) {
        return L"Microsoft Windows 95";
      }
      if (v.minorVersion == 10) return L"Microsoft Windows 98";
      if (v.minorVersion == 90) return L"Microsoft Windows Me";
      return {};
    case 5:
      if (v.minorVersion == 0) return L"Microsoft Windows 2000";
      if (v.minorVersion == 1 || v.minorVersion == 2) return L"Microsoft Windows XP";
      return {};
    case 6:
      // Without a supported-OS list in the manifest, Windows 8 and later
      // all report 6.2, so this is the name of every current Windows.
      if (v.minorVersion == 0) {
        return workstation ? L"Microsoft Windows Vista" : L"Microsoft Windows Server 2008";
      }
      if (v.minorVersion == 1) {
        return workstation ? L"Microsoft Windows 7" : L"Microsoft Windows Server 2008 R2";
      }
      if (v.minorVersion == 2) return L"Microsoft Windows 10";
      return {};
    default:
      return L"unknown";
  }
}

}  // namespace brisvane
