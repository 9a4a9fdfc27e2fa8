// Brisvane's main window, a modal dialog on template 102.
#pragma once

#include "platform/ui/dialog.h"

namespace brisvane {

class CBrisvaneDlg final : public plat::ui::Dialog {
 public:
  CBrisvaneDlg();

  void setDiagnosticMode(bool on) { diagnosticMode_ = on; }
  [[nodiscard]] bool diagnosticMode() const { return diagnosticMode_; }

 protected:
  bool onInitDialog() override;
  bool onSysCommand(std::uintptr_t command) override;
  // The minimise button (IDOK) minimises; the close button (IDCANCEL)
  // closes the window, which ends the program.
  void onOk() override;

 private:
  void addAboutItemToSystemMenu();

  bool diagnosticMode_ = false;
};

}  // namespace brisvane
