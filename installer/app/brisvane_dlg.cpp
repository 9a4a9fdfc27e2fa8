#include "installer/app/brisvane_dlg.h"

#include "installer/app/about_dlg.h"
#include "installer/resources/resource.h"
#include "platform/api/ports.h"
#include "platform/ui/strings.h"

namespace brisvane {

namespace {

constexpr std::uintptr_t kSysCommandMask = 0xFFF0;

}  // namespace

CBrisvaneDlg::CBrisvaneDlg() : Dialog(IDD_BRISVANE_DIALOG, plat::kNoWindow) {}

bool CBrisvaneDlg::onInitDialog() {
  addAboutItemToSystemMenu();
  // A second instance finds this window by its title.
  setWindowText(plat::ui::loadString(IDS_APP_TITLE));
  return true;
}

void CBrisvaneDlg::addAboutItemToSystemMenu() {
  plat::WindowPort& windows = plat::ports().windows();
  const plat::MenuId menu = windows.getSystemMenu(window(), false);
  const std::wstring about = plat::ui::loadString(IDS_ABOUTBOX);
  if (menu != plat::kNoMenu && !about.empty()) {
    windows.appendMenu(menu, plat::kMfSeparator, 0, L"");
    windows.appendMenu(menu, plat::kMfString, IDM_ABOUTBOX, about);
  }
}

bool CBrisvaneDlg::onSysCommand(std::uintptr_t command) {
  if ((command & kSysCommandMask) != IDM_ABOUTBOX) {
    return false;
  }
  CAboutDlg about(window());
  about.doModal();
  return true;
}

void CBrisvaneDlg::onOk() {
  plat::ports().windows().showWindow(window(), plat::kSwShowMinimized);
}

}  // namespace brisvane
