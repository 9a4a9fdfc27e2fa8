// The printer models for which the installer can create a network (or
// other non-USB) queue: 22 constant rows, filled before the program's main
// code runs and only read afterwards, from any thread.
#pragma once

#include <string>

namespace brisvane {

struct CPrinterModel {
  std::wstring modelCode;  // "LV31"
  std::wstring dpi;        // "203"
  std::wstring shortName;  // "LV31 (203 dpi)", as the user sees it
  std::wstring fullName;   // "Corvantis LV31 (203 dpi)", the driver model name
};

// 22.
int modelCount();
// The short name of row `index`; empty outside 0 to modelCount() - 1.
std::wstring modelShortNameAt(int index);
// Whether `name` is exactly the full name of some row (case matters).
bool isModelFullName(const std::wstring& name);
// The full name of the first row whose short name occurs in `text`; empty
// when none does.
std::wstring modelFullNameForText(const std::wstring& text);
// The index of the first row whose full name occurs in `text`; -1 when
// none does. The table's order decides, not the position in the text.
int modelIndexInText(const std::wstring& text);

}  // namespace brisvane
