// The engine's printer queue operations.
#include "installer/engine/printer_queues.h"

#include "installer/engine/driver_engine.h"
#include "installer/engine/maker_rules.h"
#include "installer/engine/result_lines.h"
#include "installer/netsetup/printer_models.h"
#include "installer/payload/platform_detection.h"
#include "installer/resources/string_ids.h"
#include "platform/api/ports.h"
#include "platform/api/registry_key.h"
#include "platform/ui/strings.h"

namespace brisvane {

namespace {

constexpr wchar_t kPrintersKey[] = L"SYSTEM\\CurrentControlSet\\Control\\Print\\Printers";
// Windows 8 and later report themselves as this edition to the installer.
constexpr wchar_t kWindows10[] = L"Microsoft Windows 10";
constexpr wchar_t kPrinterPlaceholder[] = L"$PRN$";
constexpr plat::Dword kQueuePriority = 1;
// RegEnumKeyExW is given a name buffer of this many characters.
constexpr plat::Dword kQueueNameChars = 512;

}  // namespace

plat::Result<std::vector<plat::PrinterInfo2>> enumeratePrinters() {
  return plat::ports().spooler().enumPrinters(plat::kPrinterEnumLocal |
                                              plat::kPrinterEnumConnections);
}

plat::PrinterInfo2 queueRecord(const std::wstring& name, const std::wstring& port,
                               const std::wstring& driver) {
  plat::PrinterInfo2 record;
  record.printerName = name;
  record.portName = port;
  record.driverName = driver;
  record.printProcessor = L"winprint";
  record.datatype = L"RAW";
  record.priority = kQueuePriority;
  return record;
}

void showUsbIconNotice(const std::wstring& printerName) {
  const std::wstring text = plat::replaceAll(plat::ui::loadString(IDS_USB_ICON_NOT_DELETED),
                                             kPrinterPlaceholder, printerName);
  plat::ports().windows().messageBox(plat::kNoWindow, text, plat::ui::loadString(IDS_APP_TITLE),
                                     plat::kMbOk);
}

plat::Dword CDriverEngine::deletePrinters() {
  plat::SpoolerPort& spooler = plat::ports().spooler();
  const plat::Result<std::vector<plat::PrinterInfo2>> printers = enumeratePrinters();
  if (!printers) return printers.error();
  savedPrinters_.clear();
  bool noticeShown = false;
  for (const plat::PrinterInfo2& printer : *printers) {
    if (!isMakerDriverName(printer.driverName)) continue;
    savedPrinters_.push_back({printer.driverName, printer.printerName, printer.portName});
    if (isUsbPort(printer.portName)) {
      spooler.deletePrinterConnection(printer.printerName);
      if (!noticeShown && getWindowsName() == kWindows10) {
        showUsbIconNotice(printer.printerName);
        noticeShown = true;
      }
    }
    const auto queue = plat::openPrinter(spooler, printer.printerName, plat::kPrinterAllAccess);
    if (!queue) continue;
    logEntry(L"#DeletePrinter:" + printer.printerName);
    if (const plat::Dword error = spooler.deletePrinter(queue->get())) return error;
  }
  return plat::kErrorSuccess;
}

plat::Result<bool> CDriverEngine::updateSavedPrinters(const plat::PrinterInfo2& record) {
  plat::SpoolerPort& spooler = plat::ports().spooler();
  bool passedUsbPrinter = false;
  for (const SavedPrinter& saved : savedPrinters_) {
    if (!isModelFullName(saved.driver)) {
      appendResultLine(plat::ui::loadString(IDS_RESULT_DELETED_PRINTER) + saved.name);
      continue;
    }
    if (isUsbPort(saved.port)) {
      passedUsbPrinter = true;
      appendResultLine(plat::ui::loadString(IDS_RESULT_DELETED_USB_PRINTER) + saved.name +
                       plat::ui::loadString(IDS_RESULT_AUTO_ADD_ON_RECONNECT));
      continue;
    }
    plat::PrinterInfo2 queue = record;
    queue.printerName = saved.name;
    queue.portName = saved.port;
    queue.driverName = saved.driver;
    logEntry(L"AddPrinter:" + saved.name);
    const auto added = plat::addPrinter(spooler, queue);
    if (!added) return plat::Failure{added.error()};
    appendResultLine(plat::ui::loadString(IDS_RESULT_UPDATED_PRINTER) + saved.name);
  }
  return passedUsbPrinter;
}

plat::Result<std::wstring> CDriverEngine::renameValidPrinter(const std::wstring& name) {
  plat::RegistryPort& registry = plat::ports().registry();
  const auto printers =
      plat::openKey(registry, plat::kHkeyLocalMachine, kPrintersKey, plat::kKeyRead);
  if (!printers) return plat::Failure{kErrorCantOpen};
  const plat::Result<plat::RegKeyInfo> info = registry.regQueryInfoKey(printers->get());
  if (!info) return plat::Failure{kErrorCantOpen};
  // The number always goes onto the wanted name, never onto an earlier
  // candidate; every clash starts the search again from the first queue.
  std::wstring candidate = name;
  int counter = 0;
  for (bool clash = true; clash;) {
    clash = false;
    for (plat::Dword index = 0; index < info->subKeys && !clash; ++index) {
      const plat::Result<std::wstring> queue =
          registry.regEnumKeyEx(printers->get(), index, kQueueNameChars);
      if (queue && *queue == candidate) {
        candidate = name + L" #" + std::to_wstring(++counter);
        clash = true;
      }
    }
  }
  logEntry(L"renameValidPrinter " + candidate);
  return candidate;
}

}  // namespace brisvane
