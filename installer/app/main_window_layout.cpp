#include "installer/app/main_window_layout.h"

#include "installer/app/ui_language.h"
#include "installer/resources/resource.h"
#include "platform/api/types.h"

namespace brisvane {

namespace {

constexpr int kDesignWidth = 784;
constexpr int kDesignHeight = 475;

}  // namespace

int mainWindowHeight(int clientWidth) {
  return clientWidth * kDesignHeight / kDesignWidth;
}

const std::vector<LayoutRow>& mainWindowRows() {
  static const std::vector<LayoutRow> rows = {
      {{plat::kIdOk, plat::kIdCancel}, 0.05, 0.05},
      {{IDC_TITLE}, 0.32, 0.09},
      {{IDC_WELCOME}, 0.42, 0.05},
      {{IDC_INSTALL_USB, IDC_ADD_NETWORK, IDC_DELETE_ALL}, 0.49, 0.08},
      {{IDC_STATUS_LINE}, 0.60, 0.05},
      {{IDC_LEGACY_UNINSTALL, IDC_LEGACY_REMAIN}, 0.60, 0.05},
      {{IDC_VERSION_LINE}, 0.90, 0.05},
      {{IDC_NOTICE, IDC_WEBSITE_LINK}, 0.94, 0.05},
  };
  return rows;
}

int rowTop(const LayoutRow& row, int height) {
  return static_cast<int>(row.top * height);
}

int rowHeight(const LayoutRow& row, int height) {
  return static_cast<int>(row.size * height);
}

std::optional<MainWindowFonts> mainWindowFonts(int uiLanguage, bool yaheiInstalled) {
  const MainWindowFonts yahei{L"微软雅黑", 43, 22, 23, 18};
  switch (uiLanguage) {
    case kUiChinese:
      return yaheiInstalled ? yahei : MainWindowFonts{L"宋体", 36, 16, 16, 12};
    case kUiKorean:
      if (yaheiInstalled) return yahei;
      return std::nullopt;
    default:
      return MainWindowFonts{L"Arial", 36, 18, 19, 15};
  }
}

}  // namespace brisvane
