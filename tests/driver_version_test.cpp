// The installed driver version from the registry and the oem INF files,
// the packaged version, and the order of versions.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "installer/engine/driver_engine.h"
#include "installer/engine/driver_version.h"
#include "platform/api/ports.h"
#include "tests/sim_support.h"

namespace brisvane {
namespace {

using plat::sim::Machine;
using plat::sim::MachineConfig;
using plat::sim::RegistryKeyConfig;
using plat::sim::RegistryValueConfig;
using testing::runInProcess;

constexpr wchar_t kX64Drivers[] =
    L"HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\Windows "
    L"x64\\Drivers\\Version-3\\";
constexpr wchar_t kX86Drivers[] =
    L"HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\Windows NT "
    L"x86\\Drivers\\Version-3\\";

RegistryKeyConfig driverKey(const std::wstring& name, std::vector<RegistryValueConfig> values,
                            const wchar_t* environment = kX64Drivers) {
  return {environment + name, false, std::move(values)};
}

RegistryValueConfig sz(const std::wstring& text) {
  return {L"DriverVersion", plat::kRegSz, plat::regSzData(text)};
}

RegistryValueConfig binary(std::vector<std::uint8_t> bytes) {
  return {L"DriverVersion", plat::kRegBinary, std::move(bytes)};
}

struct Inf {
  int number;
  std::string text;
};

std::string oemText(const std::string& catalog, const std::string& driverVer) {
  return "[Version]\r\nSignature=\"$Windows NT$\"\r\nCatalogFile=" + catalog +
         "\r\nDriverVer=" + driverVer + "\r\n";
}

struct VersionCase {
  const char* what;
  std::vector<RegistryKeyConfig> keys;
  std::vector<Inf> infs;
  std::wstring expected;
  bool is64Bit = true;
};

std::wstring installedVersion(const VersionCase& c) {
  MachineConfig config;
  config.os.is64Bit = c.is64Bit;
  for (const auto& key : c.keys) config.registry.push_back(key);
  Machine machine(config);
  for (const Inf& inf : c.infs) {
    machine.putFile({L"C:\\Windows\\inf\\oem" + std::to_wstring(inf.number) + L".inf", false, 0,
                     std::vector<std::uint8_t>(inf.text.begin(), inf.text.end())});
  }
  std::wstring version;
  runInProcess(machine, [&] { version = CDriverEngine().getInstalledDriverVersion(); });
  return version;
}

TEST(InstalledDriverVersion, RegistryFirstThenTheHighestMakerOemFile) {
  const std::string big(2'000'000, 'x');
  const std::vector<std::uint8_t> tooBig(600, 0x41);
  const VersionCase cases[] = {
      {"nothing of the maker", {driverKey(L"Other Laser", {sz(L"9.9.9.9")})}, {}, L"0.0.0.0"},
      {"REG_SZ wins over the oem files",
       {driverKey(L"Corvantis LV31 (203 dpi)", {sz(L"2021.1.5.0")})},
       {{3, oemText("Corvantis.cat", "01/02/2020,2020.1.1.0")}},
       L"2021.1.5.0"},
      {"REG_BINARY is four 16-bit fields",
       {driverKey(L"Corvantis LV31 (203 dpi)", {binary({0, 0, 5, 0, 1, 0, 0xE5, 0x07})})},
       {},
       L"2021.1.5.0"},
      {"a short REG_BINARY reads as zeros beyond its end",
       {driverKey(L"Corvantis LV31 (203 dpi)", {binary({5, 0})})},
       {},
       L"0.0.0.5"},
      {"the older form", {driverKey(L"Veltrane PX40", {sz(L"2021.1 M-5")})}, {}, L"2021.1.5"},
      {"a sentinel value is passed over",
       {driverKey(L"Corvantis A", {sz(L"0.0.0.0")}),
        driverKey(L"Corvantis B", {sz(L"2020.1.1.0")})},
       {},
       L"2020.1.1.0"},
      {"a missing or oversized value tells nothing",
       {driverKey(L"Corvantis A", {}),
        driverKey(L"Corvantis B", {{L"DriverVersion", plat::kRegBinary, tooBig}}),
        driverKey(L"Corvantis C", {{L"DriverVersion", plat::kRegSz, tooBig}})},
       {{5, oemText("Corvantis.cat", "07/08/2021,2021.1.5.0")}},
       L"2021.1.5.0"},
      {"text that is not a version is what the spooler recorded",
       {driverKey(L"Corvantis A", {sz(L"not a version")})},
       {},
       L"not a version"},
      {"a REG_DWORD is read as text",
       {driverKey(L"Corvantis A", {{L"DriverVersion", plat::kRegDword, plat::dwordLeBytes(0x31)}})},
       {},
       L"1"},
      {"text filling the buffer without its zero",
       {driverKey(L"Corvantis A",
                  {{L"DriverVersion", plat::kRegSz, std::vector<std::uint8_t>(512, 0x32)}})},
       {},
       std::wstring(256, L'\x3232')},
      {"32-bit Windows reads the x86 drivers",
       {driverKey(L"Corvantis A", {sz(L"1.2.3.4")}),
        driverKey(L"Corvantis A", {sz(L"5.6.7.8")}, kX86Drivers)},
       {},
       L"5.6.7.8",
       false},
      {"the higher oem number wins, whatever the versions",
       {},
       {{3, oemText("Corvantis.cat", "07/08/2021,2021.1.5.0")},
        {17, oemText("Corvantis.cat", "01/02/2020,2020.1.1.0")}},
       L"2020.1.1.0"},
      {"the catalog name is compared exactly",
       {},
       {{3, oemText("corvantis.cat", "07/08/2021,2021.1.5.0")},
        {4, oemText("Corvantis.cat.old", "07/08/2021,2021.1.5.0")}},
       L"0.0.0.0"},
      {"oem254 is the last one read",
       {},
       {{254, oemText("Veltrane.cat", " 2019.3.1.0 ")},
        {255, oemText("Corvantis.cat", "07/08/2021,2021.1.5.0")}},
       L"2019.3.1.0"},
      {"an empty DriverVer keeps the earlier file's",
       {},
       {{1, oemText("Corvantis.cat", "07/08/2021,2021.1.5.0")}, {2, oemText("Corvantis.cat", "")}},
       L"2021.1.5.0"},
      {"empty, binary and huge files",
       {},
       {{1, ""},
        {2, std::string("\xFF\xFE\x00\x00[\x00V\x00\x01\x02\x03", 11)},
        {3, big + "\r\n" + oemText("Corvantis.cat", "07/08/2021,2021.1.4.0")},
        {4, "[Version]\r\nCatalogFile=Corvantis.cat\r\nDriverVer=" + big + "\r\n"}},
       std::wstring(255 - 1, L'x')},
  };
  for (const VersionCase& c : cases) EXPECT_EQ(installedVersion(c), c.expected) << c.what;
}

TEST(InstalledDriverVersion, NoWindowsFolderLeavesTheSentinel) {
  MachineConfig config;
  config.faults = {{"SHGetFolderPathW", plat::kErrorAccessDenied, -1}};
  Machine machine(config);
  machine.putFile({L"C:\\Windows\\inf\\oem1.inf", false, 0, [] {
                     const std::string t = oemText("Corvantis.cat", "07/08/2021,2021.1.5.0");
                     return std::vector<std::uint8_t>(t.begin(), t.end());
                   }()});
  std::wstring version;
  runInProcess(machine, [&] { version = CDriverEngine().getInstalledDriverVersion(); });
  EXPECT_EQ(version, L"0.0.0.0");
}

TEST(CompareDriverVersions, PartCountFirstThenSignedPartsFromTheLeft) {
  struct Comparison {
    const wchar_t* installed;
    int expected;
  };
  const Comparison cases[] = {
      {L"2021.1.5.0", 0},
      {L"2021.1.4.9", 1},
      {L"2021.1.10.0", -1},
      {L"2021.1.5.0.1", -1},
      {L"1.0.0.0.0", -1},
      {L"2021.1.5", 1},
      {L"2022.0.0.0", -1},
      {L"2021.1.5.-1", 1},
      {L" 2021.+1.5.0", 0},
      {L"2021.1x.5.0", 0},
      {L"", 1},
      {L"a.b.c.d", 1},
      {L"2021..5.0", 1},
      {L"99999999999.0.0.0", -1},
  };
  for (const Comparison& c : cases) {
    EXPECT_EQ(compareDriverVersions(getPackageDriverVersion(), c.installed), c.expected)
        << ::testing::PrintToString(std::wstring(c.installed));
  }
  EXPECT_EQ(compareDriverVersions(L"", L"0"), 0);
  EXPECT_EQ(compareDriverVersions(L"2021..5", L"2021.0.5"), 0);
}

// The package INF, as Brisvane carries it, names the packaged version.
TEST(PackageDriverVersion, EqualsTheDriverVerOfThePackageInf) {
  Machine machine;
  std::string inf;
  runInProcess(machine, [&] {
    plat::ResourcePort& resources = plat::ports().resources();
    const plat::ResourceHandle found = resources.findResource(131, L"DRVFILE");
    ASSERT_NE(found, plat::kNoResource);
    const std::uint8_t* bytes = resources.loadResource(found);
    inf.assign(reinterpret_cast<const char*>(bytes), resources.sizeofResource(found));
  });
  ASSERT_NE(inf.find("CatalogFile=Corvantis.cat\r\n"), std::string::npos);
  const std::wstring version = getPackageDriverVersion();
  const std::wstring date = getPackageDriverDate();
  const std::string expected = "\r\nDriverVer=" + std::string(date.begin(), date.end()) + "," +
                               std::string(version.begin(), version.end()) + "\r\n";
  EXPECT_NE(inf.find(expected), std::string::npos) << expected;
  EXPECT_EQ(version, L"2021.1.5.0");
  EXPECT_EQ(date, L"07/08/2021");
}

}  // namespace
}  // namespace brisvane
