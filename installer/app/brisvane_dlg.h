// Brisvane's main window, a modal dialog on template 102: a borderless
// window over a background picture with the three action buttons, the
// status line, the language box, the version line and the website link.
#pragma once

#include <string>

#include "installer/controls/button_st.h"
#include "installer/controls/color_static.h"
#include "installer/controls/custom_progress.h"
#include "platform/ui/dialog.h"
#include "platform/ui/gdi.h"

namespace brisvane {

// The maker's printer web page for a UI language.
std::wstring websiteAddress(int uiLanguage);

// "Microsoft YaHei" counts as installed when its font registration value
// reads into a 510-byte buffer.
bool isYaheiInstalled();

class CBrisvaneDlg final : public plat::ui::Dialog {
 public:
  CBrisvaneDlg();

  void setDiagnosticMode(bool on) { diagnosticMode_ = on; }
  [[nodiscard]] bool diagnosticMode() const { return diagnosticMode_; }

 protected:
  bool onInitDialog() override;
  bool onSysCommand(std::uintptr_t command) override;
  void onCommand(int id, unsigned notification) override;
  // The minimise button (IDOK) minimises; the close button (IDCANCEL)
  // closes the window, which ends the program.
  void onOk() override;
  void onCancel() override;
  bool onPaint() override;
  void onTimer(std::uintptr_t id) override;
  std::optional<std::intptr_t> onHitTest(plat::Point screen) override;
  bool onMouseMove(plat::Point client, std::uintptr_t keys) override;
  bool onLButtonDown(plat::Point client, std::uintptr_t keys) override;
  std::optional<plat::GdiObject> onCtlColour(plat::ControlColours& colours, plat::WindowId control,
                                             int kind,
                                             std::optional<plat::GdiObject> brush) override;
  plat::GdiObject onQueryDragIcon() override { return programIcon_.get(); }
  std::optional<std::intptr_t> onUserMessage(const plat::Message& message) override;

 private:
  void bindControls();
  void markCompatibilityAssistant();
  void fillLanguageBox();
  void addAboutItemToSystemMenu();
  void relabelAboutItem();
  void updateVersionLine();
  void setTexts();
  void layOut();
  void applyFonts();
  void applyColoursAndIcons();
  void placeResultList();
  void onLanguageChanged();
  void openWebsite();

  // Hooks of the Parts that build on this window: the USB printer watch
  // and state refresh (takeUsbPrinterSnapshot, refreshDriverState,
  // refreshWindowState, the timers 0 and 5), the jobs and their results
  // (the action buttons, setActionButtonsLook, onJobFinished), the legacy
  // suite's buttons, and the icon menu's commands.
  void takeUsbPrinterSnapshot() {}
  void refreshDriverState() {}
  void refreshWindowState();
  void rotateBackground() {}
  void animateStatusLine() {}
  void setActionButtonsLook(bool ready);
  void startUsbInstall() {}
  void startNetworkInstall() {}
  void startDeleteAll() {}
  void uninstallLegacySuite() {}
  void keepLegacySuite() {}
  void onJobFinished(std::intptr_t result) { (void)result; }
  void openIconMenu(plat::Point screen);
  void onIconMenuCommand(int id) { (void)id; }

  plat::ui::Icon programIcon_;
  plat::ui::Bitmap background_;
  CColorStatic versionLine_;
  CColorStatic title_;
  CButtonST installUsb_;
  CButtonST addNetwork_;
  CButtonST deleteAll_;
  plat::GdiObject handCursor_ = plat::kNoObject;
  CColorStatic statusLine_;
  CColorStatic welcome_;
  CColorStatic notice_;
  CColorStatic websiteLink_;
  CButtonST close_;
  CButtonST minimise_;
  bool backgroundLoaded_ = false;
  bool idle_ = false;
  bool diagnosticMode_ = false;
  bool is64BitWindows_ = false;
  bool driverInstalled_ = false;
  int legacyCheckSetting_ = 0;
  CCustomProgress progress_;
  std::uint32_t backgroundId_ = 0;
  bool busy_ = false;
  plat::ui::ComboBox languageBox_;
  plat::ui::ListBox resultList_;
  plat::ui::Button legacyUninstall_;
  plat::ui::Button legacyRemain_;
};

}  // namespace brisvane
