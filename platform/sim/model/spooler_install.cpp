// What installers add to the simulated spooler, port monitors and printer
// drivers, and the jobs waiting in its queues.
#include <algorithm>

#include "platform/sim/model/file_system.h"
#include "platform/sim/model/spooler_state.h"

namespace plat::sim {

namespace {

constexpr wchar_t kNativeSystemFolder[] = L"C:\\Windows\\System32\\";
constexpr Dword kVersion3 = 3;

bool equalNoCase(const std::wstring& a, const std::wstring& b) {
  return pathKey(a) == pathKey(b);
}

std::wstring driverKeyOf(const std::wstring& environment, const std::wstring& name) {
  return L"HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\" +
         environment + L"\\Drivers\\Version-3\\" + name;
}

std::wstring fileNameOf(const std::wstring& path) {
  const std::size_t slash = path.rfind(L'\\');
  return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

bool isFile(const FileSystem& disk, const std::wstring& path) {
  const auto full = fullPath(path, L"C:\\");
  const FileSystem::Node* node = full ? disk.find(*full) : nullptr;
  return node != nullptr && !node->entry.isFolder;
}

// Where the spooler looks for a file of a driver record: a name without a
// folder lies beside the driver DLL.
std::wstring driverFilePath(const std::wstring& file, const std::wstring& driverPath) {
  if (file.find(L'\\') != std::wstring::npos) return file;
  const std::size_t slash = driverPath.rfind(L'\\');
  return slash == std::wstring::npos ? file : driverPath.substr(0, slash + 1) + file;
}

RegistryValueConfig text(const wchar_t* name, const std::wstring& value) {
  return {name, kRegSz, regSzData(value)};
}

}  // namespace

std::vector<MonitorConfig> defaultMonitors() {
  return {{L"Local Port", L"localspl.dll"},
          {L"Standard TCP/IP Port", L"tcpmon.dll"},
          {L"USB Monitor", L"usbmon.dll"}};
}

Dword SpoolerState::addMonitor(const MonitorInfo2& info, const FileSystem& disk) {
  if (!administrator()) return kErrorAccessDenied;
  if (info.name.empty() || info.dllName.empty()) return kErrorInvalidParameter;
  // Monitors run inside the spooler, so only its own environment fits.
  if (!info.environment.empty() && !equalNoCase(info.environment, nativeEnvironment(config_.os))) {
    return kErrorInvalidEnvironment;
  }
  // Windows looks for the name before it loads the DLL.
  if (std::any_of(monitors_.begin(), monitors_.end(),
                  [&](const MonitorConfig& m) { return equalNoCase(m.name, info.name); })) {
    return kErrorPrintMonitorAlreadyInstalled;
  }
  if (!isFile(disk, kNativeSystemFolder + info.dllName)) return kErrorModNotFound;
  monitors_.push_back({info.name, info.dllName});
  return kErrorSuccess;
}

Dword SpoolerState::addDriver(const DriverInfo4& info, const std::wstring& environment,
                              const FileSystem& disk) {
  if (!administrator()) return kErrorAccessDenied;
  const bool known = equalNoCase(environment, kEnvironmentX86) ||
                     (config_.os.is64Bit && equalNoCase(environment, kEnvironmentX64));
  if (!known) return kErrorInvalidEnvironment;
  if (info.name.empty() || info.driverPath.empty() || info.dataFile.empty() ||
      info.configFile.empty()) {
    return kErrorInvalidParameter;
  }
  std::vector<std::wstring> files = {info.driverPath, info.dataFile, info.configFile};
  if (!info.helpFile.empty()) files.push_back(info.helpFile);
  files.insert(files.end(), info.dependentFiles.begin(), info.dependentFiles.end());
  for (const std::wstring& file : files) {
    if (!isFile(disk, driverFilePath(file, info.driverPath))) return kErrorFileNotFound;
  }
  const std::wstring env =
      equalNoCase(environment, kEnvironmentX64) ? kEnvironmentX64 : kEnvironmentX86;
  const bool present = std::any_of(drivers_.begin(), drivers_.end(), [&](const auto& d) {
    return equalNoCase(d.name, info.name) && d.environment == env;
  });
  if (!present) drivers_.push_back({info.name, env, L""});
  // The key names the files without their folders. (Windows also copies
  // the files into the environment's own folder; the simulation does not.)
  std::vector<std::wstring> dependents;
  for (const std::wstring& file : info.dependentFiles) dependents.push_back(fileNameOf(file));
  registry_.writeKey(driverKeyOf(env, info.name),
                     {{L"Version", kRegDword, dwordLeBytes(kVersion3)},
                      text(L"Driver", fileNameOf(info.driverPath)),
                      text(L"Data File", fileNameOf(info.dataFile)),
                      text(L"Configuration File", fileNameOf(info.configFile)),
                      text(L"Help File", fileNameOf(info.helpFile)),
                      {L"Dependent Files", kRegMultiSz, regMultiSzData(dependents)},
                      text(L"Monitor", info.monitorName),
                      text(L"Datatype", info.defaultDataType)});
  return kErrorSuccess;
}

Result<std::vector<JobInfo3>> SpoolerState::jobs(ProcessId process, PrinterId printer, Dword first,
                                                 Dword count) const {
  const Resolved at = resolve(process, printer);
  if (at.error != kErrorSuccess) return Failure{at.error};
  const std::vector<PrintJobConfig>& queued = at.printer->queue.jobs;
  std::vector<JobInfo3> out;
  for (std::size_t i = first; i < queued.size() && out.size() < count; ++i) {
    const Dword next = i + 1 < queued.size() ? queued[i + 1].id : 0;
    out.push_back({queued[i].id, next});
  }
  return out;
}

Dword SpoolerState::setJob(ProcessId process, PrinterId printer, Dword jobId, Dword command,
                           std::uint64_t now) {
  const Resolved at = resolve(process, printer);
  if (at.error != kErrorSuccess) return at.error;
  // Pausing, resuming and restarting jobs is not simulated.
  if (command != kJobControlCancel) return kErrorCallNotImplemented;
  const std::vector<PrintJobConfig>& queued = at.printer->queue.jobs;
  const auto job = std::find_if(queued.begin(), queued.end(),
                                [&](const PrintJobConfig& j) { return j.id == jobId; });
  if (job == queued.end()) return kErrorInvalidParameter;
  if (job->cancelMilliseconds && cancelledJobs_.count(jobId) == 0) {
    cancelledJobs_[jobId] = now + *job->cancelMilliseconds;
  }
  settleJobs(now);
  return kErrorSuccess;
}

void SpoolerState::settleJobs(std::uint64_t now) {
  for (Printer& printer : printers_) {
    std::erase_if(printer.queue.jobs, [&](const PrintJobConfig& job) {
      const auto cancelled = cancelledJobs_.find(job.id);
      return cancelled != cancelledJobs_.end() && cancelled->second <= now;
    });
  }
  std::erase_if(cancelledJobs_, [now](const auto& entry) { return entry.second <= now; });
}

SpoolerState::Printer* SpoolerState::findLocalQueue(const std::wstring& name) {
  const auto found = std::find_if(printers_.begin(), printers_.end(), [&](const Printer& p) {
    return !p.connection && equalNoCase(p.queue.name, name);
  });
  return found == printers_.end() ? nullptr : &*found;
}

bool SpoolerState::submitJob(const std::wstring& printer, PrintJobConfig job) {
  Printer* queue = findLocalQueue(printer);
  if (queue == nullptr) return false;
  job.id = nextJobId_++;
  queue->queue.jobs.push_back(std::move(job));
  return true;
}

}  // namespace plat::sim
