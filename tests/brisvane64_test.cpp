// Brisvane64 on the simulated machine: the plug-and-play update for the
// hardware id on its command line and the marker it leaves beside itself.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/api/system_port.h"
#include "platform/sim/machine.h"
#include "tools/simhost/simhost.h"

namespace brisvane {
namespace {

using plat::sim::FileEntry;
using plat::sim::Machine;
using plat::sim::MachineConfig;
using plat::sim::UsbDeviceConfig;

constexpr wchar_t kWorkFolder[] = L"C:\\Program Files (x86)\\Corvantis";
constexpr wchar_t kLv31Id[] = L"USBPRINT\\Corvantis_LV31-203dpi8D4D";

std::wstring inWorkFolder(const wchar_t* name) {
  return std::wstring(kWorkFolder) + L"\\" + name;
}

std::vector<std::uint8_t> bytes(const std::string& text) {
  return {text.begin(), text.end()};
}

struct HelperRun {
  bool ended = false;
  std::optional<FileEntry> marker;
  bool windowSeen = false;
  bool loadDriverPrivilege = false;  // enabled in the helper's token
  MachineConfig after;
};

// Runs Brisvane64 from the work folder with `arguments` on a machine with
// one connected, driverless LV31 and, when `withInf`, the package INF.
HelperRun runHelper(const std::wstring& arguments, bool withInf = true,
                    std::optional<std::vector<std::uint8_t>> oldMarker = std::nullopt,
                    std::vector<plat::sim::Fault> faults = {}) {
  MachineConfig config;
  config.faults = std::move(faults);
  UsbDeviceConfig lv31;
  lv31.instanceId = L"USBPRINT\\CORVANTISLV31\\1";
  lv31.hardwareIds = std::vector<std::wstring>{kLv31Id};
  config.devices.push_back(lv31);
  Machine machine(config);
  simhost::installPrograms(machine);
  machine.putFile({inWorkFolder(simhost::kBrisvane64Program), false, 0, bytes("MZ")});
  if (withInf) {
    machine.putFile({inWorkFolder(L"Corvantis.inf"), false, 0,
                     bytes("[Manufacturer]\r\n%Corvantis%=Corvantis,NTamd64\r\n"
                           "[Corvantis.NTamd64]\r\n\"Corvantis LV31 (203 dpi)\"=IDP.Install,"
                           "USBPRINT\\Corvantis_LV31-203dpi8D4D\r\n"
                           "[Strings]\r\nCorvantis=\"Corvantis\"\r\n")});
  }
  if (oldMarker) machine.putFile({inWorkFolder(L"Brisvane64.log"), false, 0, *oldMarker});
  HelperRun run;
  const auto process = machine.startProcess(simhost::kBrisvane64Program, arguments, kWorkFolder);
  EXPECT_NE(process, 0U);
  machine.settle();
  for (const auto& window : machine.windows()) run.windowSeen |= window.process == process;
  run.ended = !machine.isRunning(process);
  run.loadDriverPrivilege = machine.privilegeEnabled(process, plat::kSeLoadDriverName);
  run.marker = machine.file(inWorkFolder(L"Brisvane64.log"));
  run.after = machine.snapshot();
  return run;
}

TEST(Brisvane64, AnEmptyCommandLineEndsWithoutUpdateOrMarker) {
  const HelperRun run = runHelper(L"");
  EXPECT_TRUE(run.ended);
  EXPECT_FALSE(run.marker);
  EXPECT_FALSE(run.after.devices[0].manufacturer);
}

TEST(Brisvane64, BindsTheConnectedDeviceAndLeavesAnEmptyMarker) {
  const HelperRun run = runHelper(kLv31Id);
  EXPECT_TRUE(run.ended);
  EXPECT_FALSE(run.windowSeen);
  EXPECT_TRUE(run.loadDriverPrivilege);
  ASSERT_TRUE(run.marker);
  EXPECT_TRUE(run.marker->contents.empty());
  EXPECT_EQ(run.after.devices[0].manufacturer, std::optional<std::wstring>(L"Corvantis"));
  ASSERT_EQ(run.after.spooler->printers.size(), 1U);
  EXPECT_EQ(run.after.spooler->printers[0].name, L"Corvantis LV31 (203 dpi)");
}

TEST(Brisvane64, AFailedPrivilegeStepIsPassedOver) {
  for (const char* call : {"OpenProcessToken", "LookupPrivilegeValueW", "AdjustTokenPrivileges"}) {
    const HelperRun run =
        runHelper(kLv31Id, true, std::nullopt, {{call, plat::kErrorAccessDenied}});
    EXPECT_FALSE(run.loadDriverPrivilege) << call;
    EXPECT_TRUE(run.marker) << call;
    EXPECT_EQ(run.after.devices[0].manufacturer, std::optional<std::wstring>(L"Corvantis")) << call;
  }
}

TEST(Brisvane64, AFailedUpdateStillLeavesTheMarker) {
  struct Case {
    const char* name;
    std::wstring arguments;
    bool withInf;
  };
  const Case cases[] = {
      {"an id no device has", L"USBPRINT\\Corvantis_Nothing", true},
      {"the id with quotes and a space, taken whole", L"\"" + std::wstring(kLv31Id) + L"\" x",
       true},
      {"no INF beside the program", kLv31Id, false},
  };
  for (const Case& c : cases) {
    const HelperRun run = runHelper(c.arguments, c.withInf);
    EXPECT_TRUE(run.ended) << c.name;
    EXPECT_FALSE(run.windowSeen) << c.name;
    EXPECT_TRUE(run.marker) << c.name;
    EXPECT_FALSE(run.after.devices[0].manufacturer) << c.name;
  }
}

TEST(Brisvane64, AnOldMarkerIsOpenedAndKeptAsItWas) {
  const HelperRun run = runHelper(kLv31Id, true, bytes("from before"));
  ASSERT_TRUE(run.marker);
  EXPECT_EQ(run.marker->contents, bytes("from before"));
}

}  // namespace
}  // namespace brisvane
