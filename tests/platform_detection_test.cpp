#include <gtest/gtest.h>

#include "installer/payload/platform_detection.h"
#include "tests/sim_support.h"

namespace brisvane {
namespace {

using plat::sim::Machine;
using plat::sim::MachineConfig;
using testing::runInProcess;

struct VersionCase {
  plat::Dword major;
  plat::Dword minor;
  plat::Dword platformId;
  std::uint8_t productType;
  const wchar_t* name;
};

// Each version as the program sees it, without the compatibility cap.
const VersionCase kVersions[] = {
    {4, 0, plat::kVerPlatformWin32Nt, plat::kVerNtWorkstation, L"Microsoft Windows NT 4.0"},
    {4, 0, plat::kVerPlatformWin32Windows, 0, L"Microsoft Windows 95"},
    {4, 0, 0, 0, L""},
    {4, 10, plat::kVerPlatformWin32Windows, 0, L"Microsoft Windows 98"},
    {4, 90, plat::kVerPlatformWin32Windows, 0, L"Microsoft Windows Me"},
    {5, 0, plat::kVerPlatformWin32Nt, plat::kVerNtWorkstation, L"Microsoft Windows 2000"},
    {5, 1, plat::kVerPlatformWin32Nt, plat::kVerNtWorkstation, L"Microsoft Windows XP"},
    {5, 2, plat::kVerPlatformWin32Nt, plat::kVerNtServer, L"Microsoft Windows XP"},
    {5, 3, plat::kVerPlatformWin32Nt, plat::kVerNtWorkstation, L""},
    {6, 0, plat::kVerPlatformWin32Nt, plat::kVerNtWorkstation, L"Microsoft Windows Vista"},
    {6, 0, plat::kVerPlatformWin32Nt, plat::kVerNtServer, L"Microsoft Windows Server 2008"},
    {6, 1, plat::kVerPlatformWin32Nt, plat::kVerNtWorkstation, L"Microsoft Windows 7"},
    {6, 1, plat::kVerPlatformWin32Nt, plat::kVerNtDomainController,
     L"Microsoft Windows Server 2008 R2"},
    {6, 2, plat::kVerPlatformWin32Nt, plat::kVerNtWorkstation, L"Microsoft Windows 10"},
    {6, 2, plat::kVerPlatformWin32Nt, plat::kVerNtServer, L"Microsoft Windows 10"},
    {6, 3, plat::kVerPlatformWin32Nt, plat::kVerNtWorkstation, L""},
    {10, 0, plat::kVerPlatformWin32Nt, plat::kVerNtWorkstation, L"unknown"},
    {3, 51, plat::kVerPlatformWin32Nt, plat::kVerNtWorkstation, L"unknown"},
};

TEST(WindowsName, NamesEveryVersionOfTheTable) {
  for (const auto& c : kVersions) {
    MachineConfig config;
    config.os.majorVersion = c.major;
    config.os.minorVersion = c.minor;
    config.os.platformId = c.platformId;
    config.os.productType = c.productType;
    Machine machine(config);
    std::wstring name = L"(not run)";
    runInProcess(
        machine, [&] { name = getWindowsName(); }, /*declaresSupportedOs=*/true);
    EXPECT_EQ(name, c.name) << c.major << "." << c.minor << " platform " << c.platformId
                            << " product " << int{c.productType};
  }
}

TEST(WindowsName, EveryWindowsAfter8IsNamedWindows10ForBrisvane) {
  // Brisvane's manifest lists no supported versions, so Windows reports 6.2.
  for (const auto& [major, minor] : {std::pair{6U, 3U}, std::pair{10U, 0U}}) {
    MachineConfig config;
    config.os.majorVersion = major;
    config.os.minorVersion = minor;
    config.os.productType = plat::kVerNtServer;
    Machine machine(config);
    std::wstring name;
    runInProcess(machine, [&] { name = getWindowsName(); });
    EXPECT_EQ(name, L"Microsoft Windows 10") << major << "." << minor;
  }
}

TEST(WindowsName, FailedVersionCallGivesEmptyName) {
  MachineConfig config;
  config.faults.push_back({"GetVersionExW", plat::kErrorInvalidParameter, 1});
  Machine machine(config);
  std::wstring first = L"x";
  std::wstring second;
  runInProcess(machine, [&] {
    first = getWindowsName();
    second = getWindowsName();
  });
  EXPECT_EQ(first, L"");
  EXPECT_EQ(second, L"Microsoft Windows 10");
}

TEST(Wow64, TrueOnlyForThe32BitProgramOn64BitWindows) {
  struct Case {
    bool is64Bit;
    bool hasFunction;
    bool expected;
  };
  for (const auto& c : {Case{true, true, true}, Case{false, true, false}, Case{true, false, false},
                        Case{false, false, false}}) {
    MachineConfig config;
    config.os.is64Bit = c.is64Bit;
    config.os.hasIsWow64Process = c.hasFunction;
    Machine machine(config);
    bool answer = !c.expected;
    runInProcess(machine, [&] { answer = isWow64(); });
    EXPECT_EQ(answer, c.expected) << "64-bit " << c.is64Bit << ", function " << c.hasFunction;
  }
}

TEST(Wow64, FailedCallLeavesTheAnswerFalse) {
  MachineConfig config;
  config.faults.push_back({"IsWow64Process", plat::kErrorAccessDenied, -1});
  Machine machine(config);
  bool answer = true;
  runInProcess(machine, [&] { answer = isWow64(); });
  EXPECT_FALSE(answer);
}

}  // namespace
}  // namespace brisvane
