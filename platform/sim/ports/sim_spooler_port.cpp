// The spooler port of a simulated process: one call into the machine's
// spooler under the machine's lock, after the fault injection had its say.
#include "platform/sim/ports/sim_spooler_port.h"

#include "platform/sim/model/driver_store.h"
#include "platform/sim/model/spooler_state.h"
#include "platform/sim/sim_process.h"

namespace plat::sim {

namespace {

constexpr wchar_t kDriversFolder[] = L"C:\\Windows\\system32\\spool\\DRIVERS\\";

}  // namespace

std::wstring callerEnvironment(const SimProcess& process) {
  const bool native64 = process.machine.config.os.is64Bit && process.image.is64Bit;
  return native64 ? kEnvironmentX64 : kEnvironmentX86;
}

Result<std::wstring> SimSpoolerPort::getPrinterDriverDirectory(
    const std::optional<std::wstring>& environment) {
  std::scoped_lock lock(process_.machine.mutex);
  const MachineState& machine = process_.machine;
  if (const auto fault = process_.machine.takeFault("GetPrinterDriverDirectoryW")) {
    return Failure{*fault};
  }
  const std::wstring env = environment.value_or(callerEnvironment(process_));
  if (pathKey(env) == pathKey(kEnvironmentX86)) return kDriversFolder + std::wstring(L"W32X86");
  if (pathKey(env) == pathKey(kEnvironmentX64) && machine.config.os.is64Bit) {
    return kDriversFolder + std::wstring(L"x64");
  }
  return Failure{kErrorInvalidEnvironment};
}

Result<std::vector<PrinterInfo2>> SimSpoolerPort::enumPrinters(Dword flags) {
  std::scoped_lock lock(process_.machine.mutex);
  if (const auto fault = process_.machine.takeFault("EnumPrintersW")) return Failure{*fault};
  // The LocalAlloc block between the two calls.
  if (const auto fault = process_.machine.takeFault("LocalAlloc")) return {Failure{*fault}, {}};
  process_.machine.spooler.settleJobs(process_.machine.now);
  return process_.machine.spooler.enumPrinters(flags);
}

Result<PrinterId> SimSpoolerPort::openPrinter(const std::wstring& name, Dword access) {
  std::scoped_lock lock(process_.machine.mutex);
  if (const auto fault = process_.machine.takeFault("OpenPrinterW")) return Failure{*fault};
  return process_.machine.spooler.open(process_.id, name, access);
}

Result<PrinterInfo2> SimSpoolerPort::getPrinter(PrinterId printer) {
  std::scoped_lock lock(process_.machine.mutex);
  if (const auto fault = process_.machine.takeFault("GetPrinterW")) return Failure{*fault};
  // The LocalAlloc block between the two calls.
  if (const auto fault = process_.machine.takeFault("LocalAlloc")) return {Failure{*fault}, {}};
  process_.machine.spooler.settleJobs(process_.machine.now);
  return process_.machine.spooler.get(process_.id, printer);
}

Dword SimSpoolerPort::closePrinter(PrinterId printer) {
  std::scoped_lock lock(process_.machine.mutex);
  return process_.machine.spooler.close(process_.id, printer);
}

Result<PrinterId> SimSpoolerPort::addPrinter(const PrinterInfo2& info) {
  std::scoped_lock lock(process_.machine.mutex);
  if (const auto fault = process_.machine.takeFault("AddPrinterW")) return Failure{*fault};
  return process_.machine.spooler.add(process_.id, info);
}

Dword SimSpoolerPort::deletePrinter(PrinterId printer) {
  std::scoped_lock lock(process_.machine.mutex);
  if (const auto fault = process_.machine.takeFault("DeletePrinter")) return *fault;
  return process_.machine.spooler.remove(process_.id, printer);
}

Dword SimSpoolerPort::deletePrinterConnection(const std::wstring& name) {
  std::scoped_lock lock(process_.machine.mutex);
  if (const auto fault = process_.machine.takeFault("DeletePrinterConnectionW")) return *fault;
  return process_.machine.spooler.removeConnection(name);
}

Result<std::vector<PrinterDriverInfo>> SimSpoolerPort::enumPrinterDrivers(
    const std::optional<std::wstring>& environment) {
  std::scoped_lock lock(process_.machine.mutex);
  if (const auto fault = process_.machine.takeFault("EnumPrinterDriversW")) return Failure{*fault};
  // The LocalAlloc block between the two calls.
  if (const auto fault = process_.machine.takeFault("LocalAlloc")) return {Failure{*fault}, {}};
  return process_.machine.spooler.drivers(environment.value_or(callerEnvironment(process_)));
}

Result<std::vector<PortInfo>> SimSpoolerPort::enumPorts() {
  std::scoped_lock lock(process_.machine.mutex);
  if (const auto fault = process_.machine.takeFault("EnumPortsW")) return Failure{*fault};
  // The LocalAlloc block between the two calls.
  if (const auto fault = process_.machine.takeFault("LocalAlloc")) return {Failure{*fault}, {}};
  return process_.machine.spooler.ports();
}

Dword SimSpoolerPort::deletePrinterDriver(const std::wstring& environment,
                                          const std::wstring& name) {
  std::scoped_lock lock(process_.machine.mutex);
  if (const auto fault = process_.machine.takeFault("DeletePrinterDriverW")) return *fault;
  return process_.machine.spooler.removeDriver(environment, name);
}

Dword SimSpoolerPort::deletePrinterDriverEx(const std::wstring& environment,
                                            const std::wstring& name, Dword /*deleteFlags*/,
                                            Dword /*version*/) {
  std::scoped_lock lock(process_.machine.mutex);
  if (const auto fault = process_.machine.takeFault("DeletePrinterDriverExW")) return *fault;
  return process_.machine.spooler.removeDriver(environment, name);
}

Dword SimSpoolerPort::deletePrinterDriverPackage(const std::wstring& infPath) {
  std::scoped_lock lock(process_.machine.mutex);
  MachineState& machine = process_.machine;
  // The function came with Windows Vista (6.0).
  if (machine.config.os.majorVersion < 6) return kErrorProcNotFound;
  if (const auto fault = machine.takeFault("DeletePrinterDriverPackageW")) return *fault;
  const auto inf = resolvePath(process_, infPath);
  if (!inf) return kErrorInvalidName;
  std::vector<std::wstring> installed;
  for (const PrinterDriverConfig& driver : machine.spooler.save().drivers) {
    installed.push_back(driver.name);
  }
  return removeDriverPackage(machine.disk, machine.config.os, *inf, installed);
}

Dword SimSpoolerPort::addMonitor(const MonitorInfo2& info) {
  std::scoped_lock lock(process_.machine.mutex);
  if (const auto fault = process_.machine.takeFault("AddMonitorW")) return *fault;
  return process_.machine.spooler.addMonitor(info, process_.machine.disk);
}

Dword SimSpoolerPort::addPrinterDriver(const DriverInfo4& info) {
  std::scoped_lock lock(process_.machine.mutex);
  if (const auto fault = process_.machine.takeFault("AddPrinterDriverW")) return *fault;
  const std::wstring environment =
      info.environment.empty() ? callerEnvironment(process_) : info.environment;
  return process_.machine.spooler.addDriver(info, environment, process_.machine.disk);
}

Result<std::vector<JobInfo3>> SimSpoolerPort::enumJobs(PrinterId printer, Dword firstJob,
                                                       Dword count) {
  std::scoped_lock lock(process_.machine.mutex);
  MachineState& machine = process_.machine;
  if (const auto fault = machine.takeFault("EnumJobsW")) return Failure{*fault};
  // The LocalAlloc block between the two calls.
  if (const auto fault = machine.takeFault("LocalAlloc")) return {Failure{*fault}, {}};
  machine.spooler.settleJobs(machine.now);
  return machine.spooler.jobs(process_.id, printer, firstJob, count);
}

Dword SimSpoolerPort::setJob(PrinterId printer, Dword jobId, Dword command) {
  std::scoped_lock lock(process_.machine.mutex);
  MachineState& machine = process_.machine;
  if (const auto fault = machine.takeFault("SetJobW")) return *fault;
  return machine.spooler.setJob(process_.id, printer, jobId, command, machine.now);
}

}  // namespace plat::sim
