#include "installer/app/about_dlg.h"

#include "installer/resources/resource.h"

namespace brisvane {

CAboutDlg::CAboutDlg(plat::WindowId parent) : Dialog(IDD_ABOUTBOX, parent) {}

}  // namespace brisvane
