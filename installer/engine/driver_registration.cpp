// Registering the maker's printer driver and port monitor with the spooler,
// and creating the queue of a new printer.
#include <string>
#include <vector>

#include "installer/engine/driver_engine.h"
#include "installer/engine/driver_version.h"
#include "installer/engine/printer_queues.h"
#include "installer/engine/result_lines.h"
#include "installer/netsetup/printer_models.h"
#include "installer/payload/drv_file_manifest.h"
#include "installer/resources/string_ids.h"
#include "platform/api/ports.h"
#include "platform/api/registry_key.h"
#include "platform/ui/strings.h"

namespace brisvane {

namespace {

constexpr plat::Dword kDriverVersion3 = 3;
constexpr wchar_t kMonitorName[] = L"Seagull Network Monitor";
constexpr wchar_t kMonitorDll[] = L"Seagull_V3_NetMonDispatcher.dll";
// The driver directory is read into a buffer whose size is given as 200
// bytes: 100 characters with the terminating zero.
constexpr std::size_t kDriverDirectoryBufferChars = 100;
// Every model uses the files of the "idp" driver family.
constexpr wchar_t kDependentFiles[] =
    L"qx#base_2021.1.5.0.ddz\nDefaults[QX]_2021.1.5.0.sds\nqx#idp_2021.1.5.0.ddz\n"
    L"Seagull_V3_NetMonDispatcher.dll\n";

std::vector<std::wstring> linesOf(const std::wstring& text) {
  std::vector<std::wstring> lines;
  for (std::size_t start = 0; start < text.size();) {
    const std::size_t end = text.find(L'\n', start);
    lines.push_back(text.substr(start, end - start));
    if (end == std::wstring::npos) break;
    start = end + 1;
  }
  return lines;
}

// The driver record of every model; `directory` ends with a backslash.
plat::DriverInfo4 driverRecord(const std::wstring& directory, const std::wstring& environment) {
  plat::DriverInfo4 record;
  record.version = kDriverVersion3;
  record.environment = environment;
  record.driverPath = directory + L"Seagull_V3_PrintDispatcher.dll";
  record.dataFile = directory + L"idpQX_2021.1.5.0.ini";
  record.configFile = directory + L"Seagull_V3_ConfigDispatcher.dll";
  // Staging puts the help file flat into the directory, like the others;
  // the spooler refuses a driver whose files it cannot find.
  record.helpFile = directory + L"idpQXenu_2021.1.5.0.chm";
  record.dependentFiles = linesOf(kDependentFiles);
  record.monitorName = kMonitorName;
  return record;
}

// AddMonitorW for the network port monitor; a monitor that is already
// there counts as added.
plat::Dword addPortMonitor(const plat::MonitorInfo2& monitor) {
  const plat::Dword error = plat::ports().spooler().addMonitor(monitor);
  return error == plat::kErrorPrintMonitorAlreadyInstalled ? plat::kErrorSuccess : error;
}

// Writes `text` as a REG_SZ value, its terminating zero included so that
// every reader finds a proper string.
void setText(plat::RegistryPort& registry, const plat::RegistryKey& key, const wchar_t* name,
             const std::wstring& text) {
  registry.regSetValueEx(key.get(), name, plat::kRegSz, plat::regSzData(text));
}

}  // namespace

plat::Dword CDriverEngine::installPrinter(const std::wstring& portName,
                                          const std::wstring& printerName, bool refresh) {
  plat::SpoolerPort& spooler = plat::ports().spooler();
  const plat::Result<std::wstring> directory = spooler.getPrinterDriverDirectory(std::nullopt);
  if (!directory) return directory.error();
  if (directory->size() >= kDriverDirectoryBufferChars) return plat::kErrorInsufficientBuffer;
  std::wstring folder = *directory;
  if (folder.empty() || folder.back() != L'\\') folder += L'\\';

  plat::DriverInfo4 driver = driverRecord(folder, driverEnvironment());
  const plat::MonitorInfo2 monitor{kMonitorName, driverEnvironment(), kMonitorDll};
  const std::wstring modelName = modelFullNameForText(printerName);
  const CDrvFileManifest manifest;
  bool staged = false;
  bool passedUsbPrinter = false;

  if (refresh) {
    manifest.stageToDriverDirectory();
    staged = true;
    if (const plat::Dword error = addPortMonitor(monitor)) return error;
    if (const plat::Dword error = updateSavedDrivers(driver)) return error;
    const plat::Result<bool> printers = updateSavedPrinters(queueRecord({}, {}, {}));
    if (!printers) return printers.error();
    passedUsbPrinter = *printers;
  }
  if (!printerName.empty() && !staged) manifest.stageToDriverDirectory();
  if (const plat::Dword error = addPortMonitor(monitor)) return error;

  if (!printerName.empty()) {
    driver.name = modelName;
    logEntry(L"#AddPrinterDriver di4.pName:" + modelName);
    if (const plat::Dword error = spooler.addPrinterDriver(driver)) return error;
    stampPackageVersion(modelName);
    logEntry(L"#AddPrinter di4.pName:" + printerName);
    const auto added = plat::addPrinter(spooler, queueRecord(printerName, portName, modelName));
    if (!added) return added.error();
  }
  // A saved USB queue is not re-created here: Windows does that once the
  // printer's devices are flagged for reinstallation.
  if (passedUsbPrinter) markDevicesForReinstall();
  return plat::kErrorSuccess;
}

plat::Dword CDriverEngine::updateSavedDrivers(const plat::DriverInfo4& record) {
  plat::SpoolerPort& spooler = plat::ports().spooler();
  for (const std::wstring& name : savedDriverNames_) {
    logEntry(L"AddPrinterDriver:" + name);
    if (!isModelFullName(name)) {
      appendResultLine(plat::ui::loadString(IDS_RESULT_DELETED_DRIVER) + name);
      continue;
    }
    plat::DriverInfo4 driver = record;
    driver.name = name;
    if (const plat::Dword error = spooler.addPrinterDriver(driver)) return error;
    appendResultLine(plat::ui::loadString(IDS_RESULT_UPDATED_DRIVER) + name);
    stampPackageVersion(name);
  }
  return plat::kErrorSuccess;
}

void CDriverEngine::stampPackageVersion(const std::wstring& driverName) const {
  plat::RegistryPort& registry = plat::ports().registry();
  const auto key = plat::openKey(registry, plat::kHkeyLocalMachine,
                                 versionKey() + L"\\" + driverName, plat::kKeyAllAccess);
  if (!key) return;
  setText(registry, *key, L"DriverVersion", getPackageDriverVersion());
  setText(registry, *key, L"DriverDate", getPackageDriverDate());
  registry.regFlushKey(key->get());
}

}  // namespace brisvane
