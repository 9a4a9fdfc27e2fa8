// The printer queue helpers of the engine: the printer enumeration every
// engine part uses, the queue record handed to AddPrinterW, and the notice
// about USB printer icons.
#pragma once

#include <string>
#include <vector>

#include "platform/api/spooler_port.h"

namespace brisvane {

// Local queues and connections (PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS)
// at level 2, in the spooler's order.
plat::Result<std::vector<plat::PrinterInfo2>> enumeratePrinters();

// The record of a new queue: the given name, port and driver, print
// processor "winprint", data type "RAW", priority 1, nothing else.
plat::PrinterInfo2 queueRecord(const std::wstring& name, const std::wstring& port,
                               const std::wstring& driver);

// Tells the user that the USB printer `printerName` (and others) was
// deleted but its icon stays until the printer is connected again; waits
// for the user to close the box.
void showUsbIconNotice(const std::wstring& printerName);

}  // namespace brisvane
