// The main window's proportional layout and its fonts per UI language.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace brisvane {

// The window height for a client width W: W × 475 / 784, truncated.
int mainWindowHeight(int clientWidth);

// A control's row: its top at trunc(T × H), its height trunc(S × H).
struct LayoutRow {
  std::vector<int> controls;
  double top;
  double size;
};
const std::vector<LayoutRow>& mainWindowRows();
int rowTop(const LayoutRow& row, int height);
int rowHeight(const LayoutRow& row, int height);

// Face and heights of the text controls: title 1006, welcome 1021, status
// 1007, and the small lines 1005, 1025, 1015.
struct MainWindowFonts {
  std::wstring face;
  int title;
  int welcome;
  int status;
  int small;
};
// Nothing for Korean without "Microsoft YaHei": the controls keep their font.
std::optional<MainWindowFonts> mainWindowFonts(int uiLanguage, bool yaheiInstalled);

}  // namespace brisvane
