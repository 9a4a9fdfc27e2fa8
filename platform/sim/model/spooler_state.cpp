#include "platform/sim/model/spooler_state.h"

#include <algorithm>
#include <array>
#include <cwctype>

#include "platform/sim/model/driver_store.h"
#include "platform/sim/model/file_system.h"

namespace plat::sim {

namespace {

constexpr wchar_t kPrintersKey[] =
    L"HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\";
constexpr wchar_t kEnvironmentsKey[] =
    L"HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\";
constexpr wchar_t kConnectionsKey[] = L"HKEY_CURRENT_USER\\Printers\\Connections\\";
constexpr Dword kDriverVersion3 = 3;
constexpr Dword kDefaultPriority = 1;
constexpr Dword kWriteDac = 0x00040000;
constexpr Dword kWriteOwner = 0x00080000;
// Rights that change or delete a queue: only administrators get them.
constexpr Dword kChangingRights =
    kPrinterAccessAdminister | kPrinterDelete | kWriteDac | kWriteOwner;
constexpr wchar_t kRefusedNameCharacters[] = L",!\\";
constexpr std::array<const wchar_t*, 9> kDatatypes = {
    L"RAW",          L"RAW [FF appended]", L"RAW [FF auto]", L"NT EMF 1.003", L"NT EMF 1.006",
    L"NT EMF 1.007", L"NT EMF 1.008",      L"TEXT",          L"XPS2GDI"};

bool sameName(const std::wstring& a, const std::wstring& b) {
  return pathKey(a) == pathKey(b);
}

std::wstring driverKey(const std::wstring& environment, const std::wstring& name) {
  return kEnvironmentsKey + environment + L"\\Drivers\\Version-3\\" + name;
}

// "\\server\share" is kept as ",,server,share".
std::wstring connectionKey(const std::wstring& name) {
  std::wstring key = name;
  std::replace(key.begin(), key.end(), L'\\', L',');
  return kConnectionsKey + key;
}

// The server part of "\\server\share".
std::wstring serverOf(const std::wstring& connection) {
  const std::size_t slash = connection.find(L'\\', 2);
  return connection.substr(0, slash);
}

// The spooler's 64-bit driver version: four 16-bit fields, least
// significant first.
std::vector<std::uint8_t> versionBytes(const std::vector<std::uint16_t>& parts) {
  std::vector<std::uint8_t> bytes;
  for (auto part = parts.rbegin(); part != parts.rend(); ++part) {
    bytes.push_back(static_cast<std::uint8_t>(*part & 0xFFU));
    bytes.push_back(static_cast<std::uint8_t>(*part >> 8U));
  }
  return bytes;
}

RegistryValueConfig textValue(const wchar_t* name, const std::wstring& text) {
  return {name, kRegSz, regSzData(text)};
}

RegistryValueConfig numberValue(const wchar_t* name, Dword number) {
  return {name, kRegDword, dwordLeBytes(number)};
}

}  // namespace

std::wstring nativeEnvironment(const OsProfile& os) {
  return os.is64Bit ? kEnvironmentX64 : kEnvironmentX86;
}

bool isValidQueueName(const std::wstring& name) {
  return !name.empty() && name.size() <= kMaxPrinterNameChars &&
         name.find_first_of(kRefusedNameCharacters) == std::wstring::npos;
}

std::optional<std::vector<std::uint16_t>> driverVersionParts(const std::wstring& text) {
  constexpr std::size_t kParts = 4;
  constexpr std::size_t kMaxDigits = 5;
  constexpr unsigned long kMaxPart = 0xFFFF;
  std::vector<std::uint16_t> parts;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = std::min(text.find(L'.', start), text.size());
    const std::wstring part = text.substr(start, end - start);
    if (part.empty() || part.size() > kMaxDigits ||
        part.find_first_not_of(L"0123456789") != std::wstring::npos) {
      return std::nullopt;
    }
    const unsigned long value = std::stoul(part);
    if (value > kMaxPart) return std::nullopt;
    parts.push_back(static_cast<std::uint16_t>(value));
    if (end == text.size()) break;
    start = end + 1;
  }
  if (parts.size() != kParts) return std::nullopt;
  return parts;
}

SpoolerConfig defaultSpooler() {
  SpoolerConfig spooler;
  for (const wchar_t* port : {L"LPT1:", L"COM1:", L"FILE:", L"PORTPROMPT:"}) {
    spooler.ports.push_back({port, L"Local Port"});
  }
  return spooler;
}

SpoolerState::SpoolerState(const MachineConfig& config, RegistryTree& registry)
    : config_(config), registry_(registry) {
  const SpoolerConfig initial = config.spooler.value_or(defaultSpooler());
  for (const PrinterDriverConfig& driver : initial.drivers) {
    drivers_.push_back(driver);
    if (!registry_.hasKey(driverKey(driver.environment, driver.name))) writeDriverView(driver);
  }
  loadedDrivers_ = initial.loadedDrivers;
  ports_ = initial.ports;
  monitors_ = initial.monitors;
  for (const PrinterQueueConfig& queue : initial.printers) addPrinter({0, false, queue}, false);
  for (const PrinterConnectionConfig& connection : initial.connections) {
    PrinterQueueConfig queue;
    queue.name = connection.name;
    queue.driver = connection.driver;
    addPrinter({0, true, queue}, false);
  }
}

void SpoolerState::writeDriverView(const PrinterDriverConfig& driver) {
  std::vector<RegistryValueConfig> values = {numberValue(L"Version", kDriverVersion3)};
  if (const auto parts = driverVersionParts(driver.version)) {
    values.push_back({L"DriverVersion", kRegBinary, versionBytes(*parts)});
  }
  registry_.writeKey(driverKey(driver.environment, driver.name), values);
}

void SpoolerState::addPrinter(Printer printer, bool viewExisting) {
  printer.serial = nextSerial_++;
  for (PrintJobConfig& job : printer.queue.jobs) job.id = nextJobId_++;
  const std::wstring key =
      printer.connection ? connectionKey(printer.queue.name) : kPrintersKey + printer.queue.name;
  if (viewExisting || !registry_.hasKey(key)) writeView(printer);
  printers_.push_back(std::move(printer));
}

void SpoolerState::writeView(const Printer& printer) {
  const PrinterQueueConfig& queue = printer.queue;
  if (printer.connection) {
    registry_.writeKey(connectionKey(queue.name), {textValue(L"Server", serverOf(queue.name)),
                                                   textValue(L"Provider", L"win32spl.dll")});
    return;
  }
  registry_.writeKey(
      kPrintersKey + queue.name,
      {textValue(L"Name", queue.name), textValue(L"Port", queue.port),
       textValue(L"Printer Driver", queue.driver),
       textValue(L"Print Processor", queue.printProcessor), textValue(L"Datatype", queue.datatype),
       numberValue(L"Attributes", describe(printer).attributes),
       numberValue(L"Priority", kDefaultPriority)});
}

SpoolerConfig SpoolerState::save() const {
  SpoolerConfig out;
  out.drivers = drivers_;
  out.loadedDrivers = loadedDrivers_;
  out.ports = ports_;
  out.monitors = monitors_;
  for (const Printer& printer : printers_) {
    if (printer.connection) {
      out.connections.push_back({printer.queue.name, printer.queue.driver});
    } else {
      out.printers.push_back(printer.queue);
    }
  }
  return out;
}

const SpoolerState::Printer* SpoolerState::findPrinter(const std::wstring& name) const {
  const auto found = std::find_if(printers_.begin(), printers_.end(),
                                  [&](const Printer& p) { return sameName(p.queue.name, name); });
  return found == printers_.end() ? nullptr : &*found;
}

bool SpoolerState::hasDriver(const std::wstring& name, const std::wstring& environment) const {
  return std::any_of(drivers_.begin(), drivers_.end(), [&](const PrinterDriverConfig& d) {
    return sameName(d.name, name) && sameName(d.environment, environment);
  });
}

bool SpoolerState::hasPort(const std::wstring& name) const {
  return std::any_of(ports_.begin(), ports_.end(),
                     [&](const PortConfig& p) { return sameName(p.name, name); });
}

PrinterInfo2 SpoolerState::describe(const Printer& printer) const {
  const PrinterQueueConfig& queue = printer.queue;
  PrinterInfo2 info;
  info.printerName = queue.name;
  info.driverName = queue.driver;
  info.priority = kDefaultPriority;
  info.jobs = static_cast<Dword>(queue.jobs.size());
  if (printer.connection) {
    info.serverName = serverOf(queue.name);
    info.attributes = kPrinterAttributeNetwork;
    return info;
  }
  info.portName = queue.port;
  info.printProcessor = queue.printProcessor;
  info.datatype = queue.datatype;
  info.attributes = kPrinterAttributeLocal | (queue.offline ? kPrinterAttributeWorkOffline : 0U);
  return info;
}

std::vector<PrinterInfo2> SpoolerState::enumPrinters(Dword flags) const {
  std::vector<PrinterInfo2> out;
  for (const bool connections : {false, true}) {
    const Dword wanted = connections ? kPrinterEnumConnections : kPrinterEnumLocal;
    if ((flags & wanted) == 0) continue;
    for (const Printer& printer : printers_) {
      if (printer.connection == connections) out.push_back(describe(printer));
    }
  }
  return out;
}

SpoolerState::Resolved SpoolerState::resolve(ProcessId process, PrinterId handle) const {
  const auto found = handles_.find(handle);
  if (found == handles_.end() || found->second.process != process) {
    return {kErrorInvalidHandle, nullptr, 0};
  }
  const auto printer = std::find_if(printers_.begin(), printers_.end(), [&](const Printer& p) {
    return p.serial == found->second.serial;
  });
  if (printer == printers_.end()) return {kErrorPrinterDeleted, nullptr, 0};
  return {kErrorSuccess, &*printer, found->second.access};
}

Result<PrinterId> SpoolerState::open(ProcessId process, const std::wstring& name, Dword access) {
  const Printer* printer = name.empty() ? nullptr : findPrinter(name);
  if (printer == nullptr) return Failure{kErrorInvalidPrinterName};
  if ((access & kChangingRights) != 0 && !administrator()) return Failure{kErrorAccessDenied};
  const PrinterId handle = nextHandle_;
  nextHandle_ += 4;
  handles_.emplace(handle, OpenPrinter{process, printer->serial, access});
  return handle;
}

Result<PrinterInfo2> SpoolerState::get(ProcessId process, PrinterId printer) const {
  const Resolved at = resolve(process, printer);
  if (at.error != kErrorSuccess) return Failure{at.error};
  if ((at.access & (kPrinterAccessUse | kPrinterAccessAdminister)) == 0) {
    return Failure{kErrorAccessDenied};
  }
  return describe(*at.printer);
}

Dword SpoolerState::close(ProcessId process, PrinterId printer) {
  const auto found = handles_.find(printer);
  if (found == handles_.end() || found->second.process != process) return kErrorInvalidHandle;
  handles_.erase(found);
  return kErrorSuccess;
}

Result<PrinterId> SpoolerState::add(ProcessId process, const PrinterInfo2& info) {
  if (!administrator()) return Failure{kErrorAccessDenied};
  if (!isValidQueueName(info.printerName)) return Failure{kErrorInvalidPrinterName};
  if (findPrinter(info.printerName) != nullptr) return Failure{kErrorPrinterAlreadyExists};
  if (!hasDriver(info.driverName, nativeEnvironment(config_.os))) {
    return Failure{kErrorUnknownPrinterDriver};
  }
  if (!hasPort(info.portName)) return Failure{kErrorUnknownPort};
  if (!sameName(info.printProcessor, L"winprint")) return Failure{kErrorUnknownPrintProcessor};
  if (!info.datatype.empty() &&
      std::none_of(kDatatypes.begin(), kDatatypes.end(),
                   [&](const wchar_t* type) { return sameName(type, info.datatype); })) {
    return Failure{kErrorInvalidDatatype};
  }
  PrinterQueueConfig queue;
  queue.name = info.printerName;
  queue.port = info.portName;
  queue.driver = info.driverName;
  queue.printProcessor = info.printProcessor;
  queue.datatype = info.datatype.empty() ? L"RAW" : info.datatype;
  queue.offline = (info.attributes & kPrinterAttributeWorkOffline) != 0;
  addPrinter({0, false, queue}, true);
  return open(process, queue.name, kPrinterAllAccess);
}

Dword SpoolerState::remove(ProcessId process, PrinterId printer) {
  const Resolved at = resolve(process, printer);
  if (at.error != kErrorSuccess) return at.error;
  // A connection's queue lies on its server, where this machine's
  // administrator has no rights.
  if ((at.access & kPrinterDelete) == 0 || at.printer->connection) return kErrorAccessDenied;
  registry_.removeTree(kPrintersKey + at.printer->queue.name);
  const std::uint64_t serial = at.printer->serial;
  std::erase_if(printers_, [serial](const Printer& p) { return p.serial == serial; });
  return kErrorSuccess;
}

Dword SpoolerState::removeConnection(const std::wstring& name) {
  const Printer* printer = findPrinter(name);
  if (printer == nullptr || !printer->connection) return kErrorInvalidPrinterName;
  registry_.removeTree(connectionKey(printer->queue.name));
  const std::uint64_t serial = printer->serial;
  std::erase_if(printers_, [serial](const Printer& p) { return p.serial == serial; });
  return kErrorSuccess;
}

Result<std::vector<PrinterDriverInfo>> SpoolerState::drivers(
    const std::wstring& environment) const {
  const bool known = sameName(environment, kEnvironmentX86) ||
                     (config_.os.is64Bit && sameName(environment, kEnvironmentX64));
  if (!known) return Failure{kErrorInvalidEnvironment};
  std::vector<PrinterDriverInfo> out;
  for (const PrinterDriverConfig& driver : drivers_) {
    if (sameName(driver.environment, environment)) {
      out.push_back({kDriverVersion3, driver.name, driver.environment});
    }
  }
  return out;
}

Dword SpoolerState::removeDriver(const std::wstring& environment, const std::wstring& name) {
  if (!administrator()) return kErrorAccessDenied;
  if (!hasDriver(name, environment)) return kErrorUnknownPrinterDriver;
  const bool used = std::any_of(printers_.begin(), printers_.end(), [&](const Printer& p) {
    return !p.connection && sameName(p.queue.driver, name);
  });
  const bool loaded = std::any_of(loadedDrivers_.begin(), loadedDrivers_.end(),
                                  [&](const std::wstring& d) { return sameName(d, name); });
  if (used || loaded) return kErrorPrinterDriverInUse;
  registry_.removeTree(driverKey(environment, name));
  std::erase_if(drivers_, [&](const PrinterDriverConfig& d) {
    return sameName(d.name, name) && sameName(d.environment, environment);
  });
  return kErrorSuccess;
}

std::vector<PortInfo> SpoolerState::ports() const {
  std::vector<PortInfo> out;
  for (const PortConfig& port : ports_) out.push_back({port.name, port.monitor, L""});
  return out;
}

void SpoolerState::closeAll(ProcessId process) {
  std::erase_if(handles_, [process](const auto& entry) { return entry.second.process == process; });
}

void SpoolerState::addPlugAndPlayQueue(const std::wstring& driver, const std::wstring& version,
                                       const std::wstring& port) {
  const std::wstring environment = nativeEnvironment(config_.os);
  if (!hasDriver(driver, environment)) {
    drivers_.push_back({driver, environment, version});
    writeDriverView(drivers_.back());
  }
  if (!hasPort(port)) ports_.push_back({port, L"USB Monitor"});
  if (std::any_of(printers_.begin(), printers_.end(), [&](const Printer& p) {
        return !p.connection && sameName(p.queue.port, port);
      })) {
    return;
  }
  std::wstring name = driver;
  for (int copy = 1; findPrinter(name) != nullptr; ++copy) {
    name = driver + L" (Copy " + std::to_wstring(copy) + L")";
  }
  PrinterQueueConfig queue;
  queue.name = name;
  queue.port = port;
  queue.driver = driver;
  addPrinter({0, false, queue}, true);
}

void SpoolerState::setPortOnline(const std::wstring& port, bool online) {
  for (Printer& printer : printers_) {
    if (printer.connection || !sameName(printer.queue.port, port)) continue;
    printer.queue.offline = !online;
    writeView(printer);
  }
}

}  // namespace plat::sim
