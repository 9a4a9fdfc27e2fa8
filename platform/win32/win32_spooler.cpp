// The print spooler's queue, driver and port calls (winspool).
// windows.h (through win32_ports.h) comes before winspool.h.
#include "platform/win32/win32_ports.h"

#include <winspool.h>

namespace plat::win32 {

namespace {

// The spooler is asked for the size first and then fills a block four
// bytes larger than it asked for.
constexpr DWORD kSlack = 4;

// A zero-filled LocalAlloc block that frees itself.
class LocalBlock {
 public:
  explicit LocalBlock(DWORD bytes) : memory_(LocalAlloc(LMEM_ZEROINIT, bytes)) {}
  LocalBlock(const LocalBlock&) = delete;
  LocalBlock& operator=(const LocalBlock&) = delete;
  ~LocalBlock() {
    if (memory_ != nullptr) LocalFree(memory_);
  }
  [[nodiscard]] BYTE* get() const { return static_cast<BYTE*>(memory_); }
  explicit operator bool() const { return memory_ != nullptr; }

 private:
  HLOCAL memory_;
};

std::wstring text(const wchar_t* value) {
  return value != nullptr ? std::wstring(value) : std::wstring();
}

// A field of a record handed to the spooler: null for an empty text.
wchar_t* field(const std::wstring& value) {
  return value.empty() ? nullptr : const_cast<wchar_t*>(value.c_str());
}

PrinterInfo2 fromNative(const PRINTER_INFO_2W& info) {
  PrinterInfo2 out;
  out.serverName = text(info.pServerName);
  out.printerName = text(info.pPrinterName);
  out.shareName = text(info.pShareName);
  out.portName = text(info.pPortName);
  out.driverName = text(info.pDriverName);
  out.comment = text(info.pComment);
  out.location = text(info.pLocation);
  out.sepFile = text(info.pSepFile);
  out.printProcessor = text(info.pPrintProcessor);
  out.datatype = text(info.pDatatype);
  out.parameters = text(info.pParameters);
  out.attributes = info.Attributes;
  out.priority = info.Priority;
  out.status = info.Status;
  out.jobs = info.cJobs;
  return out;
}

PrinterDriverInfo fromNative(const DRIVER_INFO_2W& info) {
  return {info.cVersion, text(info.pName), text(info.pEnvironment)};
}

PortInfo fromNative(const PORT_INFO_2W& info) {
  return {text(info.pPortName), text(info.pMonitorName), text(info.pDescription)};
}

JobInfo3 fromNative(const JOB_INFO_3& info) {
  return {info.JobId, info.NextJobId};
}

// The texts as one multi-string (each ended by a zero, then one more
// zero); empty for none, which field() passes as null.
std::wstring multiString(const std::vector<std::wstring>& texts) {
  std::wstring out;
  for (const std::wstring& item : texts) {
    out += item;
    out.push_back(L'\0');
  }
  if (!out.empty()) out.push_back(L'\0');
  return out;
}

// An enumeration call `call(buffer, size, &needed, &returned)`: first
// without a buffer to learn the size, then into a block of that size.
template <class Native, class Call>
auto enumerate(Call call) -> Result<std::vector<decltype(fromNative(std::declval<Native>()))>> {
  using Records = std::vector<decltype(fromNative(std::declval<Native>()))>;
  DWORD needed = 0;
  DWORD returned = 0;
  if (call(nullptr, 0, &needed, &returned) != FALSE) return Records{};
  const DWORD error = GetLastError();
  if (error != ERROR_INSUFFICIENT_BUFFER) return Failure{error};
  const DWORD size = needed + kSlack;
  const LocalBlock block(size);
  if (!block) return {Failure{kErrorNotEnoughMemory}, Records{}};
  if (call(block.get(), size, &needed, &returned) == FALSE) return Failure{GetLastError()};
  Records out;
  const auto* records = reinterpret_cast<const Native*>(block.get());
  for (DWORD i = 0; i < returned; ++i) out.push_back(fromNative(records[i]));
  return out;
}

}  // namespace

Result<std::vector<PrinterInfo2>> Win32Spooler::enumPrinters(Dword flags) {
  wchar_t emptyName[] = L"";
  return enumerate<PRINTER_INFO_2W>([&](BYTE* buffer, DWORD size, DWORD* needed, DWORD* count) {
    return EnumPrintersW(flags, emptyName, 2, buffer, size, needed, count);
  });
}

Result<PrinterId> Win32Spooler::openPrinter(const std::wstring& name, Dword access) {
  PRINTER_DEFAULTSW defaults{nullptr, nullptr, access};
  HANDLE printer = nullptr;
  if (OpenPrinterW(const_cast<wchar_t*>(name.c_str()), &printer, &defaults) == FALSE) {
    return Failure{GetLastError()};
  }
  return reinterpret_cast<PrinterId>(printer);
}

Result<PrinterInfo2> Win32Spooler::getPrinter(PrinterId printer) {
  DWORD needed = 0;
  if (GetPrinterW(toHandle(printer), 2, nullptr, 0, &needed) == FALSE &&
      GetLastError() != ERROR_INSUFFICIENT_BUFFER) {
    return Failure{GetLastError()};
  }
  const DWORD size = needed + kSlack;
  const LocalBlock block(size);
  if (!block) return {Failure{kErrorNotEnoughMemory}, PrinterInfo2{}};
  if (GetPrinterW(toHandle(printer), 2, block.get(), size, &needed) == FALSE) {
    return Failure{GetLastError()};
  }
  return fromNative(*reinterpret_cast<const PRINTER_INFO_2W*>(block.get()));
}

Dword Win32Spooler::closePrinter(PrinterId printer) {
  return ClosePrinter(toHandle(printer)) != FALSE ? kErrorSuccess : GetLastError();
}

Result<PrinterId> Win32Spooler::addPrinter(const PrinterInfo2& info) {
  PRINTER_INFO_2W native{};
  native.pServerName = field(info.serverName);
  native.pPrinterName = field(info.printerName);
  native.pShareName = field(info.shareName);
  native.pPortName = field(info.portName);
  native.pDriverName = field(info.driverName);
  native.pComment = field(info.comment);
  native.pLocation = field(info.location);
  native.pSepFile = field(info.sepFile);
  native.pPrintProcessor = field(info.printProcessor);
  native.pDatatype = field(info.datatype);
  native.pParameters = field(info.parameters);
  native.Attributes = info.attributes;
  native.Priority = info.priority;
  HANDLE printer = AddPrinterW(nullptr, 2, reinterpret_cast<BYTE*>(&native));
  if (printer == nullptr) return Failure{GetLastError()};
  return reinterpret_cast<PrinterId>(printer);
}

Dword Win32Spooler::deletePrinter(PrinterId printer) {
  return DeletePrinter(toHandle(printer)) != FALSE ? kErrorSuccess : GetLastError();
}

Dword Win32Spooler::deletePrinterConnection(const std::wstring& name) {
  return DeletePrinterConnectionW(const_cast<wchar_t*>(name.c_str())) != FALSE ? kErrorSuccess
                                                                               : GetLastError();
}

Result<std::vector<PrinterDriverInfo>> Win32Spooler::enumPrinterDrivers(
    const std::optional<std::wstring>& environment) {
  wchar_t* env = environment ? const_cast<wchar_t*>(environment->c_str()) : nullptr;
  return enumerate<DRIVER_INFO_2W>([&](BYTE* buffer, DWORD size, DWORD* needed, DWORD* count) {
    return EnumPrinterDriversW(nullptr, env, 2, buffer, size, needed, count);
  });
}

Result<std::vector<PortInfo>> Win32Spooler::enumPorts() {
  return enumerate<PORT_INFO_2W>([](BYTE* buffer, DWORD size, DWORD* needed, DWORD* count) {
    return EnumPortsW(nullptr, 2, buffer, size, needed, count);
  });
}

Dword Win32Spooler::deletePrinterDriver(const std::wstring& environment, const std::wstring& name) {
  return DeletePrinterDriverW(nullptr, const_cast<wchar_t*>(environment.c_str()),
                              const_cast<wchar_t*>(name.c_str())) != FALSE
             ? kErrorSuccess
             : GetLastError();
}

Dword Win32Spooler::deletePrinterDriverEx(const std::wstring& environment, const std::wstring& name,
                                          Dword deleteFlags, Dword version) {
  return DeletePrinterDriverExW(nullptr, const_cast<wchar_t*>(environment.c_str()),
                                const_cast<wchar_t*>(name.c_str()), deleteFlags, version) != FALSE
             ? kErrorSuccess
             : GetLastError();
}

namespace {

// winspool.drv loaded by its full path, freed when done.
class SpoolerLibrary {
 public:
  SpoolerLibrary()
      : module_(LoadLibraryExW(L"c:\\windows\\system32\\winspool.drv", nullptr,
                               LOAD_WITH_ALTERED_SEARCH_PATH)) {}
  SpoolerLibrary(const SpoolerLibrary&) = delete;
  SpoolerLibrary& operator=(const SpoolerLibrary&) = delete;
  ~SpoolerLibrary() {
    if (module_ != nullptr) FreeLibrary(module_);
  }
  [[nodiscard]] FARPROC find(const char* name) const {
    return module_ != nullptr ? GetProcAddress(module_, name) : nullptr;
  }

 private:
  HMODULE module_;
};

using DeletePackageFunction = HRESULT WINAPI(LPCWSTR, LPCWSTR, LPCWSTR);

}  // namespace

Dword Win32Spooler::deletePrinterDriverPackage(const std::wstring& infPath) {
  const SpoolerLibrary library;
  auto* deletePackage = reinterpret_cast<DeletePackageFunction*>(
      reinterpret_cast<void (*)()>(library.find("DeletePrinterDriverPackageW")));
  if (deletePackage == nullptr) return kErrorProcNotFound;
  const HRESULT result = deletePackage(nullptr, infPath.c_str(), nullptr);
  return SUCCEEDED(result) ? kErrorSuccess : static_cast<Dword>(HRESULT_CODE(result));
}

Dword Win32Spooler::addMonitor(const MonitorInfo2& info) {
  MONITOR_INFO_2W native{};
  native.pName = field(info.name);
  native.pEnvironment = field(info.environment);
  native.pDLLName = field(info.dllName);
  return AddMonitorW(nullptr, 2, reinterpret_cast<BYTE*>(&native)) != FALSE ? kErrorSuccess
                                                                            : GetLastError();
}

Dword Win32Spooler::addPrinterDriver(const DriverInfo4& info) {
  const std::wstring dependentFiles = multiString(info.dependentFiles);
  const std::wstring previousNames = multiString(info.previousNames);
  DRIVER_INFO_4W native{};
  native.cVersion = info.version;
  native.pName = field(info.name);
  native.pEnvironment = field(info.environment);
  native.pDriverPath = field(info.driverPath);
  native.pDataFile = field(info.dataFile);
  native.pConfigFile = field(info.configFile);
  native.pHelpFile = field(info.helpFile);
  native.pDependentFiles = field(dependentFiles);
  native.pMonitorName = field(info.monitorName);
  native.pDefaultDataType = field(info.defaultDataType);
  native.pszzPreviousNames = field(previousNames);
  return AddPrinterDriverW(nullptr, 4, reinterpret_cast<BYTE*>(&native)) != FALSE ? kErrorSuccess
                                                                                  : GetLastError();
}

Result<std::vector<JobInfo3>> Win32Spooler::enumJobs(PrinterId printer, Dword firstJob,
                                                     Dword count) {
  return enumerate<JOB_INFO_3>([&](BYTE* buffer, DWORD size, DWORD* needed, DWORD* returned) {
    return EnumJobsW(toHandle(printer), firstJob, count, 3, buffer, size, needed, returned);
  });
}

Dword Win32Spooler::setJob(PrinterId printer, Dword jobId, Dword command) {
  return SetJobW(toHandle(printer), jobId, 0, nullptr, command) != FALSE ? kErrorSuccess
                                                                         : GetLastError();
}

}  // namespace plat::win32
