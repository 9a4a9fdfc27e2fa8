// The About box: template 100, texts fixed in the template, no behaviour of
// its own.
#pragma once

#include "platform/ui/dialog.h"

namespace brisvane {

class CAboutDlg final : public plat::ui::Dialog {
 public:
  explicit CAboutDlg(plat::WindowId parent);
};

}  // namespace brisvane
