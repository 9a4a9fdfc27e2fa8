// The maker's USB printers on the simulated machine: the scan for a
// connected one, the in-process driver update, flagging for reinstall with
// the rescan that lets plug and play install them, and plugging in and out.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "installer/engine/driver_engine.h"
#include "installer/engine/maker_rules.h"
#include "platform/api/ports.h"
#include "platform/sim/model/device_table.h"
#include "tests/sim_support.h"

namespace brisvane {
namespace {

using plat::Dword;
using plat::sim::Machine;
using plat::sim::MachineConfig;
using plat::sim::PrinterQueueConfig;
using plat::sim::UsbDeviceConfig;
using testing::engineLogEntries;
using testing::runInProcess;

constexpr wchar_t kLv31Id[] = L"USBPRINT\\Corvantis_LV31-203dpi8D4D";
constexpr wchar_t kHn66Id[] = L"USBPRINT\\Veltrane_HN66-203dpi74A6";
constexpr wchar_t kOtherId[] = L"USBPRINT\\Acme_Laser5";
constexpr wchar_t kLv31Model[] = L"Corvantis LV31 (203 dpi)";
// CONFIGFLAG_DISABLED: the user turned the device off.
constexpr Dword kConfigFlagDisabled = 0x1;
constexpr wchar_t kPackageInf[] = L"C:\\Corvantis\\Corvantis.inf";
constexpr wchar_t kStagedInf[] = L"C:\\Windows\\inf\\oem3.inf";

std::vector<std::uint8_t> bytes(const std::string& text) {
  return {text.begin(), text.end()};
}

// The parts of the package INF that plug and play reads.
std::vector<std::uint8_t> packageInf() {
  return bytes(
      "[Version]\r\nClass=Printer\r\nProvider=%Corvantis%\r\nCatalogFile=Corvantis.cat\r\n"
      "DriverVer=07/08/2021,2021.1.5.0\r\n\r\n[Manufacturer]\r\n%Corvantis%=Corvantis,NTx86,"
      "NTamd64\r\n\r\n[Corvantis.NTx86]\r\n\"Corvantis LV31 (203 dpi)\"=IDP.Install,"
      "USBPRINT\\Corvantis_LV31-203dpi8D4D\r\n\"Veltrane HN66 (203 dpi)\"=IDP.Install,"
      "USBPRINT\\Veltrane_HN66-203dpi74A6\r\n\r\n[Strings]\r\nCorvantis=\"Corvantis\"\r\n");
}

UsbDeviceConfig device(const std::wstring& instance, std::optional<std::vector<std::wstring>> ids,
                       std::optional<std::wstring> manufacturer = std::nullopt,
                       bool present = true) {
  UsbDeviceConfig out;
  out.instanceId = L"USBPRINT\\" + instance;
  out.hardwareIds = std::move(ids);
  out.manufacturer = std::move(manufacturer);
  out.present = present;
  out.configFlags = 0;
  return out;
}

// A device Windows has not installed: hardware ids, no manufacturer.
UsbDeviceConfig newDevice(const std::wstring& instance, const std::wstring& id,
                          bool present = true) {
  return device(instance, std::vector<std::wstring>{id, id.substr(9)}, std::nullopt, present);
}

MachineConfig machineWith(std::vector<UsbDeviceConfig> devices, bool is64Bit = true) {
  MachineConfig config;
  config.os.is64Bit = is64Bit;
  config.devices = std::move(devices);
  return config;
}

const UsbDeviceConfig& deviceNamed(const MachineConfig& snapshot, const std::wstring& instance) {
  for (const UsbDeviceConfig& d : snapshot.devices) {
    if (d.instanceId == L"USBPRINT\\" + instance) return d;
  }
  throw std::runtime_error("no such device");
}

std::optional<PrinterQueueConfig> queueOnPort(const MachineConfig& snapshot,
                                              const std::wstring& port) {
  for (const PrinterQueueConfig& q : snapshot.spooler->printers) {
    if (q.port == port) return q;
  }
  return std::nullopt;
}

struct Found {
  Dword result = 0;
  std::wstring id;
};

Found find(Machine& machine, bool driverInstalled) {
  Found found;
  runInProcess(machine, [&] {
    CDriverEngine engine;
    const plat::Result<std::wstring> id = engine.findUsbPrinterHardwareId(driverInstalled);
    found.result = id.error();
    found.id = id.valueOr(L"");
  });
  return found;
}

TEST(UsbDevices, MakerDeviceIdsHoldEitherBrandWordAsItIs) {
  EXPECT_TRUE(isMakerDeviceId(kLv31Id));
  EXPECT_TRUE(isMakerDeviceId(L"Veltrane"));
  EXPECT_TRUE(isMakerDeviceId(L"USBPRINT\\CorvantisLV31"));  // no space needed
  EXPECT_FALSE(isMakerDeviceId(L"USBPRINT\\CORVANTIS_LV31"));
  EXPECT_FALSE(isMakerDeviceId(kOtherId));
  EXPECT_FALSE(isMakerDeviceId(L""));
}

TEST(UsbDevices, FindChoosesTheFirstCandidateWithAMakerHardwareId) {
  const std::wstring tooLong = std::wstring(kLv31Id) + std::wstring(140, L'X');  // > 260 bytes
  // Exactly 260 bytes with the two terminating zeros: it fits.
  const std::wstring fits = std::wstring(kLv31Id) + std::wstring(128 - 34, L'Y');
  struct Case {
    const char* name;
    std::vector<UsbDeviceConfig> devices;
    std::wstring whenNotInstalled;
    std::wstring whenInstalled;
  };
  const std::vector<Case> cases = {
      {"no device at all", {}, L"", L""},
      {"a maker printer with its driver", {device(L"A", {{kLv31Id}}, L"Corvantis")}, kLv31Id, L""},
      {"a maker printer without a driver", {newDevice(L"A", kLv31Id)}, kLv31Id, kLv31Id},
      {"an empty manufacturer is none", {device(L"A", {{kHn66Id}}, L"")}, kHn66Id, kHn66Id},
      {"a driverless device before it makes every later device a candidate",
       {newDevice(L"A", kOtherId), device(L"B", {{kLv31Id}}, L"Corvantis")},
       kLv31Id,
       kLv31Id},
      {"a brand-word manufacturer with another hardware id",
       {device(L"A", {{kOtherId}}, L"Corvantis Inc.")},
       L"",
       L""},
      {"an unplugged maker printer", {newDevice(L"A", kLv31Id, false)}, L"", L""},
      {"another maker's installed printer", {device(L"A", {{kOtherId}}, L"Acme")}, L"", L""},
      {"a hardware id too long for the buffer, then a good one",
       {device(L"A", {{tooLong}}), newDevice(L"B", kHn66Id)},
       kHn66Id,
       kHn66Id},
      {"a hardware id that just fits", {device(L"A", {{fits}})}, fits, fits},
      {"an empty multi-string", {device(L"A", std::vector<std::wstring>{})}, L"", L""},
      {"a device with no properties, then an installed maker printer",
       {device(L"A", std::nullopt), device(L"B", {{kLv31Id}}, L"Corvantis")},
       kLv31Id,
       kLv31Id},
  };
  for (const Case& c : cases) {
    for (const bool installed : {false, true}) {
      Machine machine(machineWith(c.devices));
      const Found found = find(machine, installed);
      EXPECT_EQ(found.result, 0U) << c.name;
      EXPECT_EQ(found.id, installed ? c.whenInstalled : c.whenNotInstalled)
          << c.name << (installed ? " (driver installed)" : " (no driver installed)");
    }
  }
}

TEST(UsbDevices, FindReportsADeviceSetThatCannotBeBuilt) {
  MachineConfig config = machineWith({newDevice(L"A", kLv31Id)});
  config.faults.push_back({"SetupDiGetClassDevsW", plat::kErrorNotEnoughMemory, 1});
  Machine machine(config);
  Found found;
  found.id = L"stale";
  runInProcess(machine, [&] {
    CDriverEngine engine;
    const plat::Result<std::wstring> id = engine.findUsbPrinterHardwareId(false);
    found.result = id.error();
    found.id = id.valueOr(L"");
  });
  EXPECT_EQ(found.result, plat::kErrorNotEnoughMemory);
  EXPECT_EQ(found.id, L"");
}

TEST(UsbDevices, FindGetsThroughThousandsOfDevices) {
  std::vector<UsbDeviceConfig> devices;
  devices.reserve(3001);
  for (int i = 0; i < 3000; ++i) {
    devices.push_back(device(L"OTHER\\" + std::to_wstring(i), {{kOtherId}}, L"Acme"));
  }
  devices.push_back(newDevice(L"LAST", kLv31Id));
  Machine machine(machineWith(devices));
  EXPECT_EQ(find(machine, true).id, kLv31Id);
}

struct Update {
  Dword result = 0;
  std::vector<std::wstring> log;
};

Update update(Machine& machine, const std::wstring& id) {
  Update out;
  runInProcess(machine, [&] {
    CDriverEngine engine;
    engine.switchLoggingOn();
    out.result = engine.updateDriverForDevice(kPackageInf, id);
  });
  out.log = engineLogEntries(machine);
  return out;
}

TEST(UsbDevices, UpdateDriverBindsTheConnectedDeviceAtOnce) {
  Machine machine(machineWith({newDevice(L"A", kLv31Id), newDevice(L"B", kHn66Id)}, false));
  machine.putFile({kPackageInf, false, 0, packageInf()});
  const Update result = update(machine, kLv31Id);
  EXPECT_EQ(result.result, 0U);
  EXPECT_TRUE(result.log.empty());
  const MachineConfig after = machine.snapshot();
  EXPECT_EQ(deviceNamed(after, L"A").manufacturer, std::optional<std::wstring>(L"Corvantis"));
  EXPECT_FALSE(deviceNamed(after, L"B").manufacturer) << "only the device with that id";
  const auto queue = queueOnPort(after, L"USB001");
  ASSERT_TRUE(queue);
  EXPECT_EQ(queue->name, kLv31Model);
  EXPECT_EQ(queue->driver, kLv31Model);
  EXPECT_FALSE(queue->offline);
  ASSERT_EQ(after.spooler->drivers.size(), 1U);
  EXPECT_EQ(after.spooler->drivers[0].environment, L"Windows NT x86");
  EXPECT_EQ(after.spooler->drivers[0].version, L"2021.1.5.0");
}

TEST(UsbDevices, UpdateDriverFailuresAreReturnedAndLogged) {
  struct Case {
    const char* name;
    bool is64Bit;
    std::vector<UsbDeviceConfig> devices;
    Dword expected;
    const wchar_t* logged;
  };
  const std::vector<Case> cases = {
      {"no connected device has the id",
       false,
       {newDevice(L"A", kLv31Id, false)},
       plat::kErrorNoMoreItems,
       L"UpdateDriverForPlugAndPlayDevices err:259"},
      {"a 32-bit process on 64-bit Windows",
       true,
       {newDevice(L"A", kLv31Id)},
       plat::kErrorInWow64,
       L"UpdateDriverForPlugAndPlayDevices err:-536870347"},
  };
  for (const Case& c : cases) {
    Machine machine(machineWith(c.devices, c.is64Bit));
    machine.putFile({kPackageInf, false, 0, packageInf()});
    const Update result = update(machine, kLv31Id);
    EXPECT_EQ(result.result, c.expected) << c.name;
    EXPECT_EQ(result.log,
              (std::vector<std::wstring>{
                  std::wstring(L"UpdateDriverForPlugAndPlayDevices ") + kLv31Id, c.logged}))
        << c.name;
    EXPECT_FALSE(machine.snapshot().devices[0].manufacturer) << c.name;
  }
}

TEST(UsbDevices, PlugAndPlayUpdateRefusesWhatWindowsRefuses) {
  struct Case {
    const char* name;
    bool administrator;
    bool infThere;
    const wchar_t* id;
    Dword expected;
  };
  const Case cases[] = {
      {"without administrator rights", false, true, kLv31Id, plat::kErrorAccessDenied},
      {"without the INF", true, false, kLv31Id, plat::kErrorFileNotFound},
      {"an INF that does not list the id", true, true, kOtherId, plat::kErrorNoMoreItems},
  };
  for (const Case& c : cases) {
    MachineConfig config = machineWith({newDevice(L"A", kLv31Id), newDevice(L"B", kOtherId)});
    config.os.isAdministrator = c.administrator;
    Machine machine(config);
    if (c.infThere) machine.putFile({kPackageInf, false, 0, packageInf()});
    Dword error = 0;
    plat::sim::ProgramImage image;
    image.name = L"Helper64.exe";
    image.is64Bit = true;
    image.entry = [&] {
      error = plat::ports()
                  .devices()
                  .updateDriverForPlugAndPlayDevices(c.id, kPackageInf, plat::kInstallFlagForce)
                  .error();
      return 0;
    };
    machine.installProgram(image);
    machine.startProcess(L"Helper64.exe", L"");
    machine.settle();
    EXPECT_EQ(error, c.expected) << c.name;
    EXPECT_TRUE(machine.snapshot().spooler->printers.empty()) << c.name;
  }
}

TEST(UsbDevices, FlaggedDevicesInstallWhenPresentAndAfterTheDelay) {
  UsbDeviceConfig disabled = newDevice(L"OFF", kLv31Id, false);
  disabled.configFlags = kConfigFlagDisabled;
  Machine machine(machineWith({
      newDevice(L"HERE", kLv31Id),
      device(L"BARE", std::nullopt),  // its failed read must not reuse the id before it
      newDevice(L"AWAY", kHn66Id, false),
      newDevice(L"OTHER", kOtherId),
      disabled,
  }));
  machine.putFile({kStagedInf, false, 0, packageInf()});
  Dword result = 1;
  Dword pendingAtOnce = 0;
  runInProcess(machine, [&] {
    CDriverEngine engine;
    engine.switchLoggingOn();
    result = engine.markDevicesForReinstall();
    pendingAtOnce = plat::ports().devices().cmpWaitNoPendingInstallEvents(0);
  });
  EXPECT_EQ(result, 0U);
  EXPECT_EQ(pendingAtOnce, plat::kWaitTimeout);
  EXPECT_EQ(engineLogEntries(machine), std::vector<std::wstring>{L"rescanDevices CR_SUCCESS:0"});
  MachineConfig now = machine.snapshot();
  EXPECT_EQ(deviceNamed(now, L"HERE").configFlags,
            std::optional<Dword>(plat::kConfigFlagReinstall));
  EXPECT_EQ(deviceNamed(now, L"AWAY").configFlags,
            std::optional<Dword>(plat::kConfigFlagReinstall));
  EXPECT_EQ(deviceNamed(now, L"OTHER").configFlags, std::optional<Dword>(0));
  EXPECT_EQ(deviceNamed(now, L"BARE").configFlags, std::optional<Dword>(0));
  EXPECT_EQ(deviceNamed(now, L"OFF").configFlags,
            std::optional<Dword>(kConfigFlagDisabled | plat::kConfigFlagReinstall))
      << "the reinstall flag joins the others";
  EXPECT_TRUE(now.spooler->printers.empty()) << "nothing is installed before the delay";

  machine.advance(plat::sim::kInstallMilliseconds);
  now = machine.snapshot();
  EXPECT_EQ(deviceNamed(now, L"HERE").configFlags, std::optional<Dword>(0));
  EXPECT_EQ(deviceNamed(now, L"HERE").manufacturer, std::optional<std::wstring>(L"Corvantis"));
  ASSERT_TRUE(queueOnPort(now, L"USB001"));
  EXPECT_EQ(queueOnPort(now, L"USB001")->name, kLv31Model);
  EXPECT_EQ(deviceNamed(now, L"AWAY").configFlags, std::optional<Dword>(plat::kConfigFlagReinstall))
      << "an absent device stays flagged";
  EXPECT_FALSE(deviceNamed(now, L"OTHER").manufacturer) << "no staged INF lists it";

  ASSERT_TRUE(machine.plugDevice(L"USBPRINT\\AWAY", true));
  machine.advance(plat::sim::kInstallMilliseconds);
  now = machine.snapshot();
  EXPECT_EQ(deviceNamed(now, L"AWAY").configFlags, std::optional<Dword>(0));
  const auto second = queueOnPort(now, L"USB002");
  ASSERT_TRUE(second);
  EXPECT_EQ(second->name, L"Veltrane HN66 (203 dpi)");
}

TEST(UsbDevices, WaitingForPendingInstallationsFollowsTheVirtualClock) {
  Machine machine(machineWith({newDevice(L"A", kLv31Id)}));
  machine.putFile({kStagedInf, false, 0, packageInf()});
  std::vector<Dword> waits;
  runInProcess(machine, [&] {
    plat::DevicePort& devices = plat::ports().devices();
    waits.push_back(devices.cmpWaitNoPendingInstallEvents(0));
    const auto root = devices.cmLocateDevNode(std::nullopt, plat::kCmLocateDevnodeNormal);
    devices.cmReenumerateDevNode(
        root.value(), plat::kCmReenumerateRetryInstallation | plat::kCmReenumerateAsynchronous);
    waits.push_back(devices.cmpWaitNoPendingInstallEvents(500));
    waits.push_back(devices.cmpWaitNoPendingInstallEvents(plat::kInfinite));
    waits.push_back(devices.cmpWaitNoPendingInstallEvents(0));
  });
  machine.advance(5000);
  EXPECT_EQ(waits, (std::vector<Dword>{plat::kWaitObject0, plat::kWaitTimeout, plat::kWaitObject0,
                                       plat::kWaitObject0}));
  EXPECT_EQ(machine.now(), 5000U);
}

TEST(UsbDevices, RescanWithoutTheTreeRootLogsTheCodeAndEnumeratesNothing) {
  MachineConfig config = machineWith({newDevice(L"A", kLv31Id)});
  constexpr Dword kCrFailure = 0x13;
  config.faults.push_back({"CM_Locate_DevNodeW", kCrFailure, 1});
  Machine machine(config);
  machine.putFile({kStagedInf, false, 0, packageInf()});
  Dword pending = 0;
  runInProcess(machine, [&] {
    CDriverEngine engine;
    engine.switchLoggingOn();
    engine.rescanDevices();
    pending = plat::ports().devices().cmpWaitNoPendingInstallEvents(0);
  });
  EXPECT_EQ(engineLogEntries(machine), std::vector<std::wstring>{L"rescanDevices CR_SUCCESS:19"});
  EXPECT_EQ(pending, plat::kWaitObject0);
  machine.advance(10'000);
  EXPECT_FALSE(machine.snapshot().devices[0].manufacturer);
}

TEST(UsbDevices, AnUnpluggedPrintersQueueWorksOfflineUntilItIsBack) {
  UsbDeviceConfig installed = device(L"A", {{kLv31Id}}, L"Corvantis");
  installed.port = L"USB001";
  installed.present = false;
  MachineConfig config = machineWith({installed});
  config.spooler = plat::sim::defaultSpooler();
  config.spooler->drivers.push_back({kLv31Model, L"Windows x64", L""});
  config.spooler->ports.push_back({L"USB001", L"USB Monitor"});
  PrinterQueueConfig queue;
  queue.name = kLv31Model;
  queue.port = L"USB001";
  queue.driver = kLv31Model;
  config.spooler->printers.push_back(queue);
  Machine machine(config);
  machine.putFile({kStagedInf, false, 0, packageInf()});

  const auto attributes = [&] {
    Dword value = 0;
    runInProcess(machine, [&] {
      const auto printers = plat::ports().spooler().enumPrinters(plat::kPrinterEnumLocal);
      value = printers.value().at(0).attributes;
    });
    return value;
  };
  EXPECT_NE(attributes() & plat::kPrinterAttributeWorkOffline, 0U) << "unplugged at the start";
  for (const bool present : {true, false, true}) {
    ASSERT_TRUE(machine.plugDevice(L"USBPRINT\\A", present));
    EXPECT_EQ((attributes() & plat::kPrinterAttributeWorkOffline) == 0, present);
  }
  machine.advance(plat::sim::kInstallMilliseconds);
  EXPECT_EQ(machine.snapshot().spooler->printers.size(), 1U) << "the queue is not doubled";
  EXPECT_FALSE(machine.plugDevice(L"USBPRINT\\NONE", true));
}

TEST(UsbDevices, MarkingThousandsOfDevicesFlagsOnlyTheMakers) {
  std::vector<UsbDeviceConfig> devices;
  devices.reserve(2000);
  for (int i = 0; i < 2000; ++i) {
    devices.push_back(device(L"N\\" + std::to_wstring(i), {{i % 2 == 0 ? kOtherId : kLv31Id}},
                             L"Acme", i % 3 == 0));
  }
  Machine machine(machineWith(devices));
  runInProcess(machine, [] {
    CDriverEngine engine;
    engine.markDevicesForReinstall();
  });
  int flagged = 0;
  for (const UsbDeviceConfig& d : machine.snapshot().devices) {
    const bool maker = d.hardwareIds->front() == kLv31Id;
    EXPECT_EQ(*d.configFlags == plat::kConfigFlagReinstall, maker)
        << std::string(d.instanceId.begin(), d.instanceId.end());
    flagged += maker ? 1 : 0;
  }
  EXPECT_EQ(flagged, 1000);
}

}  // namespace
}  // namespace brisvane
