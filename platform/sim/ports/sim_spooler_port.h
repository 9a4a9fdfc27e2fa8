// The spooler port of a simulated process.
#pragma once

#include <optional>
#include <string>

#include "platform/api/spooler_port.h"

namespace plat::sim {

class SimProcess;

// The environment a process's drivers are for, when a call names none.
std::wstring callerEnvironment(const SimProcess& process);

class SimSpoolerPort final : public SpoolerPort {
 public:
  explicit SimSpoolerPort(SimProcess& process) : process_(process) {}
  Result<std::wstring> getPrinterDriverDirectory(
      const std::optional<std::wstring>& environment) override;
  Result<std::vector<PrinterInfo2>> enumPrinters(Dword flags) override;
  Result<PrinterId> openPrinter(const std::wstring& name, Dword access) override;
  Result<PrinterInfo2> getPrinter(PrinterId printer) override;
  Dword closePrinter(PrinterId printer) override;
  Result<PrinterId> addPrinter(const PrinterInfo2& info) override;
  Dword deletePrinter(PrinterId printer) override;
  Dword deletePrinterConnection(const std::wstring& name) override;
  Result<std::vector<PrinterDriverInfo>> enumPrinterDrivers(
      const std::optional<std::wstring>& environment) override;
  Result<std::vector<PortInfo>> enumPorts() override;
  Dword deletePrinterDriver(const std::wstring& environment, const std::wstring& name) override;
  Dword deletePrinterDriverEx(const std::wstring& environment, const std::wstring& name,
                              Dword deleteFlags, Dword version) override;
  Dword deletePrinterDriverPackage(const std::wstring& infPath) override;
  Dword addMonitor(const MonitorInfo2& info) override;
  Dword addPrinterDriver(const DriverInfo4& info) override;
  Result<std::vector<JobInfo3>> enumJobs(PrinterId printer, Dword firstJob, Dword count) override;
  Dword setJob(PrinterId printer, Dword jobId, Dword command) override;

 private:
  SimProcess& process_;
};

}  // namespace plat::sim
