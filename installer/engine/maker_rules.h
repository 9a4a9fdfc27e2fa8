// What counts as the maker's: its drivers, and through them its printer
// queues. Every comparison is case-sensitive; every test a plain substring
// search.
#pragma once

#include <string>

namespace brisvane {

// The driver name contains "Corvantis " (with its trailing space) or
// "Veltrane P". A queue is the maker's when its driver is; the queue's own
// name is never looked at.
bool isMakerDriverName(const std::wstring& driverName);

// The port name contains "USB". Windows re-creates a maker queue on such a
// port by itself when the printer is connected again.
bool isUsbPort(const std::wstring& portName);

// A device property text (its first hardware id, or its manufacturer)
// contains "Corvantis" or "Veltrane". The package's hardware ids are
// "USBPRINT\\" + brand + "_" + model + checksum, so the brand word stands
// in them as it is.
bool isMakerDeviceId(const std::wstring& text);

}  // namespace brisvane
