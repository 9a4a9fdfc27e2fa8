// Staging the package INF into the simulated driver store and removing the
// maker's INF files and packages again.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "installer/engine/driver_engine.h"
#include "installer/payload/drv_file_manifest.h"
#include "platform/api/ports.h"
#include "platform/sim/text.h"
#include "tests/engine_fixture.h"
#include "tests/sim_support.h"

namespace brisvane {
namespace {

using plat::sim::FileEntry;
using plat::sim::Machine;
using plat::sim::MachineConfig;
using testing::engineLogEntries;
using testing::kLv31;
using testing::runInProcess;

constexpr wchar_t kSourceInf[] = L"C:\\Program Files (x86)\\Corvantis\\Corvantis.inf";
constexpr wchar_t kInfFolder[] = L"C:\\Windows\\inf\\";
constexpr wchar_t kRepository[] = L"C:\\Windows\\System32\\DriverStore\\FileRepository";

std::vector<std::uint8_t> bytes(const std::string& text) {
  return {text.begin(), text.end()};
}

std::vector<std::uint8_t> infText(const std::string& catalog) {
  return bytes("[Version]\r\nClass=Printer\r\nCatalogFile=" + catalog +
               "\r\n\r\n[Corvantis.NTamd64]\r\n\"Corvantis LV31 (203 dpi)\"=IDP.Install,"
               "USBPRINT\\Corvantis_LV31-203dpi8D4D\r\n");
}

// The names inside the driver store's repository.
std::vector<std::wstring> repositoryEntries(const Machine& machine) {
  std::vector<std::wstring> names;
  for (const FileEntry& entry : machine.folderContents(kRepository)) {
    names.push_back(entry.path.substr(std::wstring(kRepository).size() + 1));
  }
  return names;
}

plat::Dword stage(Machine& machine) {
  plat::Dword result = 0;
  runInProcess(machine, [&] {
    CDriverEngine engine;
    engine.switchLoggingOn();
    result = engine.preInstallDriver(kSourceInf);
  });
  return result;
}

void unstage(Machine& machine) {
  runInProcess(machine, [] {
    CDriverEngine engine;
    engine.switchLoggingOn();
    engine.unPreInstallDriver();
  });
}

TEST(DriverStore, StagingCopiesOnceAndTheSecondTimeFindsThePackage) {
  Machine machine;
  machine.putFile({kSourceInf, false, 0, infText("Corvantis.cat")});
  machine.putFile({std::wstring(kInfFolder) + L"oem0.inf", false, 0, infText("Other.cat")});

  EXPECT_EQ(stage(machine), 0U);
  const auto oem = machine.file(std::wstring(kInfFolder) + L"oem1.inf");
  ASSERT_TRUE(oem);
  EXPECT_EQ(oem->contents, infText("Corvantis.cat"));
  EXPECT_TRUE(machine.file(std::wstring(kInfFolder) + L"oem1.PNF"));
  const auto stored = repositoryEntries(machine);
  ASSERT_EQ(stored.size(), 2U);
  EXPECT_EQ(stored[0].rfind(L"corvantis.inf_amd64_", 0), 0U) << stored[0];
  EXPECT_TRUE(engineLogEntries(machine).empty());

  // Already in the store: SetupCopyOEMInf reports ERROR_FILE_EXISTS under
  // the no-overwrite style, which counts as staged.
  EXPECT_EQ(stage(machine), 0U);
  EXPECT_FALSE(machine.file(std::wstring(kInfFolder) + L"oem2.inf"));
  EXPECT_EQ(repositoryEntries(machine).size(), 2U);
  const auto log = engineLogEntries(machine);
  ASSERT_EQ(log.size(), 1U);
  EXPECT_NE(log[0].find(std::wstring(L"preInstallDriver: SetupCopyOEMInf ") + kSourceInf),
            std::wstring::npos);
}

TEST(DriverStore, TheStoreGetsThePackageFilesOfTheMachinesArchitecture) {
  for (const bool is64Bit : {false, true}) {
    MachineConfig config;
    config.os.is64Bit = is64Bit;
    Machine machine(config);
    plat::Dword result = 1;
    std::map<std::wstring, std::vector<std::uint8_t>> expected;  // by path in the package
    runInProcess(machine, [&] {
      const CDrvFileManifest manifest;
      result = CDriverEngine().preInstallDriver(manifest.extractToWorkFolder());
      const std::wstring native = is64Bit ? L"x64\\" : L"Win32\\";
      for (const DrvFileEntry& entry : manifest.entries()) {
        const std::wstring path = entry.path;
        if (path.rfind(L"Common\\", 0) == 0 || path.rfind(native, 0) == 0) {
          expected[path] = testing::drvFileResource(entry.resourceId);
        }
      }
    });
    ASSERT_EQ(result, 0U) << "64-bit " << is64Bit;

    const std::vector<std::wstring> stored = repositoryEntries(machine);
    ASSERT_FALSE(stored.empty());
    const std::wstring package = std::wstring(kRepository) + L"\\" + stored[0] + L"\\";
    for (const auto& [path, bytes] : expected) {
      const auto file = machine.file(package + path);
      ASSERT_TRUE(file) << plat::sim::toUtf8(path);
      EXPECT_EQ(file->contents, bytes) << plat::sim::toUtf8(path);
    }
    EXPECT_TRUE(machine.file(package + L"Corvantis.cat"));
    EXPECT_FALSE(machine.file(package + (is64Bit ? L"Win32" : L"x64")))
        << "nothing of the other architecture";
  }
}

TEST(DriverStore, EveryOtherFailureIs1602) {
  struct Case {
    const char* name;
    bool administrator;
    std::vector<plat::sim::Fault> faults;
    bool sourcePresent;
    std::string sourceFiles{};  // sections added to the INF
  };
  const Case cases[] = {
      {"no administrator rights", false, {}, true},
      {"source INF missing", true, {}, false},
      {"copy fails otherwise", true, {{"SetupCopyOEMInfW", plat::kErrorDiskFull, 1}}, true},
      {"oem INF gone after the copy", true, {{"GetFileAttributesW", 2, 1}}, true},
      {"a file the package lists is missing",
       true,
       {},
       true,
       "[SourceDisksFiles]\r\nSeagull_V3_PrintDispatcher.dll=1\r\n"},
  };
  for (const Case& c : cases) {
    MachineConfig config;
    config.os.isAdministrator = c.administrator;
    config.faults = c.faults;
    Machine machine(config);
    std::vector<std::uint8_t> inf = infText("Corvantis.cat");
    inf.insert(inf.end(), c.sourceFiles.begin(), c.sourceFiles.end());
    if (c.sourcePresent) machine.putFile({kSourceInf, false, 0, inf});
    EXPECT_EQ(stage(machine), kErrorInstallUserExit) << c.name;
  }
}

TEST(DriverStore, UnstagingDeletesOnlyTheMakersOemFilesUpTo254) {
  Machine machine;
  const std::pair<int, std::string> oems[] = {{5, "Corvantis.cat"},   {6, "Other.cat"},
                                              {7, "Veltrane.cat"},    {8, "corvantis.cat"},
                                              {254, "Corvantis.cat"}, {255, "Corvantis.cat"}};
  for (const auto& [number, catalog] : oems) {
    const std::wstring base = kInfFolder + (L"oem" + std::to_wstring(number));
    machine.putFile({base + L".inf", false, 0, infText(catalog)});
    machine.putFile({base + L".PNF", false, 0, {}});
  }
  unstage(machine);
  for (const auto& [number, catalog] : oems) {
    const std::wstring base = kInfFolder + (L"oem" + std::to_wstring(number));
    const bool deleted = number <= 254 && (catalog == "Corvantis.cat" || catalog == "Veltrane.cat");
    EXPECT_EQ(machine.file(base + L".inf").has_value(), !deleted) << number;
    EXPECT_EQ(machine.file(base + L".PNF").has_value(), !deleted) << number;
  }
  const auto log = engineLogEntries(machine);
  ASSERT_EQ(log.size(), 3U);
  EXPECT_NE(log[0].find(L"unPreInstallDriver: DeleteFile C:\\Windows\\inf\\oem5.inf"),
            std::wstring::npos);
}

TEST(DriverStore, PackagesLeaveTheStoreOnceNoDriverOfThemIsInstalled) {
  struct Case {
    const char* name;
    plat::Dword majorVersion;
    bool driverInstalled;
    bool packageLeft;
  };
  const Case cases[] = {
      {"no driver installed", 10, false, false},
      {"driver still installed", 10, true, true},
      {"Windows XP lacks DeletePrinterDriverPackage", 5, false, true},
  };
  for (const Case& c : cases) {
    MachineConfig config;
    config.os.majorVersion = c.majorVersion;
    config.spooler = plat::sim::defaultSpooler();
    if (c.driverInstalled) config.spooler->drivers.push_back({kLv31, L"Windows x64", L""});
    Machine machine(config);
    machine.putFile({kSourceInf, false, 0, infText("Corvantis.cat")});
    ASSERT_EQ(stage(machine), 0U) << c.name;
    unstage(machine);
    // The oem INF goes in every case; the package only when the spooler
    // lets it go.
    EXPECT_FALSE(machine.file(std::wstring(kInfFolder) + L"oem0.inf")) << c.name;
    EXPECT_EQ(repositoryEntries(machine).empty(), !c.packageLeft) << c.name;
  }
}

}  // namespace
}  // namespace brisvane
