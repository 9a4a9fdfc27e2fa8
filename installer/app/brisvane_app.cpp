#include "installer/app/brisvane_app.h"

#include "installer/app/brisvane_dlg.h"
#include "installer/app/ui_language.h"
#include "installer/resources/resource.h"
#include "platform/api/ports.h"
#include "platform/ui/strings.h"

namespace brisvane {

namespace {

constexpr wchar_t kMutexName[] = L"MutexBrisvane";
constexpr wchar_t kSwitchMulti[] = L"/multi";
constexpr wchar_t kSwitchDiagnostic[] = L"/del";
constexpr int kTitleBufferChars = 50;
constexpr plat::Dword kInitCommonControlsExSize = 8;
constexpr plat::Dword kCommonControlClasses =
    plat::kIccListViewClasses | plat::kIccTreeViewClasses | plat::kIccBarClasses |
    plat::kIccTabClasses | plat::kIccUpDownClass | plat::kIccProgressClass | plat::kIccHotkeyClass |
    plat::kIccAnimateClass;

struct InstanceSearch {
  plat::WindowId otherWindow = plat::kNoWindow;
};

// Windows Sockets 1.1 as the LAN discovery needs it: a failed start-up, or
// any other granted version, is a failure.
bool startSockets() {
  plat::SocketPort& sockets = plat::ports().sockets();
  const plat::Result<std::uint16_t> started = sockets.wsaStartup(plat::makeWord(1, 1));
  if (!started) {
    return false;
  }
  if (plat::lowByte(*started) != 1 || plat::highByte(*started) != 1) {
    sockets.wsaCleanup();
    sockets.wsaSetLastError(plat::kWsaVerNotSupported);
    return false;
  }
  return true;
}

}  // namespace

CommandLineSwitch commandLineSwitch(const std::wstring& arguments) {
  if (arguments == kSwitchMulti) return CommandLineSwitch::Multi;
  if (arguments == kSwitchDiagnostic) return CommandLineSwitch::Diagnostic;
  return CommandLineSwitch::None;
}

bool searchOtherInstanceWindow(plat::WindowId window) {
  const std::wstring title = plat::ports().windows().getWindowText(window, kTitleBufferChars);
  const std::wstring mainTitle = plat::ui::loadString(IDS_APP_TITLE);
  if (title.find(mainTitle) != std::wstring::npos) {
    plat::processLocal<InstanceSearch>().otherWindow = window;
  }
  return true;
}

plat::WindowId otherInstanceWindow() {
  return plat::processLocal<InstanceSearch>().otherWindow;
}

bool CBrisvaneApp::initInstance() {
  setUiLanguage(uiLanguageForUser());

  const CommandLineSwitch commandSwitch = commandLineSwitch(commandLine());
  if (commandSwitch != CommandLineSwitch::Multi) {
    // The handle stays open for the life of the process: the mutex marks
    // this instance as running until the process ends.
    const plat::Result<plat::CreatedMutex> mutex =
        plat::ports().system().createMutex(true, kMutexName);
    if (mutex && mutex->existed) {
      plat::WindowPort& windows = plat::ports().windows();
      windows.enumWindows(searchOtherInstanceWindow);
      const plat::WindowId other = otherInstanceWindow();
      if (windows.isWindow(other)) {
        windows.showWindow(other, plat::kSwShowNormal);
        windows.setForegroundWindow(other);
      }
      return false;
    }
  }

  if (!startSockets()) {
    return false;
  }
  plat::ports().windows().initCommonControlsEx(kInitCommonControlsExSize, kCommonControlClasses);

  // The framework's registry key would be "应用程序向导生成的本地应用程序";
  // nothing is stored under it, the settings live in Brisvane.ini.
  CBrisvaneDlg dialog;
  if (commandSwitch == CommandLineSwitch::Diagnostic) {
    dialog.setDiagnosticMode(true);
  }
  dialog.doModal();
  return false;
}

int brisvaneMain() {
  CBrisvaneApp app;
  return plat::ui::runApplication(app);
}

}  // namespace brisvane
