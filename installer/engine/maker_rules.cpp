#include "installer/engine/maker_rules.h"

namespace brisvane {

bool isMakerDriverName(const std::wstring& driverName) {
  return driverName.find(L"Corvantis ") != std::wstring::npos ||
         driverName.find(L"Veltrane P") != std::wstring::npos;
}

bool isUsbPort(const std::wstring& portName) {
  return portName.find(L"USB") != std::wstring::npos;
}

bool isMakerDeviceId(const std::wstring& text) {
  return text.find(L"Corvantis") != std::wstring::npos ||
         text.find(L"Veltrane") != std::wstring::npos;
}

}  // namespace brisvane
