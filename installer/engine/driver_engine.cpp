#include "installer/engine/driver_engine.h"

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

}  // namespace brisvane
