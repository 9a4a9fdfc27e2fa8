// The driver store of the simulated machine, kept on its disk as Windows
// keeps it: a staged package is "%windir%\inf\oemN.inf" (the lowest free
// number) with its precompiled "oemN.PNF", and a folder of the
// FileRepository named after the INF with the architecture and a hash of
// its contents ("corvantis.inf_amd64_...") that holds the INF under its
// own name, its catalog and the source files it lists for the machine's
// architecture, in their folders relative to the INF. A package is the
// same package when its INF bytes are equal.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/api/device_port.h"
#include "platform/sim/machine_config.h"
#include "platform/sim/model/file_system.h"

namespace plat::sim {

inline constexpr wchar_t kInfFolder[] = L"C:\\Windows\\inf";
inline constexpr wchar_t kFileRepository[] = L"C:\\Windows\\System32\\DriverStore\\FileRepository";

// SetupCopyOEMInfW of the INF at the full path `source`; ERROR_FILE_NOT_FOUND
// when a source file it lists is missing.
Result<std::wstring> stageDriverPackage(FileSystem& disk, const OsProfile& os,
                                        const std::wstring& source, Dword copyStyle,
                                        Dword destinationChars);

// DeletePrinterDriverPackageW of the INF at the full path `inf` inside
// the FileRepository. The package stays while one of the drivers it lists
// is installed (`installedDrivers`); otherwise its folder and its oem INF
// with the PNF are removed.
Dword removeDriverPackage(FileSystem& disk, const OsProfile& os, const std::wstring& inf,
                          const std::vector<std::wstring>& installedDrivers);

// The driver model names an INF lists: the quoted text that starts a
// model line, "\"Corvantis LV31 (203 dpi)\"=IDP.Install,USBPRINT\\...".
std::vector<std::wstring> infDriverNames(const std::vector<std::uint8_t>& contents);

// What an INF installs for a device: the driver model whose line lists the
// hardware id (compared without regard to case), the manufacturer the
// [Manufacturer] section names (through [Strings]) and the version of its
// DriverVer line.
struct InfMatch {
  std::wstring driver;
  std::wstring manufacturer;
  std::wstring version;
};
std::optional<InfMatch> infMatchFor(const std::vector<std::uint8_t>& contents,
                                    const std::wstring& hardwareId);
// The contents of the staged oem INF files in "%windir%\inf".
std::vector<std::vector<std::uint8_t>> stagedInfs(const FileSystem& disk);

}  // namespace plat::sim
