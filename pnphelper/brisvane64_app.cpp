#include "pnphelper/brisvane64_app.h"

#include <string>

#include "platform/api/device_port.h"
#include "platform/api/ports.h"
#include "platform/ui/privilege.h"
#include "platform/ui/strings.h"

namespace brisvane {

namespace {

constexpr plat::Dword kInitCommonControlsExSize = 8;
constexpr wchar_t kInfName[] = L"Corvantis.inf";
constexpr wchar_t kMarkerName[] = L"Brisvane64.log";

}  // namespace

bool CBrisvane64App::initInstance() {
  plat::Ports& ports = plat::ports();
  ports.windows().initCommonControlsEx(kInitCommonControlsExSize, plat::kIccWin95Classes);
  plat::ui::enableProcessPrivilege(plat::kSeLoadDriverName);

  const std::wstring hardwareId = commandLine();
  if (hardwareId.empty()) return false;

  const std::wstring program = ports.system().moduleFileName();
  const std::size_t slash = program.rfind(L'\\');
  const std::wstring folder = slash == std::wstring::npos ? L"" : program.substr(0, slash);
  const std::wstring infPath = folder + L"\\" + kInfName;

  // Neither the result nor the reboot flag matters: the marker says that
  // the helper has finished, not that the update worked.
  static_cast<void>(ports.devices().updateDriverForPlugAndPlayDevices(hardwareId, infPath,
                                                                      plat::kInstallFlagForce));

  const plat::Result<plat::OpenedFile> created = ports.files().createFile(
      plat::replaceAll(infPath, kInfName, kMarkerName), plat::kGenericWrite, plat::kFileShareRead,
      plat::kOpenAlways, plat::kFileAttributeNormal);
  if (created) marker_.emplace(ports.files(), created->handle);
  return false;
}

int brisvane64Main() {
  CBrisvane64App app;
  return plat::ui::runApplication(app);
}

}  // namespace brisvane
