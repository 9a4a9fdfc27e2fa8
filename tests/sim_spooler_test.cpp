// The simulated print spooler: the rules for queues and handles, its
// registry views, and the machine file's spooler section.
#include <gtest/gtest.h>

#include "platform/api/ports.h"
#include "platform/api/registry_key.h"
#include "platform/sim/machine_file.h"
#include "platform/sim/model/spooler_state.h"
#include "tests/engine_fixture.h"
#include "tests/sim_support.h"

namespace plat::sim {
namespace {

using brisvane::testing::kLv31;
using brisvane::testing::queue;
using brisvane::testing::runInProcess;
using brisvane::testing::spoolerWith;

constexpr wchar_t kPrinters[] = L"SYSTEM\\CurrentControlSet\\Control\\Print\\Printers";

PrinterInfo2 record(const std::wstring& name, const std::wstring& port = L"USB001",
                    const std::wstring& driver = kLv31) {
  PrinterInfo2 info;
  info.printerName = name;
  info.portName = port;
  info.driverName = driver;
  info.printProcessor = L"winprint";
  info.datatype = L"RAW";
  return info;
}

TEST(SimSpooler, AddPrinterEnforcesNamesDriversPortsAndRights) {
  struct Case {
    const char* what;
    PrinterInfo2 info;
    Dword error;
    bool administrator = true;
  };
  PrinterInfo2 processor = record(L"P");
  processor.printProcessor = L"lpprint";
  PrinterInfo2 datatype = record(L"D");
  datatype.datatype = L"PDF";
  const Case cases[] = {
      {"longest name", record(std::wstring(kMaxPrinterNameChars, L'n')), kErrorSuccess},
      {"name too long", record(std::wstring(kMaxPrinterNameChars + 1, L'n')),
       kErrorInvalidPrinterName},
      {"empty name", record(L""), kErrorInvalidPrinterName},
      {"comma", record(L"a,b"), kErrorInvalidPrinterName},
      {"backslash", record(L"a\\b"), kErrorInvalidPrinterName},
      {"taken in another case", record(L"existing queue"), kErrorPrinterAlreadyExists},
      {"unknown driver", record(L"N", L"USB001", L"Corvantis XX9"), kErrorUnknownPrinterDriver},
      {"driver of the other environment", record(L"N", L"USB001", L"Only x86"),
       kErrorUnknownPrinterDriver},
      {"unknown port", record(L"N", L"USB009"), kErrorUnknownPort},
      {"port name beyond the limit", record(L"N", std::wstring(kMaxPortNameChars + 1, L'p')),
       kErrorUnknownPort},
      {"print processor", processor, kErrorUnknownPrintProcessor},
      {"data type", datatype, kErrorInvalidDatatype},
      {"no administrator", record(L"N"), kErrorAccessDenied, false},
  };
  for (const Case& c : cases) {
    MachineConfig config;
    config.os.isAdministrator = c.administrator;
    config.spooler = spoolerWith(config.os, {queue(L"Existing Queue", L"LPT1:", kLv31)});
    config.spooler->drivers.push_back({L"Only x86", kEnvironmentX86, L""});
    Machine machine(config);
    Dword error = 99;
    runInProcess(machine, [&] { error = addPrinter(ports().spooler(), c.info).error(); });
    EXPECT_EQ(error, c.error) << c.what;
    EXPECT_EQ(machine.snapshot().spooler->printers.size(), error == kErrorSuccess ? 2U : 1U)
        << c.what;
  }
}

TEST(SimSpooler, HandlesCarryTheirRightsAndOutliveTheirQueue) {
  MachineConfig config;
  config.spooler = spoolerWith(config.os, {queue(L"Q", L"USB001", kLv31)});
  config.spooler->printers[0].offline = true;
  config.spooler->printers[0].jobs = {{0, L"a.prn"}, {0, L"b.prn"}};
  Machine machine(config);
  runInProcess(machine, [] {
    SpoolerPort& spooler = ports().spooler();
    EXPECT_EQ(openPrinter(spooler, L"Missing", kPrinterAccessUse).error(),
              kErrorInvalidPrinterName);

    const PrinterHandle use = openPrinter(spooler, L"q", kPrinterAccessUse).valueOr({});
    ASSERT_TRUE(use);
    const Result<PrinterInfo2> info = spooler.getPrinter(use.get());
    ASSERT_TRUE(info);
    EXPECT_EQ(info->printerName, L"Q");
    EXPECT_EQ(info->jobs, 2U);
    EXPECT_EQ(info->attributes, kPrinterAttributeLocal | kPrinterAttributeWorkOffline);
    EXPECT_EQ(spooler.deletePrinter(use.get()), kErrorAccessDenied);  // no DELETE right

    const PrinterHandle all = openPrinter(spooler, L"Q", kPrinterAllAccess).valueOr({});
    EXPECT_EQ(spooler.deletePrinter(all.get()), kErrorSuccess);
    EXPECT_EQ(spooler.getPrinter(use.get()).error(), kErrorPrinterDeleted);
    EXPECT_EQ(spooler.deletePrinter(all.get()), kErrorPrinterDeleted);
    EXPECT_EQ(spooler.closePrinter(0x1234), kErrorInvalidHandle);
    EXPECT_TRUE(spooler.enumPrinters(kPrinterEnumLocal).value().empty());
    EXPECT_EQ(ports()
                  .registry()
                  .regOpenKeyEx(kHkeyLocalMachine, kPrinters + std::wstring(L"\\Q"), kKeyRead)
                  .error(),
              kErrorFileNotFound);
  });
  // A handle belongs to the process that opened it.
  PrinterId opened = kNoPrinter;
  runInProcess(machine, [&] {
    ASSERT_TRUE(addPrinter(ports().spooler(), record(L"R")));
    opened = ports().spooler().openPrinter(L"R", kPrinterAccessUse).value();
  });
  runInProcess(machine, [&] {
    EXPECT_EQ(ports().spooler().getPrinter(opened).error(), kErrorInvalidHandle);
  });
}

TEST(SimSpooler, ConnectionsAreListedApartAndDeletedOnlyAsConnections) {
  MachineConfig config;
  config.spooler = spoolerWith(config.os, {queue(L"Local", L"USB001", kLv31)});
  config.spooler->connections = {{L"\\\\srv\\Front desk", kLv31}};
  Machine machine(config);
  runInProcess(machine, [] {
    SpoolerPort& spooler = ports().spooler();
    const auto both = spooler.enumPrinters(kPrinterEnumLocal | kPrinterEnumConnections).value();
    ASSERT_EQ(both.size(), 2U);
    EXPECT_EQ(both[1].printerName, L"\\\\srv\\Front desk");
    EXPECT_EQ(both[1].serverName, L"\\\\srv");
    EXPECT_EQ(both[1].attributes, kPrinterAttributeNetwork);
    EXPECT_EQ(spooler.enumPrinters(kPrinterEnumLocal).value().size(), 1U);

    // Deleting the queue itself needs rights on the server.
    const PrinterHandle remote =
        openPrinter(spooler, L"\\\\srv\\Front desk", kPrinterAllAccess).valueOr({});
    EXPECT_EQ(spooler.deletePrinter(remote.get()), kErrorAccessDenied);
    EXPECT_EQ(spooler.deletePrinterConnection(L"Local"), kErrorInvalidPrinterName);
    EXPECT_EQ(spooler.deletePrinterConnection(L"\\\\SRV\\front desk"), kErrorSuccess);
    EXPECT_EQ(spooler.enumPrinters(kPrinterEnumConnections).value().size(), 0U);
    EXPECT_EQ(
        ports()
            .registry()
            .regOpenKeyEx(kHkeyCurrentUser, L"Printers\\Connections\\,,srv,Front desk", kKeyRead)
            .error(),
        kErrorFileNotFound);
  });
}

TEST(SimSpooler, DriversAndQueuesHaveTheirRegistryViews) {
  MachineConfig config;
  config.spooler = spoolerWith(config.os, {queue(L"Q", L"USB001", kLv31)});
  config.spooler->drivers[0].version = L"2021.1.5.0";
  config.spooler->drivers.push_back({L"Only x86", kEnvironmentX86, L""});
  Machine machine(config);
  runInProcess(machine, [] {
    RegistryPort& reg = ports().registry();
    const RegistryKey driver =
        openKey(reg, kHkeyLocalMachine,
                L"SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\Windows x64\\"
                L"Drivers\\Version-3\\Corvantis LV31 (203 dpi)",
                kKeyRead)
            .valueOr({});
    const auto version = reg.regQueryValueEx(driver.get(), L"DriverVersion", 512U);
    ASSERT_TRUE(version);
    EXPECT_EQ(version->type, kRegBinary);
    EXPECT_EQ(version->data, (std::vector<std::uint8_t>{0, 0, 5, 0, 1, 0, 0xE5, 0x07}));
    const RegistryKey queueKey =
        openKey(reg, kHkeyLocalMachine, kPrinters + std::wstring(L"\\Q"), kKeyRead).valueOr({});
    EXPECT_EQ(regSzText(reg.regQueryValueEx(queueKey.get(), L"Port", std::nullopt)->data),
              L"USB001");
    EXPECT_EQ(regSzText(reg.regQueryValueEx(queueKey.get(), L"Printer Driver", std::nullopt)->data),
              kLv31);

    // Without an environment a 32-bit program is given its own drivers.
    const auto drivers = ports().spooler().enumPrinterDrivers(std::nullopt).value();
    ASSERT_EQ(drivers.size(), 1U);
    EXPECT_EQ(drivers[0].name, L"Only x86");
    EXPECT_EQ(ports().spooler().enumPrinterDrivers(kEnvironmentX64).value().size(), 3U);
    EXPECT_EQ(ports().spooler().enumPrinterDrivers(L"Windows IA64").error(),
              kErrorInvalidEnvironment);
    EXPECT_EQ(ports().spooler().enumPorts().value().size(), 4U);
  });
}

TEST(SimSpooler, MachineFileSectionLoadsAndSavesWhatProgramsChanged) {
  const auto loaded = parseMachineFile(R"j({"spooler": {
      "drivers": [{"name": "Corvantis LV31 (203 dpi)", "environment": "Windows x64",
                   "version": "2021.1.5.0"}],
      "ports": [{"name": "USB001", "monitor": "USB Monitor"}, {"name": "LPT1:"}],
      "printers": [{"name": "Office", "port": "USB001", "driver": "Corvantis LV31 (203 dpi)",
                    "offline": true, "jobs": [{"document": "labels.prn"},
                                              {"document": "stuck.prn", "cancelMilliseconds": null}]}],
      "monitors": [{"name": "Local Port", "dll": "localspl.dll"}],
      "connections": [{"name": "\\\\srv\\Desk", "driver": "Corvantis LV31 (203 dpi)"}]}})j",
                                       "s.json");
  ASSERT_TRUE(loaded.config) << loaded.error;
  Machine machine(*loaded.config);
  machine.putFile({L"C:\\Windows\\System32\\netmon.dll", false, 0, {}});
  runInProcess(machine, [] {
    EXPECT_TRUE(addPrinter(ports().spooler(), record(L"New", L"LPT1:")));
    EXPECT_EQ(ports().spooler().addMonitor({L"Seagull Network Monitor", L"", L"netmon.dll"}),
              kErrorSuccess);
  });
  const std::string saved = formatMachineFile(machine.snapshot());
  const auto reloaded = parseMachineFile(saved, "saved.json");
  ASSERT_TRUE(reloaded.config) << reloaded.error;
  EXPECT_EQ(formatMachineFile(*reloaded.config), saved);
  const SpoolerConfig& spooler = *reloaded.config->spooler;
  ASSERT_EQ(spooler.printers.size(), 2U);
  EXPECT_TRUE(spooler.printers[0].offline);
  ASSERT_EQ(spooler.printers[0].jobs.size(), 2U);
  EXPECT_EQ(spooler.printers[0].jobs[0].document, L"labels.prn");
  EXPECT_EQ(spooler.printers[0].jobs[0].cancelMilliseconds, std::optional<Dword>(0));
  EXPECT_FALSE(spooler.printers[0].jobs[1].cancelMilliseconds);
  ASSERT_EQ(spooler.monitors.size(), 2U);
  EXPECT_EQ(spooler.monitors[1].name, L"Seagull Network Monitor");
  EXPECT_EQ(spooler.printers[1].name, L"New");
  EXPECT_EQ(spooler.connections.size(), 1U);
  EXPECT_EQ(spooler.drivers[0].version, L"2021.1.5.0");
}

TEST(SimSpooler, BadMachineFileSectionsNameTheField) {
  const std::string driver =
      R"("drivers": [{"name": "D", "environment": "Windows x64"}], "ports": [{"name": "P"}])";
  const auto printer = [&](const std::string& fields) {
    return R"({"spooler": {)" + driver + R"(, "printers": [{)" + fields + "}]}}";
  };
  struct Case {
    std::string text;
    const char* error;
  };
  const Case cases[] = {
      {R"({"spooler": []})", "b.json: field 'spooler': expected an object"},
      {R"({"spooler": {"queues": []}})", "b.json: field 'spooler.queues': unknown field"},
      {R"({"spooler": {"drivers": [{"name": "D"}]}})",
       "b.json: field 'spooler.drivers[0].environment': missing"},
      {R"({"spooler": {"drivers": [{"name": "D", "environment": "Windows IA64"}]}})",
       "b.json: field 'spooler.drivers[0].environment': expected"},
      {R"({"os": {"is64Bit": false}, "spooler": {"drivers": [{"name": "D",
          "environment": "Windows x64"}]}})",
       "b.json: field 'spooler.drivers[0].environment': expected \"Windows NT x86\""},
      {R"({"spooler": {"drivers": [{"name": "a\\b", "environment": "Windows x64"}]}})",
       "b.json: field 'spooler.drivers[0].name': expected a driver name"},
      {R"({"spooler": {"drivers": [{"name": "D", "environment": "Windows x64",
          "version": "2021.1 M-5"}]}})",
       "b.json: field 'spooler.drivers[0].version': expected four numbers"},
      {R"({"spooler": {"drivers": [{"name": "D", "environment": "Windows x64",
          "version": "1.2.3.65536"}]}})",
       "b.json: field 'spooler.drivers[0].version': expected four numbers"},
      {R"({"spooler": {"ports": [{"name": "P"}, {"name": "p"}]}})",
       "b.json: field 'spooler.ports[1].name': named twice"},
      {R"({"spooler": {"ports": [{"name": ")" + std::string(kMaxPortNameChars + 1, 'p') +
           R"("}]}})",
       "b.json: field 'spooler.ports[0].name': expected 1 to 63 characters"},
      {printer(R"("name": "Q", "port": "P")"),
       "b.json: field 'spooler.printers[0].driver': missing"},
      {printer(R"("name": "Q", "port": "X", "driver": "D")"),
       "b.json: field 'spooler.printers[0].port': no such port"},
      {printer(R"("name": "Q", "port": "P", "driver": "E")"),
       "b.json: field 'spooler.printers[0].driver': no such driver for Windows x64"},
      {printer(R"("name": ")" + std::string(kMaxPrinterNameChars + 1, 'n') +
               R"(", "port": "P", "driver": "D")"),
       "b.json: field 'spooler.printers[0].name': expected 1 to 220 characters"},
      {printer(R"("name": "a,b", "port": "P", "driver": "D")"),
       "b.json: field 'spooler.printers[0].name': expected 1 to 220 characters"},
      {printer(R"("name": "Q", "port": "P", "driver": "D", "offline": 1)"),
       "b.json: field 'spooler.printers[0].offline': expected true or false"},
      {printer(R"("name": "Q", "port": "P", "driver": "D", "jobs": [{"doc": "x"}])"),
       "b.json: field 'spooler.printers[0].jobs[0].doc': unknown field"},
      {R"({"spooler": {)" + driver + R"(, "printers": [{"name": "Q", "port": "P", "driver": "D"},
          {"name": "q", "port": "P", "driver": "D"}]}})",
       "b.json: field 'spooler.printers[1].name': named twice"},
      {R"({"spooler": {"connections": [{"name": "srv\\Desk", "driver": "D"}]}})",
       "b.json: field 'spooler.connections[0].name': expected"},
      {R"({"spooler": {"connections": [{"name": "\\\\srv\\", "driver": "D"}]}})",
       "b.json: field 'spooler.connections[0].name': expected"},
      {printer(R"("name": "Q", "port": "P", "driver": "D",
                  "jobs": [{"document": "x", "cancelMilliseconds": "soon"}])"),
       "b.json: field 'spooler.printers[0].jobs[0].cancelMilliseconds': expected a non-negative"},
      {R"({"spooler": {"monitors": {}}})", "b.json: field 'spooler.monitors': expected an array"},
      {R"({"spooler": {"monitors": [{"name": "M", "dll": "m.dll", "environment": "x"}]}})",
       "b.json: field 'spooler.monitors[0].environment': unknown field"},
      {R"({"spooler": {"monitors": [{"name": "M", "dll": "C:\\m.dll"}]}})",
       "b.json: field 'spooler.monitors[0].dll': expected a DLL name"},
      {R"({"spooler": {"monitors": [{"name": "M", "dll": "m.dll"}, {"name": "m", "dll": "n.dll"}]}})",
       "b.json: field 'spooler.monitors[1].name': named twice"},
  };
  const std::string longest = printer(R"("name": ")" + std::string(kMaxPrinterNameChars, 'n') +
                                      R"(", "port": "P", "driver": "D")");
  EXPECT_TRUE(parseMachineFile(longest, "b.json").config);
  for (const Case& c : cases) {
    const auto result = parseMachineFile(c.text, "b.json");
    EXPECT_FALSE(result.config) << c.text;
    EXPECT_EQ(result.error.rfind(c.error, 0), 0U) << c.text << " gave: " << result.error;
  }
}

TEST(SimSpooler, AddMonitorNeedsRightsAFreeNameAndItsDllInTheNativeSystemFolder) {
  struct Case {
    const char* what;
    MonitorInfo2 info;
    Dword error;
    bool administrator = true;
  };
  const Case cases[] = {
      {"added", {L"Net", L"", L"net.dll"}, kErrorSuccess},
      {"for the spooler's environment", {L"Net", L"windows x64", L"net.dll"}, kErrorSuccess},
      {"for another environment",
       {L"Net", L"Windows NT x86", L"net.dll"},
       kErrorInvalidEnvironment},
      // The name is looked for before the DLL.
      {"name taken", {L"local port", L"", L"missing.dll"}, kErrorPrintMonitorAlreadyInstalled},
      {"no DLL", {L"Net", L"", L"missing.dll"}, kErrorModNotFound},
      // A 32-bit program's System32 is SysWOW64; the spooler's is not.
      {"DLL only in SysWOW64", {L"Net", L"", L"wow.dll"}, kErrorModNotFound},
      {"no name", {L"", L"", L"net.dll"}, kErrorInvalidParameter},
      {"no administrator", {L"Net", L"", L"net.dll"}, kErrorAccessDenied, false},
  };
  for (const Case& c : cases) {
    MachineConfig config;
    config.os.isAdministrator = c.administrator;
    Machine machine(config);
    machine.putFile({L"C:\\Windows\\System32\\net.dll", false, 0, {}});
    machine.putFile({L"C:\\Windows\\SysWOW64\\wow.dll", false, 0, {}});
    Dword error = 99;
    runInProcess(machine, [&] { error = ports().spooler().addMonitor(c.info); });
    EXPECT_EQ(error, c.error) << c.what;
    EXPECT_EQ(machine.snapshot().spooler->monitors.size(), error == kErrorSuccess ? 4U : 3U)
        << c.what;
  }
}

TEST(SimSpooler, AddPrinterDriverNeedsItsFilesAndReplacesTheDriverOfTheSameName) {
  const std::wstring folder = L"C:\\Windows\\System32\\spool\\drivers\\x64\\";
  DriverInfo4 good;
  good.version = 3;
  good.name = L"Corvantis T1 (203 dpi)";
  good.environment = L"Windows x64";
  good.driverPath = folder + L"drv.dll";
  good.dataFile = folder + L"data.ini";
  good.configFile = folder + L"cfg.dll";
  good.helpFile = folder + L"help.chm";
  good.dependentFiles = {L"dep.ddz"};  // beside the driver DLL
  struct Case {
    const char* what;
    DriverInfo4 info;
    Dword error;
    bool administrator = true;
  };
  std::vector<Case> cases = {{"added", good, kErrorSuccess}};
  cases.push_back({"a dependent file missing", good, kErrorFileNotFound});
  cases.back().info.dependentFiles.push_back(L"gone.ddz");
  cases.push_back({"the help file elsewhere", good, kErrorFileNotFound});
  cases.back().info.helpFile = folder + L"com\\help.chm";
  cases.push_back({"an unknown environment", good, kErrorInvalidEnvironment});
  cases.back().info.environment = L"Windows IA64";
  cases.push_back({"no name", good, kErrorInvalidParameter});
  cases.back().info.name.clear();
  cases.push_back({"no administrator", good, kErrorAccessDenied, false});
  for (const Case& c : cases) {
    MachineConfig config;
    config.os.isAdministrator = c.administrator;
    config.spooler = spoolerWith(config.os, {});
    Machine machine(config);
    for (const wchar_t* file : {L"drv.dll", L"data.ini", L"cfg.dll", L"help.chm", L"dep.ddz"}) {
      machine.putFile({folder + file, false, 0, {}});
    }
    runInProcess(machine, [&] {
      SpoolerPort& spooler = ports().spooler();
      EXPECT_EQ(spooler.addPrinterDriver(c.info), c.error) << c.what;
      if (c.error != kErrorSuccess) return;
      EXPECT_EQ(spooler.addPrinterDriver(c.info), kErrorSuccess) << "again";
      EXPECT_EQ(spooler.enumPrinterDrivers(kEnvironmentX64).value().size(), 4U);
      const RegistryKey key =
          openKey(ports().registry(), kHkeyLocalMachine,
                  L"SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\Windows x64\\"
                  L"Drivers\\Version-3\\Corvantis T1 (203 dpi)",
                  kKeyRead)
              .valueOr({});
      const auto files = ports().registry().regQueryValueEx(key.get(), L"Dependent Files", {});
      EXPECT_EQ(files->type, kRegMultiSz);
      EXPECT_EQ(files->data, regMultiSzData({L"dep.ddz"}));
      // Without an environment the driver is for the caller's.
      DriverInfo4 own = c.info;
      own.environment.clear();
      EXPECT_EQ(spooler.addPrinterDriver(own), kErrorSuccess);
      EXPECT_EQ(spooler.enumPrinterDrivers(std::nullopt).value().size(), 1U);
    });
  }
}

TEST(SimSpooler, JobsAreListedInOrderAndCancelledJobsLeaveAfterTheirTime) {
  MachineConfig config;
  config.spooler = spoolerWith(config.os, {queue(L"Q", L"USB001", kLv31)});
  config.spooler->printers[0].jobs = {
      {0, L"a.prn", 500}, {0, L"b.prn", std::nullopt}, {0, L"c.prn", 0}};
  Machine machine(config);
  runInProcess(machine, [] {
    SpoolerPort& spooler = ports().spooler();
    const PrinterHandle q = openPrinter(spooler, L"Q", kPrinterAccessUse).valueOr({});
    const auto all = spooler.enumJobs(q.get(), 0, 1000);
    ASSERT_EQ(all.value().size(), 3U);
    EXPECT_EQ(all.value()[0].nextJobId, all.value()[1].jobId);
    EXPECT_EQ(all.value()[2].nextJobId, 0U);
    const auto second = spooler.enumJobs(q.get(), 1, 1);
    ASSERT_EQ(second.value().size(), 1U);
    EXPECT_EQ(second.value()[0].jobId, all.value()[1].jobId);
    EXPECT_TRUE(spooler.enumJobs(q.get(), 5, 10).value().empty());
    EXPECT_EQ(spooler.enumJobs(0x1234, 0, 10).error(), kErrorInvalidHandle);

    EXPECT_EQ(spooler.setJob(q.get(), 999, kJobControlCancel), kErrorInvalidParameter);
    EXPECT_EQ(spooler.setJob(q.get(), all.value()[0].jobId, 1), kErrorCallNotImplemented);
    for (const JobInfo3& job : all.value()) {
      EXPECT_EQ(spooler.setJob(q.get(), job.jobId, kJobControlCancel), kErrorSuccess);
    }
    EXPECT_EQ(spooler.getPrinter(q.get())->jobs, 2U);  // c left at once
  });
  machine.advance(499);
  EXPECT_EQ(machine.snapshot().spooler->printers[0].jobs.size(), 2U);
  machine.advance(1);
  ASSERT_EQ(machine.snapshot().spooler->printers[0].jobs.size(), 1U);
  EXPECT_TRUE(machine.submitPrintJob(L"q", {0, L"d.prn", 0}));
  EXPECT_FALSE(machine.submitPrintJob(L"Nowhere", {0, L"e.prn", 0}));
  const MachineConfig snapshot = machine.snapshot();
  ASSERT_EQ(snapshot.spooler->printers[0].jobs.size(), 2U);
  EXPECT_EQ(snapshot.spooler->printers[0].jobs[0].document, L"b.prn");
}

}  // namespace
}  // namespace plat::sim
