#include "installer/engine/driver_engine.h"

#include <utility>

#include "installer/payload/platform_detection.h"

namespace brisvane {

CDriverEngine::CDriverEngine() : onWow64_(isWow64()) {}

std::wstring CDriverEngine::driverEnvironment() const {
  return onWow64_ ? L"Windows x64" : L"Windows NT x86";
}

std::wstring CDriverEngine::versionKey() const {
  return L"SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\" + driverEnvironment() +
         L"\\Drivers\\Version-3";
}

void CDriverEngine::switchLoggingOn(LogSink sink) {
  logSlot_ = std::move(sink);
  loggingOn_ = true;
}

void CDriverEngine::logEntry(const std::wstring& text) const {
  if (loggingOn_ && logSlot_) logSlot_(text);
}

}  // namespace brisvane
