// The driver package that Brisvane carries as resources of type "DRVFILE",
// and the operations that write it to disk and remove it again.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace brisvane {

// One package file: its resource id and its path in the work folder, a
// bare file name or one folder ("Common", "Win32" or "x64") and a name.
struct DrvFileEntry {
  std::uint16_t resourceId;
  const wchar_t* path;
};

inline constexpr std::size_t kDrvFileCount = 34;
// Resource 163: the Brisvane64 program, written beside the package.
inline constexpr std::uint16_t kBrisvane64ResourceId = 163;

class CDrvFileManifest {
 public:
  // Writes every package file into the work folder, runs the registration
  // batch right after writing it, writes Brisvane64.exe, and returns the
  // full path of the INF; empty when the folder is unknown or a write fails.
  std::wstring extractToWorkFolder() const;
  // Deletes the package files and Brisvane64.exe from the work folder.
  void removeFromWorkFolder() const;
  // Copies the files of the running architecture flat into the printer
  // driver directory, cabinets also into its "3" subfolder, and the network
  // monitor dispatcher into the native system directory. A failed write is
  // shown in a "Create Failed" box and ends the staging.
  void stageToDriverDirectory() const;
  // Deletes from the printer driver directory what staging put there.
  void removeFromDriverDirectory() const;

  // Writes resource `id` of type `type` to `path`, creating the file's
  // folder (one level) when needed. False when the path has no folder
  // part, the folder or file cannot be created, the resource is missing or
  // not all of it was written.
  bool writeResourceFile(const std::wstring& path, std::uint16_t id,
                         const std::wstring& type) const;
  // The text after the last backslash, or the whole path.
  static std::wstring fileNameOf(const std::wstring& path);

  [[nodiscard]] const std::array<DrvFileEntry, kDrvFileCount>& entries() const { return entries_; }

 private:
  std::wstring typeName_ = L"DRVFILE";
  std::array<DrvFileEntry, kDrvFileCount> entries_ = {{
      {173, L"Common\\Defaults[QX]_2021.1.5.0.sds"},
      {130, L"corvantis.cat"},
      {131, L"Corvantis.inf"},
      {176, L"Common\\idpQX_2021.1.5.0.ini"},
      {177, L"Common\\idpQXenu_2021.1.5.0.chm"},
      {178, L"Common\\qx#base_2021.1.5.0.ddz"},
      {180, L"Common\\qx#idp_2021.1.5.0.ddz"},
      {189, L"Win32\\qx#idp_2021.1.5.0.cab"},
      {197, L"x64\\qx#idp_2021.1.5.0.cab"},
      {201, L"x64\\Seagull_V3_NetMonDispatcher.dll"},
      {193, L"Win32\\Seagull_V3_NetMonDispatcher.dll"},
      {174, L"Common\\eplQX_2021.1.5.0.ini"},
      {188, L"Win32\\qx#epl_2021.1.5.0.cab"},
      {196, L"x64\\qx#epl_2021.1.5.0.cab"},
      {179, L"Common\\qx#epl_2021.1.5.0.ddz"},
      {175, L"Common\\eplQXenu_2021.1.5.0.chm"},
      {187, L"Win32\\qx#base_2021.1.5.0.cab"},
      {195, L"x64\\qx#base_2021.1.5.0.cab"},
      {192, L"Win32\\Seagull_V3_ConfigDispatcher.dll"},
      {200, L"x64\\Seagull_V3_ConfigDispatcher.dll"},
      {194, L"Win32\\Seagull_V3_PrintDispatcher.dll"},
      {202, L"x64\\Seagull_V3_PrintDispatcher.dll"},
      {153, L"DriverAutomationLibrary.dll"},
      {154, L"RegPrtDrvDll.bat"},
      {209, L"Win32\\qx#dpl_2021.1.5.0.cab"},
      {210, L"x64\\qx#dpl_2021.1.5.0.cab"},
      {208, L"Common\\qx#dpl_2021.1.5.0.ddz"},
      {207, L"Common\\dplQX_2021.1.5.0.ini"},
      {206, L"Common\\dplQXenu_2021.1.5.0.chm"},
      {191, L"Win32\\qx#nei_2021.1.5.0.cab"},
      {199, L"x64\\qx#nei_2021.1.5.0.cab"},
      {182, L"Common\\qx#nei_2021.1.5.0.ddz"},
      {185, L"Common\\neiQX_2021.1.5.0.ini"},
      {186, L"Common\\neiQXenu_2021.1.5.0.chm"},
  }};
};

}  // namespace brisvane
