// The print spooler of the simulated machine: drivers per environment,
// ports, local queues with their jobs, connections to other machines'
// printers, and printer handles per process with their access rights.
//
// The spooler keeps the registry views the real one keeps: a key per queue
// under "Printers", a key per driver under its environment's "Version-3"
// key (with "DriverVersion" as the 64-bit version when the driver has one)
// and a key per connection under the user's "Printers\Connections".
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/api/spooler_port.h"
#include "platform/sim/machine_config.h"
#include "platform/sim/model/registry_tree.h"

namespace plat::sim {

class FileSystem;

inline constexpr wchar_t kEnvironmentX86[] = L"Windows NT x86";
inline constexpr wchar_t kEnvironmentX64[] = L"Windows x64";
// The longest local queue name the spooler accepts, and the longest port
// name of the standard port monitors.
inline constexpr std::size_t kMaxPrinterNameChars = 220;
inline constexpr std::size_t kMaxPortNameChars = 63;

// The environment of the machine's own drivers.
std::wstring nativeEnvironment(const OsProfile& os);
// Whether a local queue may be called `name`: not empty, not too long, and
// without the characters the spooler refuses (",", "!" and "\").
bool isValidQueueName(const std::wstring& name);
// The four 16-bit parts of "a.b.c.d"; nothing for any other text.
std::optional<std::vector<std::uint16_t>> driverVersionParts(const std::wstring& text);

class SpoolerState {
 public:
  SpoolerState(const MachineConfig& config, RegistryTree& registry);

  [[nodiscard]] SpoolerConfig save() const;

  [[nodiscard]] std::vector<PrinterInfo2> enumPrinters(Dword flags) const;
  Result<PrinterId> open(ProcessId process, const std::wstring& name, Dword access);
  [[nodiscard]] Result<PrinterInfo2> get(ProcessId process, PrinterId printer) const;
  Dword close(ProcessId process, PrinterId printer);
  Result<PrinterId> add(ProcessId process, const PrinterInfo2& info);
  Dword remove(ProcessId process, PrinterId printer);
  Dword removeConnection(const std::wstring& name);

  // AddMonitorW: the monitor's DLL must lie in the native system folder
  // of `disk`.
  Dword addMonitor(const MonitorInfo2& info, const FileSystem& disk);
  // AddPrinterDriverW at level 4 for `environment` (the caller's when the
  // record names none). Every file the record names must exist on `disk`;
  // a name without a folder lies beside the driver DLL. The same name in
  // the same environment again replaces the driver.
  Dword addDriver(const DriverInfo4& info, const std::wstring& environment, const FileSystem& disk);
  // EnumJobsW and SetJobW on an open handle. A cancelled job leaves its
  // queue once its cancel time has passed (see settleJobs).
  [[nodiscard]] Result<std::vector<JobInfo3>> jobs(ProcessId process, PrinterId printer,
                                                   Dword first, Dword count) const;
  Dword setJob(ProcessId process, PrinterId printer, Dword jobId, Dword command, std::uint64_t now);
  // Cancelled jobs whose time has come at `now` leave their queues.
  void settleJobs(std::uint64_t now);
  // A job arrives in the local queue `printer`; false without such a queue.
  bool submitJob(const std::wstring& printer, PrintJobConfig job);

  [[nodiscard]] Result<std::vector<PrinterDriverInfo>> drivers(
      const std::wstring& environment) const;
  [[nodiscard]] std::vector<PortInfo> ports() const;
  // DeletePrinterDriverW and DeletePrinterDriverExW (the flags only decide
  // about the files, which the simulated spooler does not keep).
  Dword removeDriver(const std::wstring& environment, const std::wstring& name);
  // The spooler process has ended: it holds no driver loaded any more.
  void unloadDrivers() { loadedDrivers_.clear(); }
  // The process has ended: its printer handles go with it.
  void closeAll(ProcessId process);

  // Plug and play has installed a USB printer: the spooler gets the
  // model's driver for the machine's environment if it lacks it, the USB
  // port, and a queue on that port named after the model ("Model (Copy 1)"
  // when that name is taken). A port that already has a queue keeps it.
  void addPlugAndPlayQueue(const std::wstring& driver, const std::wstring& version,
                           const std::wstring& port);
  // The printer on a USB port was connected or unplugged: the port's
  // queues go online or work offline.
  void setPortOnline(const std::wstring& port, bool online);
  [[nodiscard]] bool hasPort(const std::wstring& name) const;

 private:
  struct Printer {
    std::uint64_t serial = 0;
    bool connection = false;
    PrinterQueueConfig queue;  // a connection uses name and driver only
  };
  struct OpenPrinter {
    ProcessId process = 0;
    std::uint64_t serial = 0;
    Dword access = 0;
  };
  struct Resolved {
    Dword error = kErrorSuccess;
    const Printer* printer = nullptr;
    Dword access = 0;
  };

  [[nodiscard]] Printer* findLocalQueue(const std::wstring& name);
  [[nodiscard]] Resolved resolve(ProcessId process, PrinterId handle) const;
  [[nodiscard]] const Printer* findPrinter(const std::wstring& name) const;
  [[nodiscard]] bool hasDriver(const std::wstring& name, const std::wstring& environment) const;
  [[nodiscard]] PrinterInfo2 describe(const Printer& printer) const;
  void addPrinter(Printer printer, bool viewExisting);
  void writeView(const Printer& printer);
  void writeDriverView(const PrinterDriverConfig& driver);
  [[nodiscard]] bool administrator() const { return config_.os.isAdministrator; }

  const MachineConfig& config_;
  RegistryTree& registry_;
  std::vector<PrinterDriverConfig> drivers_;
  std::vector<std::wstring> loadedDrivers_;
  std::vector<PortConfig> ports_;
  std::vector<Printer> printers_;  // local queues and connections, in the order added
  std::map<PrinterId, OpenPrinter> handles_;
  std::vector<MonitorConfig> monitors_;
  // Cancelled jobs by id, and when each leaves its queue.
  std::map<Dword, std::uint64_t> cancelledJobs_;
  std::uint64_t nextSerial_ = 1;
  Dword nextJobId_ = 1;
  PrinterId nextHandle_ = 0x5000;
};

}  // namespace plat::sim
