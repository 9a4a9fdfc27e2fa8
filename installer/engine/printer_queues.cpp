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

}  // namespace

plat::SpoolerList<plat::PrinterInfo2> enumeratePrinters() {
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
  const std::wstring text = plat::ui::replaceAll(plat::ui::loadString(IDS_USB_ICON_NOT_DELETED),
                                                 kPrinterPlaceholder, printerName);
  plat::ports().windows().messageBox(plat::kNoWindow, text, plat::ui::loadString(IDS_APP_TITLE),
                                     plat::kMbOk);
}

plat::Dword CDriverEngine::deletePrinters() {
  plat::SpoolerPort& spooler = plat::ports().spooler();
  const plat::SpoolerList<plat::PrinterInfo2> printers = enumeratePrinters();
  if (printers.error != plat::kErrorSuccess) return printers.error;
  savedPrinterDrivers_.clear();
  savedPrinterNames_.clear();
  savedPrinterPorts_.clear();
  bool noticeShown = false;
  for (const plat::PrinterInfo2& printer : printers.items) {
    if (!isMakerDriverName(printer.driverName)) continue;
    savedPrinterDrivers_.push_back(printer.driverName);
    savedPrinterNames_.push_back(printer.printerName);
    savedPrinterPorts_.push_back(printer.portName);
    if (isUsbPort(printer.portName)) {
      spooler.deletePrinterConnection(printer.printerName);
      if (!noticeShown && getWindowsName() == kWindows10) {
        showUsbIconNotice(printer.printerName);
        noticeShown = true;
      }
    }
    plat::Dword error = plat::kErrorSuccess;
    const plat::PrinterHandle queue =
        plat::PrinterHandle::open(spooler, printer.printerName, plat::kPrinterAllAccess, error);
    if (!queue) continue;
    logEntry(L"#DeletePrinter:" + printer.printerName);
    error = spooler.deletePrinter(queue.get());
    if (error != plat::kErrorSuccess) return error;
  }
  return plat::kErrorSuccess;
}

plat::Dword CDriverEngine::updateSavedPrinters(plat::PrinterInfo2& record, bool& passedUsbPrinter) {
  plat::SpoolerPort& spooler = plat::ports().spooler();
  for (std::size_t i = 0; i < savedPrinterNames_.size(); ++i) {
    const std::wstring& name = savedPrinterNames_[i];
    if (!isModelFullName(savedPrinterDrivers_[i])) {
      appendResultLine(plat::ui::loadString(IDS_RESULT_DELETED_PRINTER) + name);
      continue;
    }
    if (isUsbPort(savedPrinterPorts_[i])) {
      passedUsbPrinter = true;
      appendResultLine(plat::ui::loadString(IDS_RESULT_DELETED_USB_PRINTER) + name +
                       plat::ui::loadString(IDS_RESULT_AUTO_ADD_ON_RECONNECT));
      continue;
    }
    record.printerName = name;
    record.portName = savedPrinterPorts_[i];
    record.driverName = savedPrinterDrivers_[i];
    logEntry(L"AddPrinter:" + name);
    plat::Dword error = plat::kErrorSuccess;
    const plat::PrinterHandle added = plat::PrinterHandle::add(spooler, record, error);
    if (!added) return error;
    appendResultLine(plat::ui::loadString(IDS_RESULT_UPDATED_PRINTER) + name);
  }
  return plat::kErrorSuccess;
}

plat::Dword CDriverEngine::renameValidPrinter(std::wstring& name) {
  plat::RegistryPort& registry = plat::ports().registry();
  plat::Dword error = plat::kErrorSuccess;
  const plat::RegistryKey printers = plat::RegistryKey::open(registry, plat::kHkeyLocalMachine,
                                                             kPrintersKey, plat::kKeyRead, error);
  if (!printers) return kErrorCantOpen;
  const plat::RegKeyInfoResult info = registry.regQueryInfoKey(printers.get());
  if (info.error != plat::kErrorSuccess) return kErrorCantOpen;
  // The number always goes onto the wanted name, never onto an earlier
  // candidate; every clash starts the search again from the first queue.
  std::wstring candidate = name;
  int counter = 0;
  for (bool clash = true; clash;) {
    clash = false;
    for (plat::Dword index = 0; index < info.subKeys && !clash; ++index) {
      const plat::RegEnumKeyResult queue = registry.regEnumKeyEx(printers.get(), index);
      if (queue.error == plat::kErrorSuccess && queue.name == candidate) {
        candidate = name + L" #" + std::to_wstring(++counter);
        clash = true;
      }
    }
  }
  name = candidate;
  logEntry(L"renameValidPrinter " + name);
  return plat::kErrorSuccess;
}

}  // namespace brisvane
