#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "installer/payload/drv_file_manifest.h"
#include "platform/api/ports.h"
#include "platform/sim/text.h"
#include "tests/sim_support.h"

namespace brisvane {
namespace {

using plat::sim::FileEntry;
using plat::sim::Machine;
using plat::sim::MachineConfig;
using testing::runInProcess;

constexpr wchar_t kWorkFolder64[] = L"C:\\Program Files (x86)\\Corvantis";
constexpr wchar_t kWorkFolder32[] = L"C:\\Program Files\\Corvantis";
// As the spooler spells it.
constexpr wchar_t kDriverDirectory[] = L"C:\\Windows\\system32\\spool\\DRIVERS\\W32X86";

MachineConfig windows(bool is64Bit) {
  MachineConfig config;
  config.os.is64Bit = is64Bit;
  return config;
}

// The files (not folders) inside `folder`, relative to it.
std::set<std::wstring> filesIn(const Machine& machine, const std::wstring& folder) {
  std::set<std::wstring> names;
  for (const FileEntry& entry : machine.folderContents(folder)) {
    if (!entry.isFolder) names.insert(entry.path.substr(folder.size() + 1));
  }
  return names;
}

std::vector<std::uint8_t> contentsOf(const Machine& machine, const std::wstring& path) {
  const auto file = machine.file(path);
  return file ? file->contents : std::vector<std::uint8_t>{};
}

// The bytes of a DRVFILE resource of Brisvane, read in a process.
std::vector<std::uint8_t> resourceBytes(Machine& machine, std::uint16_t id) {
  std::vector<std::uint8_t> bytes;
  runInProcess(machine, [&] { bytes = testing::drvFileResource(id); });
  return bytes;
}

// The bytes of every package entry's resource, by resource id, read in one
// process.
std::map<std::uint16_t, std::vector<std::uint8_t>> packageBytes(Machine& machine) {
  std::map<std::uint16_t, std::vector<std::uint8_t>> out;
  runInProcess(machine, [&] {
    const CDrvFileManifest manifest;
    for (const DrvFileEntry& entry : manifest.entries()) {
      out[entry.resourceId] = testing::drvFileResource(entry.resourceId);
    }
  });
  return out;
}

void putReadOnlyFile(Machine& machine, const std::wstring& path) {
  machine.putFile({path, false, plat::kFileAttributeReadOnly, {'o', 'l', 'd'}});
}

TEST(DrvFileManifest, FileNameIsTheTextAfterTheLastBackslash) {
  const std::pair<const wchar_t*, const wchar_t*> cases[] = {
      {L"Common\\idpQX_2021.1.5.0.ini", L"idpQX_2021.1.5.0.ini"},
      {L"Corvantis.inf", L"Corvantis.inf"},
      {L"a\\b\\c.cab", L"c.cab"},
      {L"x64\\", L""},
      {L"Win32/qx.cab", L"Win32/qx.cab"},
  };
  for (const auto& [path, name] : cases) {
    EXPECT_EQ(CDrvFileManifest::fileNameOf(path), name) << path;
  }
}

TEST(DrvFileManifest, EveryEntryNamesAResourceOfTheProgram) {
  Machine machine;
  const CDrvFileManifest manifest;
  std::set<std::uint16_t> ids;
  for (const DrvFileEntry& entry : manifest.entries()) {
    ids.insert(entry.resourceId);
    EXPECT_FALSE(resourceBytes(machine, entry.resourceId).empty()) << entry.path;
  }
  EXPECT_EQ(ids.size(), kDrvFileCount);
  EXPECT_FALSE(resourceBytes(machine, kBrisvane64ResourceId).empty());
}

TEST(WriteResourceFile, FailsWithoutAFolderPartOrAResourceOrAFullWrite) {
  Machine machine;
  const std::wstring folder = L"C:\\Users\\User\\Desktop";
  struct Case {
    const char* what;
    std::wstring path;
    std::uint16_t id;
    const char* fault;
    bool expected;
    bool fileExpected;
  };
  const Case cases[] = {
      {"bare name", L"Corvantis.inf", 131, nullptr, false, false},
      {"forward slash", folder + L"/fwd.inf", 131, nullptr, true, true},
      {"new folder", folder + L"\\New\\a.inf", 131, nullptr, true, true},
      {"two missing levels", folder + L"\\A\\B\\a.inf", 131, nullptr, false, false},
      {"missing resource", folder + L"\\missing.bin", 999, nullptr, false, false},
      {"disk full", folder + L"\\full.inf", 131, "WriteFile", false, true},
  };
  for (const Case& c : cases) {
    if (c.fault != nullptr) {
      machine.configure([&](MachineConfig& m) {
        m.faults.push_back({c.fault, plat::kErrorDiskFull, 1});
      });
    }
    bool result = !c.expected;
    runInProcess(machine,
                 [&] { result = CDrvFileManifest().writeResourceFile(c.path, c.id, L"DRVFILE"); });
    EXPECT_EQ(result, c.expected) << c.what;
    std::wstring full = c.path;
    std::replace(full.begin(), full.end(), L'/', L'\\');
    EXPECT_EQ(machine.file(full).has_value(), c.fileExpected) << c.what;
  }
  EXPECT_EQ(contentsOf(machine, folder + L"\\New\\a.inf"), resourceBytes(machine, 131));
}

TEST(ExtractToWorkFolder, WritesTheWholePackageWhateverTheArchitecture) {
  for (const bool is64Bit : {false, true}) {
    Machine machine(windows(is64Bit));
    const std::wstring workFolder = is64Bit ? kWorkFolder64 : kWorkFolder32;
    machine.putFile({workFolder + L"\\Corvantis.inf", false, 0, {'o', 'l', 'd'}});
    std::wstring inf;
    runInProcess(machine, [&] { inf = CDrvFileManifest().extractToWorkFolder(); });

    EXPECT_EQ(inf, workFolder + L"\\Corvantis.inf");
    std::set<std::wstring> expected = {L"Brisvane64.exe"};
    const CDrvFileManifest manifest;
    for (const DrvFileEntry& entry : manifest.entries()) expected.insert(entry.path);
    EXPECT_EQ(filesIn(machine, workFolder), expected) << "64-bit " << is64Bit;
    EXPECT_EQ(contentsOf(machine, inf), resourceBytes(machine, 131)) << "overwritten";
    EXPECT_EQ(contentsOf(machine, workFolder + L"\\Brisvane64.exe"),
              resourceBytes(machine, kBrisvane64ResourceId));

    const auto launches = machine.launches();
    ASSERT_EQ(launches.size(), 1U);
    EXPECT_EQ(launches[0].file, workFolder + L"\\RegPrtDrvDll.bat");
    EXPECT_EQ(launches[0].verb, L"open");
    EXPECT_EQ(launches[0].parameters, L"");
    EXPECT_EQ(launches[0].showCommand, plat::kSwHide);
  }
}

TEST(ExtractToWorkFolder, RunsTheBatchOnlyWhenEveryEntryUpToItWasWritten) {
  // A read-only file makes the write of its entry fail: entry 22 is the
  // library the batch registers, 23 the batch, 24 the entry after it.
  const std::pair<int, std::size_t> cases[] = {{22, 0}, {23, 0}, {24, 1}};
  for (const auto& [failing, launches] : cases) {
    Machine machine;
    const CDrvFileManifest manifest;
    const std::wstring failingPath =
        std::wstring(kWorkFolder64) + L"\\" + manifest.entries()[failing].path;
    putReadOnlyFile(machine, failingPath);
    std::wstring inf = L"(not run)";
    runInProcess(machine, [&] { inf = CDrvFileManifest().extractToWorkFolder(); });
    EXPECT_EQ(inf, L"") << "entry " << failing;
    EXPECT_EQ(machine.launches().size(), launches) << "entry " << failing;
    EXPECT_EQ(contentsOf(machine, failingPath), (std::vector<std::uint8_t>{'o', 'l', 'd'}));
    const std::wstring next =
        std::wstring(kWorkFolder64) + L"\\" + manifest.entries()[failing + 1].path;
    EXPECT_FALSE(machine.file(next)) << "entry " << failing;
    EXPECT_FALSE(machine.file(std::wstring(kWorkFolder64) + L"\\Brisvane64.exe"));
  }
}

TEST(ExtractToWorkFolder, WritesNothingWithoutProgramFilesOrRights) {
  MachineConfig noFolder;
  noFolder.faults.push_back({"SHGetFolderPathW", plat::kErrorFileNotFound, -1});
  MachineConfig noRights;
  noRights.os.isAdministrator = false;
  for (const MachineConfig& config : {noFolder, noRights}) {
    Machine machine(config);
    std::wstring inf = L"(not run)";
    runInProcess(machine, [&] { inf = CDrvFileManifest().extractToWorkFolder(); });
    EXPECT_EQ(inf, L"");
    EXPECT_TRUE(machine.folderContents(L"C:\\Program Files (x86)").empty());
    EXPECT_TRUE(machine.launches().empty());
  }
}

TEST(RemoveFromWorkFolder, DeletesThePackageAndKeepsFoldersAndSettings) {
  Machine machine;
  const std::wstring ini = std::wstring(kWorkFolder64) + L"\\Brisvane.ini";
  runInProcess(machine, [&] { CDrvFileManifest().extractToWorkFolder(); });
  machine.putFile({ini, false, 0, {}});
  runInProcess(machine, [&] { CDrvFileManifest().removeFromWorkFolder(); });
  EXPECT_EQ(filesIn(machine, kWorkFolder64), std::set<std::wstring>{L"Brisvane.ini"});
  for (const wchar_t* folder : {L"\\Common", L"\\Win32", L"\\x64"}) {
    EXPECT_TRUE(machine.file(kWorkFolder64 + std::wstring(folder))) << folder;
  }
}

struct Staged {
  std::set<std::wstring> driverDirectory;
  std::set<std::wstring> versionThree;
  std::vector<plat::sim::WindowInfo> boxes;
};

Staged stage(Machine& machine) {
  Staged staged;
  machine.addMessageBoxRule([&](const plat::sim::WindowInfo& box) {
    staged.boxes.push_back(box);
    return std::optional<int>(plat::kIdOk);
  });
  runInProcess(machine, [] { CDrvFileManifest().stageToDriverDirectory(); });
  for (const std::wstring& name : filesIn(machine, kDriverDirectory)) {
    if (name.rfind(L"3\\", 0) == 0) {
      staged.versionThree.insert(name.substr(2));
    } else {
      staged.driverDirectory.insert(name);
    }
  }
  return staged;
}

std::set<std::wstring> namesOfEntriesNotIn(const wchar_t* folder) {
  std::set<std::wstring> names;
  const CDrvFileManifest manifest;
  for (const DrvFileEntry& entry : manifest.entries()) {
    if (std::wstring(entry.path).rfind(std::wstring(folder) + L"\\", 0) != 0) {
      names.insert(CDrvFileManifest::fileNameOf(entry.path));
    }
  }
  return names;
}

TEST(StageToDriverDirectory, CopiesTheArchitecturesFilesFlatAndCabinetsIntoThree) {
  const std::set<std::wstring> cabinets = {L"qx#idp_2021.1.5.0.cab", L"qx#epl_2021.1.5.0.cab",
                                           L"qx#base_2021.1.5.0.cab", L"qx#dpl_2021.1.5.0.cab",
                                           L"qx#nei_2021.1.5.0.cab"};
  for (const bool is64Bit : {false, true}) {
    Machine machine(windows(is64Bit));
    const std::wstring existing = std::wstring(kDriverDirectory) + L"\\3\\qx#idp_2021.1.5.0.cab";
    machine.putFile({existing, false, 0, {'o', 'l', 'd'}});
    const Staged staged = stage(machine);

    const std::set<std::wstring> expected = namesOfEntriesNotIn(is64Bit ? L"Win32" : L"x64");
    // The 26 entries of the running architecture, by file name.
    EXPECT_EQ(expected.size(), 26U);
    EXPECT_EQ(staged.driverDirectory, expected) << "64-bit " << is64Bit;
    EXPECT_EQ(staged.versionThree, cabinets);
    EXPECT_TRUE(staged.boxes.empty());
    // The two architectures' files share their names; the bytes tell which
    // one was staged.
    const auto resources = packageBytes(machine);
    const std::wstring other = is64Bit ? L"Win32\\" : L"x64\\";
    const CDrvFileManifest manifest;
    for (const DrvFileEntry& entry : manifest.entries()) {
      const std::wstring path = entry.path;
      if (path.rfind(other, 0) == 0) continue;
      const std::wstring name = CDrvFileManifest::fileNameOf(path);
      const std::vector<std::uint8_t>& expectedBytes = resources.at(entry.resourceId);
      EXPECT_EQ(contentsOf(machine, std::wstring(kDriverDirectory) + L"\\" + name), expectedBytes)
          << plat::sim::toUtf8(path);
      if (cabinets.count(name) != 0) {
        EXPECT_EQ(contentsOf(machine, std::wstring(kDriverDirectory) + L"\\3\\" + name),
                  expectedBytes)
            << plat::sim::toUtf8(path);
      }
    }

    // The native dispatcher lands in the native System32, not in SysWOW64.
    const std::uint16_t dispatcherId = is64Bit ? 201 : 193;
    EXPECT_EQ(contentsOf(machine, L"C:\\Windows\\System32\\Seagull_V3_NetMonDispatcher.dll"),
              resourceBytes(machine, dispatcherId));
    EXPECT_FALSE(machine.file(L"C:\\Windows\\SysWOW64\\Seagull_V3_NetMonDispatcher.dll"));
  }
}

TEST(StageToDriverDirectory, SwitchesRedirectionBackOn) {
  Machine machine;
  runInProcess(machine, [] {
    CDrvFileManifest().stageToDriverDirectory();
    CDrvFileManifest().writeResourceFile(L"C:\\Windows\\System32\\after.dll", 201, L"DRVFILE");
  });
  EXPECT_TRUE(machine.file(L"C:\\Windows\\SysWOW64\\after.dll"));
}

TEST(StageToDriverDirectory, WritesNoCabinetCopiesWithoutTheThreeFolder) {
  MachineConfig config;
  config.files = plat::sim::defaultFiles(config.os);
  std::erase_if(*config.files, [](const FileEntry& e) { return e.path.ends_with(L"W32X86\\3"); });
  config.files->push_back({kDriverDirectory, true, 0, {}});
  Machine machine(config);
  const Staged staged = stage(machine);
  EXPECT_EQ(staged.driverDirectory.size(), 26U);
  EXPECT_TRUE(staged.versionThree.empty());
  EXPECT_FALSE(machine.file(std::wstring(kDriverDirectory) + L"\\3"));
}

TEST(StageToDriverDirectory, FailedWriteShowsCreateFailedAndStops) {
  Machine machine(windows(false));
  const std::wstring blocked = std::wstring(kDriverDirectory) + L"\\eplQX_2021.1.5.0.ini";
  putReadOnlyFile(machine, blocked);
  const Staged staged = stage(machine);
  ASSERT_EQ(staged.boxes.size(), 1U);
  EXPECT_EQ(staged.boxes[0].title, L"Create Failed");
  EXPECT_EQ(staged.boxes[0].messageText, blocked);
  EXPECT_EQ(staged.boxes[0].messageType, plat::kMbIconError);
  // Entries 0 to 10 were written (the x64 ones skipped), nothing after.
  EXPECT_TRUE(staged.driverDirectory.count(L"Seagull_V3_NetMonDispatcher.dll") == 1);
  EXPECT_TRUE(staged.driverDirectory.count(L"qx#epl_2021.1.5.0.cab") == 0);
  EXPECT_EQ(staged.versionThree, std::set<std::wstring>{L"qx#idp_2021.1.5.0.cab"});
  EXPECT_FALSE(machine.file(L"C:\\Windows\\System32\\Seagull_V3_NetMonDispatcher.dll"));
}

TEST(StageToDriverDirectory, DoesNothingWithoutTheDriverDirectory) {
  MachineConfig config;
  config.faults.push_back({"GetPrinterDriverDirectoryW", plat::kErrorAccessDenied, -1});
  Machine machine(config);
  const Staged staged = stage(machine);
  EXPECT_TRUE(staged.driverDirectory.empty());
  EXPECT_TRUE(staged.boxes.empty());
  EXPECT_FALSE(machine.file(L"C:\\Windows\\System32\\Seagull_V3_NetMonDispatcher.dll"));
}

TEST(RemoveFromDriverDirectory, DeletesTheFlatCopiesOnly) {
  Machine machine;
  stage(machine);
  runInProcess(machine, [] { CDrvFileManifest().removeFromDriverDirectory(); });
  const std::set<std::wstring> remaining = filesIn(machine, kDriverDirectory);
  EXPECT_EQ(remaining.size(), 5U);
  for (const std::wstring& name : remaining) EXPECT_EQ(name.rfind(L"3\\", 0), 0U) << name;
  EXPECT_TRUE(machine.file(L"C:\\Windows\\System32\\Seagull_V3_NetMonDispatcher.dll"));
}

}  // namespace
}  // namespace brisvane
