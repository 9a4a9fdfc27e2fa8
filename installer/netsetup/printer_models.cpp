#include "installer/netsetup/printer_models.h"

#include <algorithm>
#include <vector>

namespace brisvane {

namespace {

// A row: the short name is the code and resolution, the full name the
// brand word, the short name and, for one model, a suffix.
CPrinterModel row(const wchar_t* code, const wchar_t* dpi, const wchar_t* suffix = L"") {
  const std::wstring shortName = std::wstring(code) + L" (" + dpi + L" dpi)";
  return {code, dpi, shortName, L"Corvantis " + shortName + suffix};
}

// In table order: every look-up returns the first match.
const std::vector<CPrinterModel> kModels = {
    row(L"LV31", L"203"),       row(L"LV31", L"300"),
    row(L"LV31S", L"203"),      row(L"LV31S", L"300"),
    row(L"KD510", L"203"),      row(L"KT510", L"203"),
    row(L"MB17d", L"203"),      row(L"MB17t", L"203", L" - DP"),
    row(L"MB17t plus", L"203"), row(L"HN66", L"203"),
    row(L"HN66", L"300"),       row(L"HN66", L"406"),
    row(L"ZR72", L"203"),       row(L"ZR72", L"300"),
    row(L"ZR72S", L"203"),      row(L"ZR72S", L"300"),
    row(L"ZR98A", L"203"),      row(L"ZR98A", L"300"),
    row(L"ZR98A", L"600"),      row(L"ZR98V", L"203"),
    row(L"ZR98V", L"300"),      row(L"ZR98V", L"600"),
};

bool contains(const std::wstring& text, const std::wstring& part) {
  return text.find(part) != std::wstring::npos;
}

}  // namespace

int modelCount() {
  return static_cast<int>(kModels.size());
}

std::wstring modelShortNameAt(int index) {
  if (index < 0 || index >= modelCount()) return {};
  return kModels[static_cast<std::size_t>(index)].shortName;
}

bool isModelFullName(const std::wstring& name) {
  return std::any_of(kModels.begin(), kModels.end(),
                     [&](const CPrinterModel& m) { return m.fullName == name; });
}

std::wstring modelFullNameForText(const std::wstring& text) {
  const auto found = std::find_if(kModels.begin(), kModels.end(), [&](const CPrinterModel& m) {
    return contains(text, m.shortName);
  });
  return found == kModels.end() ? std::wstring() : found->fullName;
}

int modelIndexInText(const std::wstring& text) {
  const auto found = std::find_if(kModels.begin(), kModels.end(), [&](const CPrinterModel& m) {
    return contains(text, m.fullName);
  });
  return found == kModels.end() ? -1 : static_cast<int>(found - kModels.begin());
}

}  // namespace brisvane
