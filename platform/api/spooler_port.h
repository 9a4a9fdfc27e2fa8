// The print spooler (winspool).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/api/result.h"
#include "platform/api/types.h"
#include "platform/api/unique_handle.h"

namespace plat {

// A printer handle (HANDLE of OpenPrinterW); 0 is "no printer".
using PrinterId = std::uintptr_t;
inline constexpr PrinterId kNoPrinter = 0;

// EnumPrintersW flags.
inline constexpr Dword kPrinterEnumLocal = 0x2;
inline constexpr Dword kPrinterEnumConnections = 0x4;

// Printer access rights (PRINTER_DEFAULTS.DesiredAccess).
inline constexpr Dword kPrinterAccessAdminister = 0x4;
inline constexpr Dword kPrinterAccessUse = 0x8;
inline constexpr Dword kPrinterDelete = 0x00010000;  // DELETE
inline constexpr Dword kPrinterAllAccess = 0x000F000C;

// PRINTER_INFO_2 attribute and status bits.
inline constexpr Dword kPrinterAttributeNetwork = 0x10;
inline constexpr Dword kPrinterAttributeLocal = 0x40;
inline constexpr Dword kPrinterAttributeWorkOffline = 0x400;

// Spooler error codes.
inline constexpr Dword kErrorUnknownPort = 1796;
inline constexpr Dword kErrorUnknownPrinterDriver = 1797;
inline constexpr Dword kErrorUnknownPrintProcessor = 1798;
inline constexpr Dword kErrorInvalidPrinterName = 1801;
inline constexpr Dword kErrorPrinterAlreadyExists = 1802;
inline constexpr Dword kErrorInvalidDatatype = 1804;
inline constexpr Dword kErrorPrinterDeleted = 1905;
inline constexpr Dword kErrorPrinterDriverInUse = 3001;
inline constexpr Dword kErrorPrinterDriverPackageInUse = 3015;

// DeletePrinterDriverExW flag: the driver's files go with it.
inline constexpr Dword kDpdDeleteAllFiles = 0x4;

// AddMonitorW and AddPrinterDriverW error codes.
inline constexpr Dword kErrorModNotFound = 126;  // the monitor DLL cannot be loaded
inline constexpr Dword kErrorPrintMonitorAlreadyInstalled = 3006;

// SetJobW command (level 0, no job record): cancel and delete the job.
inline constexpr Dword kJobControlCancel = 3;

// The PRINTER_INFO_2 fields the installer reads and writes. The device
// mode and the security descriptor are always null.
struct PrinterInfo2 {
  std::wstring serverName;
  std::wstring printerName;
  std::wstring shareName;
  std::wstring portName;
  std::wstring driverName;
  std::wstring comment;
  std::wstring location;
  std::wstring sepFile;
  std::wstring printProcessor;
  std::wstring datatype;
  std::wstring parameters;
  Dword attributes = 0;
  Dword priority = 0;
  Dword status = 0;
  Dword jobs = 0;  // cJobs
};

// DRIVER_INFO_2 without its file paths.
struct PrinterDriverInfo {
  Dword version = 0;  // cVersion
  std::wstring name;
  std::wstring environment;
};

// PORT_INFO_2.
struct PortInfo {
  std::wstring name;
  std::wstring monitorName;
  std::wstring description;
};

// MONITOR_INFO_2: a port monitor and the DLL in the system directory that
// implements it. An empty environment is passed as null (the spooler's own).
struct MonitorInfo2 {
  std::wstring name;
  std::wstring environment;
  std::wstring dllName;
};

// DRIVER_INFO_4. Empty texts are passed as null; the dependent files and the
// previous names become the record's multi-strings (null when empty).
struct DriverInfo4 {
  Dword version = 0;  // cVersion
  std::wstring name;
  std::wstring environment;
  std::wstring driverPath;
  std::wstring dataFile;
  std::wstring configFile;
  std::wstring helpFile;
  std::vector<std::wstring> dependentFiles;
  std::wstring monitorName;
  std::wstring defaultDataType;
  std::vector<std::wstring> previousNames;
};

// JOB_INFO_3: a job of a queue and the one after it (0 for the last).
struct JobInfo3 {
  Dword jobId = 0;
  Dword nextJobId = 0;
};

// Whether a sized spooler call failed because its LocalAlloc block could not
// be had, rather than in the call itself.
template <class T>
bool bufferNotAllocated(const Result<T>& result) {
  return !result && result.hasValue();
}

class SpoolerPort {
 public:
  SpoolerPort() = default;
  SpoolerPort(const SpoolerPort&) = delete;
  SpoolerPort& operator=(const SpoolerPort&) = delete;
  virtual ~SpoolerPort() = default;

  // GetPrinterDriverDirectoryW, level 1, on the local machine; no
  // environment means the caller's own.
  virtual Result<std::wstring> getPrinterDriverDirectory(
      const std::optional<std::wstring>& environment) = 0;

  // EnumPrintersW with an empty name at level 2: the call that asks for the
  // size, then the call into a zero-filled LocalAlloc block of that size
  // plus 4 bytes. A block that cannot be allocated fails with
  // kErrorNotEnoughMemory and hands back an empty list (see
  // bufferNotAllocated); a failure of the call itself hands back nothing.
  virtual Result<std::vector<PrinterInfo2>> enumPrinters(Dword flags) = 0;
  // OpenPrinterW with no data type and no device mode.
  virtual Result<PrinterId> openPrinter(const std::wstring& name, Dword access) = 0;
  // GetPrinterW at level 2, sized the same way as enumPrinters.
  virtual Result<PrinterInfo2> getPrinter(PrinterId printer) = 0;
  virtual Dword closePrinter(PrinterId printer) = 0;
  // AddPrinterW on the local machine at level 2; the new queue's handle.
  virtual Result<PrinterId> addPrinter(const PrinterInfo2& info) = 0;
  // DeletePrinter and DeletePrinterConnectionW: 0 or the error code.
  virtual Dword deletePrinter(PrinterId printer) = 0;
  virtual Dword deletePrinterConnection(const std::wstring& name) = 0;
  // EnumPrinterDriversW on the local machine at level 2; no environment
  // means the caller's own.
  virtual Result<std::vector<PrinterDriverInfo>> enumPrinterDrivers(
      const std::optional<std::wstring>& environment) = 0;
  // EnumPortsW on the local machine at level 2.
  virtual Result<std::vector<PortInfo>> enumPorts() = 0;
  // DeletePrinterDriverW and DeletePrinterDriverExW on the local machine:
  // 0 or the error code.
  virtual Dword deletePrinterDriver(const std::wstring& environment, const std::wstring& name) = 0;
  virtual Dword deletePrinterDriverEx(const std::wstring& environment, const std::wstring& name,
                                      Dword deleteFlags, Dword version) = 0;
  // DeletePrinterDriverPackageW on the local machine for the caller's
  // environment, bound at run time from winspool.drv because Windows
  // before Vista lacks it: 0, the Win32 code of the HRESULT, or
  // kErrorProcNotFound when the function is missing.
  virtual Dword deletePrinterDriverPackage(const std::wstring& infPath) = 0;
  // AddMonitorW on the local machine at level 2: 0 or the error code.
  virtual Dword addMonitor(const MonitorInfo2& info) = 0;
  // AddPrinterDriverW on the local machine at level 4: 0 or the error code.
  virtual Dword addPrinterDriver(const DriverInfo4& info) = 0;
  // EnumJobsW at level 3 from job index `firstJob`, at most `count` jobs,
  // sized the same way as enumPrinters.
  virtual Result<std::vector<JobInfo3>> enumJobs(PrinterId printer, Dword firstJob,
                                                 Dword count) = 0;
  // SetJobW at level 0 without a job record: 0 or the error code.
  virtual Dword setJob(PrinterId printer, Dword jobId, Dword command) = 0;
};

// Owns a printer handle and closes it with ClosePrinter.
using PrinterHandle = UniqueHandle<SpoolerPort, PrinterId, kNoPrinter, &SpoolerPort::closePrinter>;

// OpenPrinterW and AddPrinterW, owned.
inline Result<PrinterHandle> openPrinter(SpoolerPort& spooler, const std::wstring& name,
                                         Dword access) {
  return PrinterHandle::adopt(spooler, spooler.openPrinter(name, access));
}
inline Result<PrinterHandle> addPrinter(SpoolerPort& spooler, const PrinterInfo2& info) {
  return PrinterHandle::adopt(spooler, spooler.addPrinter(info));
}

}  // namespace plat
