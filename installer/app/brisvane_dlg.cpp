#include "installer/app/brisvane_dlg.h"

#include "installer/app/about_dlg.h"
#include "installer/app/main_window_layout.h"
#include "installer/app/ui_language.h"
#include "installer/engine/driver_version.h"
#include "installer/jobs/settings.h"
#include "installer/payload/platform_detection.h"
#include "installer/resources/resource.h"
#include "platform/api/ports.h"
#include "platform/api/registry_key.h"
#include "platform/ui/privilege.h"
#include "platform/ui/strings.h"

namespace brisvane {

namespace {

using plat::Colour;
using plat::Rect;
using plat::rgb;

constexpr std::uintptr_t kSysCommandMask = 0xFFF0;
constexpr plat::Dword kYaheiBufferBytes = 510;
constexpr std::size_t kModulePathChars = 259;  // MAX_PATH with its terminating zero
constexpr std::uint32_t kJobFinished = plat::kWmUser + 1;
constexpr std::uintptr_t kBackgroundTimer = 0;
constexpr std::uintptr_t kRefreshTimer = 1;
constexpr std::uintptr_t kStatusTimer = 5;
constexpr plat::Dword kBackgroundPeriod = 3000;
constexpr plat::Dword kRefreshPeriod = 1000;
constexpr plat::Dword kStatusPeriod = 1000;
constexpr int kResultListGap = 10;
constexpr Rect kIconSquare{10, 10, 40, 40};

constexpr Colour kTitleColour = rgb(10, 10, 10);
constexpr Colour kBodyColour = rgb(84, 81, 78);
constexpr Colour kSmallColour = rgb(96, 93, 90);
constexpr Colour kLinkColour = rgb(50, 140, 200);
constexpr Colour kReadyColour = rgb(50, 140, 200);
constexpr Colour kBusyColour = rgb(120, 120, 120);
constexpr Colour kWhite = rgb(255, 255, 255);

constexpr wchar_t kCompatibilityKey[] =
    L"Software\\Microsoft\\Windows NT\\CurrentVersion\\AppCompatFlags\\Compatibility "
    L"Assistant\\Persisted";
constexpr wchar_t kFontsKey[] = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts";
constexpr wchar_t kYaheiValue[] = L"Microsoft YaHei (TrueType)";
constexpr const wchar_t* kLanguageNames[] = {L"English", L"中文", L"한국어"};

plat::WindowPort& windows() {
  return plat::ports().windows();
}

std::wstring text(std::uint32_t id) {
  return plat::ui::loadString(id);
}

}  // namespace

std::wstring websiteAddress(int uiLanguage) {
  return uiLanguage == kUiChinese ? L"https://cn.corvantis.example/label-printers"
                                  : L"https://www.corvantis.example/label-printers";
}

bool isYaheiInstalled() {
  plat::RegistryPort& registry = plat::ports().registry();
  const auto fonts =
      plat::openKey(registry, plat::kHkeyLocalMachine, kFontsKey, plat::kKeyQueryValue);
  return fonts && registry.regQueryValueEx(fonts->get(), kYaheiValue, kYaheiBufferBytes).ok();
}

CBrisvaneDlg::CBrisvaneDlg()
    : Dialog(IDD_BRISVANE_DIALOG, plat::kNoWindow),
      programIcon_(windows().loadIcon(IDR_MAINFRAME, 0, 0)) {}

bool CBrisvaneDlg::onInitDialog() {
  bindControls();
  markCompatibilityAssistant();
  fillLanguageBox();
  addAboutItemToSystemMenu();
  windows().sendMessage(
      window(), {plat::kWmSetIcon, plat::kIconBig, static_cast<std::intptr_t>(programIcon_.get())});
  windows().sendMessage(window(), {plat::kWmSetIcon, plat::kIconSmall,
                                   static_cast<std::intptr_t>(programIcon_.get())});
  updateVersionLine();
  setTexts();
  progress_.setRange(0, 100);
  progress_.setPos(1);
  progress_.show(false);
  handCursor_ = windows().loadCursor(plat::kIdcHand);
  windows().setWindowLong(window(), plat::kGwlStyle,
                          windows().getWindowLong(window(), plat::kGwlStyle) | plat::kWsPopup |
                              plat::kWsSysMenu | plat::kWsMinimizeBox | plat::kDsCenter);
  layOut();
  applyFonts();
  applyColoursAndIcons();
  takeUsbPrinterSnapshot();
  setTimer(kStatusTimer, kStatusPeriod);
  plat::ui::enableProcessPrivilege(plat::kSeLoadDriverName);
  // The path itself is not needed here; building it creates the work folder.
  settingsFilePath();
  legacyCheckSetting_ = 0;
  refreshDriverState();
  refreshWindowState();
  setActionButtonsLook(false);
  idle_ = true;
  placeResultList();
  setTimer(kBackgroundTimer, kBackgroundPeriod);
  return true;
}

void CBrisvaneDlg::bindControls() {
  bind(IDC_VERSION_LINE, versionLine_);
  bind(IDC_TITLE, title_);
  bind(IDC_INSTALL_USB, installUsb_);
  bind(IDC_ADD_NETWORK, addNetwork_);
  bind(IDC_DELETE_ALL, deleteAll_);
  bind(IDC_STATUS_LINE, statusLine_);
  bind(IDC_WELCOME, welcome_);
  bind(IDC_NOTICE, notice_);
  bind(IDC_WEBSITE_LINK, websiteLink_);
  bind(plat::kIdCancel, close_);
  bind(plat::kIdOk, minimise_);
  bind(IDC_PROGRESS, progress_);
  bind(IDC_LANGUAGE_BOX, languageBox_);
  bind(IDC_RESULT_LIST, resultList_);
  bind(IDC_LEGACY_UNINSTALL, legacyUninstall_);
  bind(IDC_LEGACY_REMAIN, legacyRemain_);
}

// Windows' compatibility assistant leaves a program alone that has a mark
// under this key; failures are of no concern.
void CBrisvaneDlg::markCompatibilityAssistant() {
  plat::RegistryPort& registry = plat::ports().registry();
  const auto key = plat::openKey(registry, plat::kHkeyCurrentUser, kCompatibilityKey,
                                 plat::kKeyRead | plat::kKeyWrite);
  if (!key) return;
  const std::wstring path = plat::ports().system().moduleFileName().substr(0, kModulePathChars);
  registry.regSetValueEx(key->get(), path, plat::kRegDword, plat::dwordLeBytes(1));
}

void CBrisvaneDlg::fillLanguageBox() {
  for (int i = 0; i < 3; ++i) languageBox_.insertString(i, kLanguageNames[i]);
  languageBox_.setCurSel(uiLanguageIndex());
}

void CBrisvaneDlg::addAboutItemToSystemMenu() {
  const plat::MenuId menu = windows().getSystemMenu(window(), false);
  const std::wstring about = text(IDS_ABOUTBOX);
  if (menu != plat::kNoMenu && !about.empty()) {
    windows().appendMenu(menu, plat::kMfSeparator, 0, L"");
    windows().appendMenu(menu, plat::kMfString, IDM_ABOUTBOX, about);
  }
}

void CBrisvaneDlg::relabelAboutItem() {
  const plat::MenuId menu = windows().getSystemMenu(window(), false);
  const std::wstring about = text(IDS_ABOUTBOX);
  if (menu != plat::kNoMenu && !about.empty()) {
    windows().modifyMenu(menu, IDM_ABOUTBOX, plat::kMfString, IDM_ABOUTBOX, about);
  }
}

void CBrisvaneDlg::updateVersionLine() {
  is64BitWindows_ = isWow64();
  versionLine_.setText(text(IDS_VERSION_DRIVER) + packageVersionDisplayText() + L" " +
                       text(IDS_VERSION_SOFTWARE) + L"1.2.0.17 " + getWindowsName() +
                       (is64BitWindows_ ? L" 64" : L" 32") + text(IDS_VERSION_BIT));
}

void CBrisvaneDlg::setTexts() {
  title_.setText(text(IDS_TITLE_LINE));
  statusLine_.setText(text(IDS_STATUS_HOVER_TIP));
  welcome_.setText(text(IDS_WELCOME));
  installUsb_.setText(text(IDS_BUTTON_INSTALL_USB));
  addNetwork_.setText(text(IDS_BUTTON_ADD_NETWORK));
  deleteAll_.setText(text(IDS_BUTTON_DELETE_ALL));
  notice_.setText(text(IDS_NOTICE));
  websiteLink_.setText(text(IDS_WEBSITE_LINK));
  legacyUninstall_.setText(text(IDS_BUTTON_UNINSTALL));
  legacyRemain_.setText(text(IDS_BUTTON_REMAIN));
  installUsb_.setTooltipText(text(IDS_TIP_INSTALL_USB));
  addNetwork_.setTooltipText(text(IDS_TIP_ADD_NETWORK));
  deleteAll_.setTooltipText(text(IDS_TIP_DELETE_ALL));
  close_.setTooltipText(text(IDS_TIP_CLOSE));
  minimise_.setTooltipText(text(IDS_TIP_MINIMIZE));
  // A second instance finds this window by its title.
  setWindowText(text(IDS_APP_TITLE));
}

void CBrisvaneDlg::layOut() {
  const int width = clientRect().width();
  const int height = mainWindowHeight(width);
  windows().moveWindow(window(), {0, 0, width, height}, true);
  for (const LayoutRow& row : mainWindowRows()) {
    for (const int id : row.controls) {
      const plat::WindowId control = item(id);
      const Rect screen = windows().getWindowRect(control);
      const plat::Point at = windows().screenToClient(window(), {screen.left, screen.top});
      const int top = rowTop(row, height);
      windows().moveWindow(control,
                           {at.x, top, at.x + screen.width(), top + rowHeight(row, height)}, true);
    }
  }
}

void CBrisvaneDlg::applyFonts() {
  const auto fonts = mainWindowFonts(uiLanguageIndex(), isYaheiInstalled());
  if (!fonts) return;
  title_.setFont(fonts->title, fonts->face);
  welcome_.setFont(fonts->welcome, fonts->face);
  statusLine_.setFont(fonts->status, fonts->face);
  for (CColorStatic* line : {&versionLine_, &notice_, &websiteLink_}) {
    line->setFont(fonts->small, fonts->face);
  }
}

void CBrisvaneDlg::applyColoursAndIcons() {
  title_.setTextColour(kTitleColour);
  welcome_.setTextColour(kBodyColour);
  statusLine_.setTextColour(kBodyColour);
  versionLine_.setTextColour(kSmallColour);
  notice_.setTextColour(kSmallColour);
  websiteLink_.setTextColour(kLinkColour);
  const std::pair<CButtonST*, std::uint32_t> actions[] = {{&installUsb_, IDI_INSTALL_USB},
                                                          {&addNetwork_, IDI_ADD_NETWORK},
                                                          {&deleteAll_, IDI_DELETE_ALL}};
  for (const auto& [button, icon] : actions) {
    button->setIcons(windows().loadIcon(icon, 0, 0));
    for (const auto slot :
         {CButtonST::Slot::TextHot, CButtonST::Slot::TextIdle, CButtonST::Slot::TextFocus}) {
      button->setColour(slot, kWhite);
    }
  }
  close_.setIcons(windows().loadIcon(IDI_CLOSE, 0, 0));
  close_.setTransparent();
  minimise_.setIcons(windows().loadIcon(IDI_MINIMISE, 0, 0));
  minimise_.setTransparent();
}

void CBrisvaneDlg::placeResultList() {
  const Rect status = statusLine_.rectInParent();
  const Rect list = resultList_.rectInParent();
  const int top = status.bottom + kResultListGap;
  resultList_.moveTo({status.left, top, status.left + list.width(), top + list.height()});
}

void CBrisvaneDlg::setActionButtonsLook(bool ready) {
  const Colour action = ready ? kReadyColour : kBusyColour;
  const Colour remove = ready && driverInstalled_ ? kReadyColour : kBusyColour;
  for (const auto& [button, colour] : {std::pair<CButtonST*, Colour>{&installUsb_, action},
                                       {&addNetwork_, action},
                                       {&deleteAll_, remove}}) {
    for (const auto slot :
         {CButtonST::Slot::BackHot, CButtonST::Slot::BackIdle, CButtonST::Slot::BackFocus}) {
      button->setColour(slot, colour);
    }
    button->redraw(plat::kRdwInvalidate | plat::kRdwErase);
  }
}

// The normal refresh of the state watch: the legacy-suite buttons hidden,
// the window no longer busy, the buttons ready, the next refresh armed.
// The watch itself (printers, driver state, legacy suite) comes later.
void CBrisvaneDlg::refreshWindowState() {
  legacyUninstall_.show(false);
  legacyRemain_.show(false);
  busy_ = false;
  setActionButtonsLook(true);
  setTimer(kRefreshTimer, kRefreshPeriod);
}

void CBrisvaneDlg::onTimer(std::uintptr_t id) {
  if (id == kBackgroundTimer) {
    rotateBackground();
  } else if (id == kRefreshTimer && idle_) {
    killTimer(kRefreshTimer);
    refreshWindowState();
  } else if (id == kStatusTimer) {
    animateStatusLine();
  }
}

bool CBrisvaneDlg::onPaint() {
  if (!backgroundLoaded_) {
    backgroundLoaded_ = true;
    backgroundId_ = IDB_BACKGROUND_1;
    background_.reset(windows().loadBitmap(backgroundId_));
  }
  const auto canvas = windows().beginPaint(window());
  const Rect client = clientRect();
  if (windows().isIconic(window())) {
    const auto icon = windows().getIconPixels(programIcon_.get());
    if (icon) {
      canvas->drawIcon(
          programIcon_.get(),
          {(client.width() - icon->width + 1) / 2, (client.height() - icon->height + 1) / 2},
          icon->width, icon->height, false);
    }
    return true;
  }
  canvas->stretchBitmap(background_.get(), client);
  return false;
}

std::optional<plat::GdiObject> CBrisvaneDlg::onCtlColour(plat::ControlColours& colours,
                                                         plat::WindowId control, int kind,
                                                         std::optional<plat::GdiObject> brush) {
  const int id = windows().getDlgCtrlId(control);
  if (id == IDC_LEGACY_REMAIN || id == IDC_LEGACY_UNINSTALL) colours.textColour = kSmallColour;
  if (kind == plat::kCtlColorStatic || kind == plat::kCtlColorBtn) {
    colours.transparent = true;
    return windows().getStockObject(plat::kNullBrush);
  }
  return brush;
}

std::optional<std::intptr_t> CBrisvaneDlg::onHitTest(plat::Point screen) {
  const Rect client = clientRect();
  const plat::Point origin = windows().clientToScreen(window(), {0, 0});
  const plat::Point local{screen.x - origin.x, screen.y - origin.y};
  const Rect link = windows().getWindowRect(item(IDC_WEBSITE_LINK));
  // The background drags the window, except on the link and the printer
  // icon, where the click reaches the window.
  if (client.contains(local) && !link.contains(screen) && !kIconSquare.contains(local)) {
    return plat::kHtCaption;
  }
  return std::nullopt;
}

bool CBrisvaneDlg::onMouseMove(plat::Point client, std::uintptr_t keys) {
  (void)client;
  (void)keys;
  windows().setCursor(handCursor_);
  return false;
}

bool CBrisvaneDlg::onLButtonDown(plat::Point client, std::uintptr_t keys) {
  (void)keys;
  if (websiteLink_.rectInParent().contains(client)) {
    openWebsite();
  } else {
    openIconMenu(windows().clientToScreen(window(), client));
  }
  return true;
}

void CBrisvaneDlg::openWebsite() {
  windows().setCursor(handCursor_);
  plat::ports().shell().shellExecute(plat::kNoWindow, L"open", websiteAddress(uiLanguageIndex()),
                                     L"", L"", plat::kSwShowNormal);
}

// The printer icon's menu 159; its commands arrive as WM_COMMAND.
void CBrisvaneDlg::openIconMenu(plat::Point screen) {
  const plat::MenuId menu = windows().loadMenu(IDR_ICON_MENU);
  const plat::MenuId popup = windows().getSubMenu(menu, 0);
  if (popup != plat::kNoMenu) windows().trackPopupMenu(popup, screen, window());
  if (menu != plat::kNoMenu) windows().destroyMenu(menu);
}

void CBrisvaneDlg::onCommand(int id, unsigned notification) {
  if (id == IDC_LANGUAGE_BOX) {
    if (notification == plat::kCbnSelChange) onLanguageChanged();
    return;
  }
  if (id >= ID_MENU_RESET_EXIT && id <= ID_MENU_ADD_USB_MANUALLY) {
    onIconMenuCommand(id);
    return;
  }
  if (notification != plat::kBnClicked) return;
  switch (id) {
    case IDC_INSTALL_USB:
      startUsbInstall();
      break;
    case IDC_ADD_NETWORK:
      startNetworkInstall();
      break;
    case IDC_DELETE_ALL:
      startDeleteAll();
      break;
    case IDC_LEGACY_UNINSTALL:
      uninstallLegacySuite();
      break;
    case IDC_LEGACY_REMAIN:
      keepLegacySuite();
      break;
    default:
      Dialog::onCommand(id, notification);
  }
}

void CBrisvaneDlg::onLanguageChanged() {
  setUiLanguage(languageBox_.curSel());
  relabelAboutItem();
  updateVersionLine();
  setTexts();
  applyFonts();
  refreshWindowState();
  redraw(plat::kRdwUpdateNow | plat::kRdwErase | plat::kRdwInvalidate);
}

std::optional<std::intptr_t> CBrisvaneDlg::onUserMessage(const plat::Message& message) {
  if (message.id != kJobFinished) return std::nullopt;
  onJobFinished(static_cast<std::intptr_t>(message.wParam));
  return 0;
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
  windows().showWindow(window(), plat::kSwShowMinimized);
}

void CBrisvaneDlg::onCancel() {
  background_.reset();
  endDialog(plat::kIdCancel);
}

}  // namespace brisvane
