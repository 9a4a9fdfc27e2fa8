// Rows of the conformance table on the machine's folders, the print
// spooler, the service manager and the driver store.
#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/api/ports.h"
#include "tests/conformance/conformance.h"

namespace conformance {

namespace {

using plat::Dword;
using plat::ports;

constexpr int kCsidlUnknown = 0x0070;
constexpr wchar_t kEnvironmentX64[] = L"Windows x64";
constexpr wchar_t kEnvironmentX86[] = L"Windows NT x86";
constexpr wchar_t kQueue[] = L"Brisvane Conformance";

// Windows compares paths without regard to case; Wine names its folder
// "C:\windows" where Windows says "C:\Windows".
std::wstring folded(std::wstring text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](wchar_t c) { return c >= L'A' && c <= L'Z' ? c - L'A' + L'a' : c; });
  return text;
}

bool isWow64() {
  const plat::Wow64Query query = ports().system().isWow64Process();
  return query.functionPresent && query.callSucceeded && query.value != 0;
}

std::wstring systemFolder() {
  return folded(ports().files().getSystemDirectory());
}

// The environment of the machine's own drivers: a WOW64 process runs on
// 64-bit Windows; otherwise the caller's environment is the machine's.
std::optional<std::wstring> nativeEnvironment() {
  if (isWow64()) return kEnvironmentX64;
  return std::nullopt;
}

}  // namespace

void knownFolders(Check& check) {
  plat::ShellPort& shell = ports().shell();
  const auto programFiles = shell.shGetFolderPath(plat::kCsidlProgramFiles, 0);
  check.equal(programFiles.error(), Dword{0}, "Program Files is known");
  // A 32-bit process on 64-bit Windows is given the 32-bit folder.
  check.equal(folded(programFiles.valueOr(L"")),
              std::wstring(isWow64() ? L"c:\\program files (x86)" : L"c:\\program files"),
              "Program Files of the caller's bitness");
  const auto windowsFolder = shell.shGetFolderPath(plat::kCsidlWindows, 0);
  check.equal(windowsFolder.error(), Dword{0}, "the Windows folder is known");
  check.equal(folded(windowsFolder.valueOr(L"")), std::wstring(L"c:\\windows"),
              "it is C:\\Windows");
  const auto system = shell.shGetFolderPath(plat::kCsidlSystem, 0);
  check.equal(system.error(), Dword{0}, "the System folder is known");
  check.equal(folded(system.valueOr(L"")), std::wstring(L"c:\\windows\\system32"),
              "it is System32, for a 32-bit caller too");
  check.equal(systemFolder(), folded(system.valueOr(L"")),
              "GetSystemDirectoryW names the same folder");
  check.expect(!shell.shGetFolderPath(kCsidlUnknown, 0), "an unknown folder id fails");
}

void wow64Redirection(Check& check) {
  // Only a 32-bit process on 64-bit Windows is redirected. Under Wine the
  // table runs as a 64-bit program (the machines here cannot start 32-bit
  // ones) and there is nothing to redirect, so these expectations run where
  // the process is a WOW64 one: on the simulated machine, whose programs
  // are 32-bit like Brisvane, and on real 64-bit Windows with a 32-bit build.
  if (!isWow64()) return;
  plat::FilePort& files = ports().files();
  const std::wstring name = L"BrisvaneConformance.tmp";
  const std::wstring inSystem32 = files.getSystemDirectory() + L"\\" + name;
  const std::wstring inSysWow64 = L"C:\\Windows\\SysWOW64\\" + name;
  const auto created = files.createFile(inSystem32, plat::kGenericWrite, 0, plat::kCreateAlways,
                                        plat::kFileAttributeNormal);
  check.equal(created.ok() && !created->existed, true, "a file is written to System32");
  files.closeFile(created->handle);
  check.expect(files.pathFileExists(inSysWow64), "it lands in SysWOW64");
  check.expect(files.pathIsDirectory(files.getSystemDirectory() + L"\\spool\\drivers\\x64"),
               "System32\\spool is not redirected");

  const auto off = files.wow64DisableFsRedirection();
  check.equal(off.error(), plat::kErrorSuccess, "redirection is turned off");
  check.expect(!files.pathFileExists(inSystem32), "then System32 is the native folder");
  check.equal(files.wow64RevertFsRedirection(off.valueOr(0)), plat::kErrorSuccess,
              "and turned back on");
  check.expect(files.pathFileExists(inSystem32), "after which the name leads to SysWOW64 again");
  files.deleteFile(inSystem32);
}

void driverDirectories(Check& check) {
  plat::SpoolerPort& spooler = ports().spooler();
  const std::wstring drivers = systemFolder() + L"\\spool\\drivers\\";
  const auto x64 = spooler.getPrinterDriverDirectory(kEnvironmentX64);
  const auto x86 = spooler.getPrinterDriverDirectory(kEnvironmentX86);
  const auto own = spooler.getPrinterDriverDirectory(std::nullopt);
  check.equal(x86.error(), plat::kErrorSuccess, "the x86 directory is known");
  check.equal(folded(x86.valueOr(L"")), drivers + L"w32x86", "it is W32X86");
  if (isWow64() || own.valueOr(L"").ends_with(L"x64")) {
    check.equal(x64.error(), plat::kErrorSuccess, "on 64-bit Windows the x64 directory is known");
    check.equal(folded(x64.valueOr(L"")), drivers + L"x64", "it is x64");
  }
  check.equal(own.error(), plat::kErrorSuccess, "the caller's directory is known");
  if (isWow64()) {
    check.equal(folded(own.valueOr(L"")), drivers + L"w32x86", "a 32-bit caller's is W32X86");
  }
  check.equal(spooler.getPrinterDriverDirectory(L"Windows 3000").error(),
              plat::kErrorInvalidEnvironment, "an unknown environment gives 1805");
}

void spoolerPorts(Check& check) {
  const auto list = ports().spooler().enumPorts();
  check.equal(list.error(), plat::kErrorSuccess, "EnumPortsW answers");
  const auto has = [&](const wchar_t* name) {
    const std::vector<plat::PortInfo> items = list.valueOr({});
    return std::any_of(items.begin(), items.end(),
                       [&](const plat::PortInfo& port) { return port.name == name; });
  };
  check.expect(has(L"LPT1:") && has(L"FILE:"), "the local ports LPT1: and FILE: are there");
  const std::vector<plat::PortInfo> items = list.valueOr({});
  check.expect(std::all_of(items.begin(), items.end(),
                           [](const plat::PortInfo& port) { return !port.name.empty(); }),
               "every port has a name");
}

void printerQueues(Check& check) {
  plat::SpoolerPort& spooler = ports().spooler();
  const auto drivers = spooler.enumPrinterDrivers(nativeEnvironment());
  check.expect(drivers.ok() && !drivers->empty(), "the machine has a printer driver to queue on");
  if (!drivers || drivers->empty()) return;
  const plat::PrinterDriverInfo& driver = drivers->front();
  plat::PrinterInfo2 info;
  info.printerName = kQueue;
  info.portName = L"FILE:";
  info.driverName = driver.name;
  info.printProcessor = L"WinPrint";
  info.datatype = L"RAW";

  auto added = plat::addPrinter(spooler, info);
  check.equal(added.error(), plat::kErrorSuccess, "AddPrinterW makes a queue on a driver and port");
  plat::PrinterHandle queue = std::move(added).valueOr({});
  {
    const auto again = plat::addPrinter(spooler, info);
    // Wine's spooler hands back the existing queue instead.
    if (!onWine()) {
      check.equal(again.error(), plat::kErrorPrinterAlreadyExists,
                  "the same name again is refused with 1802");
    }
  }

  plat::PrinterInfo2 noDriver = info;
  noDriver.printerName = std::wstring(kQueue) + L" 2";
  noDriver.driverName = L"Brisvane No Such Driver";
  check.equal(spooler.addPrinter(noDriver).error(), plat::kErrorUnknownPrinterDriver,
              "an unknown driver gives 1797");
  plat::PrinterInfo2 noPort = info;
  noPort.printerName = std::wstring(kQueue) + L" 3";
  noPort.portName = L"BRISVANE9:";
  const auto unknownPort = spooler.addPrinter(noPort);
  if (onWine()) {
    // Wine's spooler takes any port name for a queue.
    if (unknownPort) {
      spooler.deletePrinter(*unknownPort);
      spooler.closePrinter(*unknownPort);
    }
  } else {
    check.equal(unknownPort.error(), plat::kErrorUnknownPort, "an unknown port gives 1796");
  }

  // Wine's spooler deletes a driver that a queue still uses, so the row
  // does not ask it to there.
  if (!onWine()) {
    check.equal(spooler.deletePrinterDriver(driver.environment, driver.name),
                plat::kErrorPrinterDriverInUse, "a driver with a queue gives 3001");
  }
  check.equal(queue ? spooler.deletePrinter(queue.get()) : plat::kErrorInvalidHandle,
              plat::kErrorSuccess, "DeletePrinter removes the queue");
  queue.reset();
  check.expect(!spooler.openPrinter(kQueue, plat::kPrinterAccessUse), "which no longer opens");
}

void spoolerService(Check& check) {
  plat::ServicePort& services = ports().services();
  const plat::ServiceHandle manager =
      plat::ServiceHandle::adopt(services, services.openScManager(plat::kGenericExecute))
          .valueOr({});
  check.expect(manager.get() != plat::kNoService, "OpenSCManagerW opens the manager");
  const plat::ServiceHandle spooler =
      plat::ServiceHandle::adopt(
          services, services.openService(manager.get(), L"Spooler", plat::kServiceQueryStatus))
          .valueOr({});
  check.expect(spooler.get() != plat::kNoService, "OpenServiceW opens \"Spooler\"");
  const auto status = services.queryServiceStatus(spooler.get());
  check.equal(status.error(), plat::kErrorSuccess, "QueryServiceStatus answers");
  if (onWine()) {
    // Wine registers the service but starts it only when a program asks.
    const Dword state = status.valueOr(0);
    check.expect(state >= plat::kServiceStopped && state <= plat::kServiceRunning,
                 "with a service state");
  } else {
    check.equal(status.valueOr(0), plat::kServiceRunning, "the spooler runs");
  }
  const auto missing =
      services.openService(manager.get(), L"BrisvaneNoSuchService", plat::kServiceQueryStatus);
  check.equal(missing.error(), plat::kErrorServiceDoesNotExist, "an unknown service gives 1060");
}

void driverStore(Check& check) {
  plat::FilePort& files = ports().files();
  plat::DevicePort& devices = ports().devices();
  constexpr Dword kDestinationChars = 260;
  const wchar_t* folder = L"C:\\BrisvaneConformance";
  const std::wstring inf = std::wstring(folder) + L"\\conformance.inf";
  files.createDirectory(folder);
  const char* text =
      "[Version]\r\nSignature=\"$Windows NT$\"\r\nClass=Printer\r\n"
      "ClassGuid={4D36E979-E325-11CE-BFC1-08002BE10318}\r\nProvider=Brisvane\r\n"
      "DriverVer=07/08/2021,2021.1.5.0\r\n";
  std::vector<std::uint8_t> bytes;
  for (const char* c = text; *c != '\0'; ++c) bytes.push_back(static_cast<std::uint8_t>(*c));
  const auto file = files.createFile(inf, plat::kGenericWrite, 0, plat::kCreateAlways,
                                     plat::kFileAttributeNormal);
  static_cast<void>(files.writeFile(file->handle, bytes));
  files.closeFile(file->handle);

  const auto first = devices.setupCopyOemInf(inf, 0, kDestinationChars);
  check.equal(first.error(), plat::kErrorSuccess, "SetupCopyOEMInfW stages the INF");
  const std::wstring staged = folded(first.valueOr(L""));
  check.expect(staged.starts_with(L"c:\\windows\\inf\\") && staged.ends_with(L".inf"),
               "into the INF folder");
  // Wine keeps the INF's own name where Windows numbers it oemN.inf.
  if (!onWine()) check.expect(staged.starts_with(L"c:\\windows\\inf\\oem"), "as an oem INF");
  check.expect(files.pathFileExists(first.valueOr(L"")), "which exists");
  const auto second = devices.setupCopyOemInf(inf, plat::kSpCopyNoOverwrite, kDestinationChars);
  check.equal(second.error(), plat::kErrorFileExists,
              "again with SP_COPY_NOOVERWRITE gives ERROR_FILE_EXISTS");
  check.equal(folded(second.hasValue() ? *second : std::wstring()), staged,
              "and names the INF staged before");
  files.deleteFile(inf);
}

void portMonitors(Check& check) {
  plat::SpoolerPort& spooler = ports().spooler();
  // Windows looks for the name before it loads the DLL.
  check.equal(spooler.addMonitor({L"Local Port", L"", L"brisvane_missing_monitor.dll"}),
              plat::kErrorPrintMonitorAlreadyInstalled, "an installed monitor's name gives 3006");
  check.equal(spooler.addMonitor({L"Brisvane Conformance Monitor", L"", L"brisvane_missing.dll"}),
              plat::kErrorModNotFound, "a DLL that is not in the system folder gives 126");
}

// Where the table runs, the spooler's own environment is x64 (64-bit
// Windows, Wine's 64-bit prefix). Wine's EnumJobsW is a stub that fails
// without an error code and lists nothing, so only the empty list is
// checked; jobs that wait and their cancellation are checked on the
// simulated machine.
void printerDriversAndJobs(Check& check) {
  plat::SpoolerPort& spooler = ports().spooler();
  plat::FilePort& files = ports().files();
  const plat::Result<std::wstring> directory = spooler.getPrinterDriverDirectory(kEnvironmentX64);
  check.equal(directory.error(), plat::kErrorSuccess, "the x64 driver directory is known");
  const std::wstring folder = directory.valueOr(L"") + L"\\";
  const std::vector<std::wstring> names = {L"brisvane_conf_drv.dll", L"brisvane_conf_cfg.dll",
                                           L"brisvane_conf.ini", L"brisvane_conf.ddz"};
  for (const std::wstring& name : names) {
    const auto file = files.createFile(folder + name, plat::kGenericWrite, 0, plat::kCreateAlways,
                                       plat::kFileAttributeNormal);
    const std::uint8_t header[] = {'M', 'Z'};
    static_cast<void>(files.writeFile(file->handle, header));
    files.closeFile(file->handle);
  }
  plat::DriverInfo4 driver;
  driver.version = 3;
  driver.name = L"Corvantis Conformance (203 dpi)";
  driver.environment = kEnvironmentX64;
  driver.driverPath = folder + names[0];
  driver.configFile = folder + names[1];
  driver.dataFile = folder + names[2];
  driver.dependentFiles = {names[3]};

  // Wine registers a driver whose files are missing; Windows refuses it.
  plat::DriverInfo4 missing = driver;
  missing.name = L"Corvantis Conformance Missing (203 dpi)";
  missing.dependentFiles.push_back(L"brisvane_conf_missing.ddz");
  const Dword refused = spooler.addPrinterDriver(missing);
  check.equal(refused, onWine() ? plat::kErrorSuccess : plat::kErrorFileNotFound,
              "a driver with a missing file gives 2 (Wine: added)");
  if (refused == plat::kErrorSuccess) spooler.deletePrinterDriver(kEnvironmentX64, missing.name);

  check.equal(spooler.addPrinterDriver(driver), plat::kErrorSuccess,
              "a driver whose files are in the driver directory is added");
  check.equal(spooler.addPrinterDriver(driver), plat::kErrorSuccess, "and again, replacing it");
  const auto key = ports().registry().regOpenKeyEx(
      plat::kHkeyLocalMachine,
      L"SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\Windows x64\\Drivers\\"
      L"Version-3\\" +
          driver.name,
      plat::kKeyRead);
  check.equal(key.error(), plat::kErrorSuccess, "its key lies under its environment's Version-3");
  ports().registry().regCloseKey(key.valueOr(plat::kNoRegKey));

  plat::PrinterInfo2 queue;
  queue.printerName = std::wstring(kQueue) + L" Jobs";
  queue.portName = L"FILE:";
  queue.driverName = driver.name;
  queue.printProcessor = L"winprint";
  queue.datatype = L"RAW";
  auto added = plat::addPrinter(spooler, queue);
  check.equal(added.error(), plat::kErrorSuccess, "a queue is created on the driver");
  const plat::PrinterHandle printer = std::move(added).valueOr({});
  check.expect(spooler.enumJobs(printer.get(), 0, 1000).valueOr({}).empty(), "it lists no job");
  check.expect(spooler.setJob(printer.get(), 4711, plat::kJobControlCancel) != plat::kErrorSuccess,
               "a job it does not have cannot be cancelled");
  check.equal(spooler.deletePrinter(printer.get()), plat::kErrorSuccess, "the queue is deleted");
  check.equal(spooler.deletePrinterDriver(kEnvironmentX64, driver.name), plat::kErrorSuccess,
              "then the driver");
  for (const std::wstring& name : names) files.deleteFile(folder + name);
}

}  // namespace conformance
