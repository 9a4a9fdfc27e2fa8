// The driver install engine: one short-lived object per job or window
// action, constructed on the stack of the code that needs it. It carries
// what the operations of one job share: the spooler environment, the names
// recorded before deletion so that they can be re-created afterwards, and
// the diagnostic log.
//
// Operations return Win32 error codes (0 for success) or plain values and
// never throw. An object belongs to the thread that made it.
#pragma once

#include <string>
#include <vector>

#include "installer/engine/engine_log.h"
#include "platform/api/result.h"
#include "platform/api/spooler_port.h"
#include "platform/api/types.h"

namespace brisvane {

// ERROR_CANTOPEN: the list of printers in the registry cannot be read.
inline constexpr plat::Dword kErrorCantOpen = 1011;
// ERROR_INSTALL_USEREXIT: preInstallDriver's one code for every failure.
inline constexpr plat::Dword kErrorInstallUserExit = 1602;

// A maker queue recorded before its deletion, to be re-created later in
// the same job.
struct SavedPrinter {
  std::wstring driver;
  std::wstring name;
  std::wstring port;
};

class CDriverEngine {
 public:
  // Logging off, the lists empty, and whether this 32-bit process runs on
  // 64-bit Windows.
  CDriverEngine();
  CDriverEngine(const CDriverEngine&) = delete;
  CDriverEngine& operator=(const CDriverEngine&) = delete;

  // "Windows x64" under WOW64, else "Windows NT x86".
  [[nodiscard]] std::wstring driverEnvironment() const;
  // The spooler's driver key of that environment under HKEY_LOCAL_MACHINE.
  [[nodiscard]] std::wstring versionKey() const;
  [[nodiscard]] bool onWow64() const { return onWow64_; }

  // The diagnostic log "Brisvane.log". Logging is off unless switched on,
  // and nothing in the installer switches it on; an entry written while it
  // is off is dropped and touches no file.
  void switchLoggingOn() { log_.setLoggingOn(true); }
  void logEntry(const std::wstring& text) { log_.logEntry(text); }

  // Stages the INF at `infPath` into the driver store: 0 when Windows
  // copied it (and the oem INF it names is there) or already has it,
  // kErrorInstallUserExit for every other outcome.
  plat::Dword preInstallDriver(const std::wstring& infPath);
  // Deletes oem0.inf to oem254.inf (with their PNF) that name the maker's
  // catalog, and the maker's packages in the driver store. Best effort:
  // every failure is passed over.
  void unPreInstallDriver();

  // Records the maker's drivers in savedDriverNames and deletes them, the
  // last one with the files they share. A driver in use is retried once
  // after a spooler restart; still in use, the user is told to restart the
  // computer and the call returns 0. Other failures end it with their code.
  plat::Dword deleteDrivers();
  // Stops the "Spooler" service and starts it again, waiting at most a
  // minute for each state. Silent on failure.
  void restartPrintSpooler();

  // Records every maker queue (driver, name and port) and deletes it; a USB
  // queue's connection is deleted first and, on Windows 10, the user is
  // told once that its icon stays. A queue that cannot be opened stays;
  // the first failed deletion ends the call with its code.
  plat::Dword deletePrinters();
  // Re-creates the recorded queues from `record` (see queueRecord) with
  // each one's name, port and driver, and appends a result line for each: a
  // driver the package no longer has is reported deleted, a USB queue is
  // left to Windows. Whether a USB queue was left so; the first failing
  // AddPrinterW ends the call with its code.
  plat::Result<bool> updateSavedPrinters(const plat::PrinterInfo2& record);
  // `name` made unique among the registry's printers: "X", then "X #1",
  // "X #2", ... (case-sensitive). kErrorCantOpen when the list cannot be
  // read.
  plat::Result<std::wstring> renameValidPrinter(const std::wstring& name);

  // Registers the maker's driver and creates queues. With `refresh` set,
  // the package is staged into the printer driver directory, the port
  // monitor added and the saved drivers and queues re-created first. With a
  // printer name the package is staged (once), then the driver that the
  // model table gives for the name is added, stamped with the packaged
  // version and date, and a queue of that name on `portName` created. The
  // port monitor is added in every case; "already installed" counts as
  // success. 0, or the code of the first failing call (what was done
  // before it stays).
  plat::Dword installPrinter(const std::wstring& portName, const std::wstring& printerName,
                             bool refresh);
  // Re-adds the saved drivers from `record` with each one's name, in order,
  // and stamps each with the packaged version; a driver the package no
  // longer has is reported deleted instead. The first failing
  // AddPrinterDriverW ends the call.
  plat::Dword updateSavedDrivers(const plat::DriverInfo4& record);

  // The check before a job that replaces the installed driver: pending
  // jobs of the maker's printers (cancelled when the user says so), the
  // old brand's printers and connected USB printers, each asked about in a
  // message box and checked again after [No] or [Retry]. True when the job
  // must not start (the user cancelled or declined, or the printers cannot
  // be listed), false when it may.
  bool checkPrintersReady();
  // Asks the user about the maker's pending jobs and cancels them on
  // [Yes], waiting up to a minute per busy printer for them to leave. 0
  // when the user cancelled, 1 when no jobs are left, 2 when the check
  // failed or jobs remain.
  int cancelPendingJobs();

  // The installed version of the maker's driver: the spooler's record in
  // the registry first, then the maker's oem INF files (the highest number
  // wins); "0.0.0.0" when there is none. Only reads.
  [[nodiscard]] std::wstring getInstalledDriverVersion() const;

  // The first hardware id of a connected USB printer of the maker (empty
  // when there is none). With `driverInstalled` false any connected maker
  // printer qualifies; with it true only one that Windows has not given a
  // driver yet (no manufacturer), except that once such a device has been
  // passed every later device counts. The error when the device set cannot
  // be built.
  plat::Result<std::wstring> findUsbPrinterHardwareId(bool driverInstalled);
  // Binds the connected devices with `hardwareId` to the driver of the INF
  // at `infPath` in this process: 0 or the system's error code.
  plat::Dword updateDriverForDevice(const std::wstring& infPath, const std::wstring& hardwareId);
  // Flags every USB printer device of the maker, connected or not, for
  // reinstallation and rescans the device tree, so that Windows installs
  // each one when it is next present. Returns 0.
  plat::Dword markDevicesForReinstall();
  // Re-enumerates the whole device tree; Windows installs the flagged and
  // new devices in the background.
  void rescanDevices();

  [[nodiscard]] const std::vector<SavedPrinter>& savedPrinters() const { return savedPrinters_; }
  [[nodiscard]] const std::vector<std::wstring>& savedDriverNames() const {
    return savedDriverNames_;
  }

 private:
  // Writes the packaged version and date into the driver's key under the
  // version key; a key that cannot be opened is passed over.
  void stampPackageVersion(const std::wstring& driverName) const;

  // The log slot: the log file, opened by the first entry while logging
  // is on and closed with the engine.
  CEngineLog log_;
  bool onWow64_ = false;
  // The deleted queues, in the order they were deleted.
  std::vector<SavedPrinter> savedPrinters_;
  // The names of the deleted drivers.
  std::vector<std::wstring> savedDriverNames_;
};

}  // namespace brisvane
