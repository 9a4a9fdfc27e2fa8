// Staging the package INF into the driver store, and removing every trace
// of the maker's INF from the INF folder and the driver store.
#include <array>
#include <string>

#include "installer/engine/driver_engine.h"
#include "platform/api/ports.h"

namespace brisvane {

namespace {

// The destination buffer SetupCopyOEMInfW writes the oem INF path to.
constexpr plat::Dword kOemInfChars = 255;
// unPreInstallDriver looks at oem0.inf to oem254.inf, gaps included.
constexpr int kLastOemNumber = 254;
// The catalog buffer of the CatalogFile lookup.
constexpr plat::Dword kCatalogChars = 255;
constexpr std::array<const wchar_t*, 2> kMakerCatalogs = {L"Corvantis.cat", L"Veltrane.cat"};

std::wstring oemFile(const std::wstring& infFolder, int number, const wchar_t* extension) {
  return infFolder + L"\\oem" + std::to_wstring(number) + extension;
}

bool isMakerCatalog(const std::wstring& catalog) {
  for (const wchar_t* maker : kMakerCatalogs) {
    if (catalog == maker) return true;
  }
  return false;
}

}  // namespace

plat::Dword CDriverEngine::preInstallDriver(const std::wstring& infPath) {
  plat::Ports& ports = plat::ports();
  const plat::Result<std::wstring> copied = ports.devices().setupCopyOemInf(
      infPath, plat::kSpCopyNewerOrSame | plat::kSpCopyNoOverwrite, kOemInfChars);
  if (copied) {
    const bool present = ports.files().getFileAttributes(*copied).ok();
    return present ? plat::kErrorSuccess : kErrorInstallUserExit;
  }
  logEntry(L"preInstallDriver: SetupCopyOEMInf " + infPath);
  // The same package is already in the store.
  if (copied.error() == plat::kErrorFileExists) return plat::kErrorSuccess;
  return kErrorInstallUserExit;
}

void CDriverEngine::unPreInstallDriver() {
  plat::Ports& ports = plat::ports();
  const plat::Result<std::wstring> windows = ports.shell().shGetFolderPath(plat::kCsidlWindows, 0);
  if (!windows) return;
  const std::wstring infFolder = *windows + L"\\inf";
  for (int number = 0; number <= kLastOemNumber; ++number) {
    const std::wstring inf = oemFile(infFolder, number, L".inf");
    const std::wstring catalog =
        ports.files().getPrivateProfileString(L"Version", L"CatalogFile", L"", inf, kCatalogChars);
    if (!isMakerCatalog(catalog)) continue;
    logEntry(L"unPreInstallDriver: DeleteFile " + inf);
    ports.files().deleteFile(inf);
    ports.files().deleteFile(oemFile(infFolder, number, L".PNF"));
  }
  const std::wstring repository = *windows + L"\\System32\\DriverStore\\FileRepository\\";
  const auto packages = ports.files().findFiles(repository + L"corvantis.inf*");
  for (const std::wstring& package : packages.valueOr({})) {
    // Fails with kErrorProcNotFound where the spooler lacks the call; the
    // packages then stay, as every other failure leaves them.
    ports.spooler().deletePrinterDriverPackage(repository + package + L"\\Corvantis.inf");
  }
}

}  // namespace brisvane
