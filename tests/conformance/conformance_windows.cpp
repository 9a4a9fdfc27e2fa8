// Rows of the conformance table on real windows of the dialog framework: a
// modal dialog made from the main window's template, its timers, layered
// look, tooltips, owner drawing through the canvas, and menus.
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "installer/resources/resource.h"
#include "platform/api/ports.h"
#include "platform/ui/dialog.h"
#include "tests/conformance/conformance.h"

namespace conformance {

namespace {

using plat::Dword;

plat::WindowPort& windows() {
  return plat::ports().windows();
}

// A modal dialog on the main window's template (a visible popup with a
// system menu) that hands its start and its timers to the case.
class Probe final : public plat::ui::Dialog {
 public:
  Probe() : Dialog(IDD_BRISVANE_DIALOG, plat::kNoWindow) {}
  std::function<void(Probe&)> init;
  std::function<void(Probe&, std::uintptr_t)> timer;
  // Every BN_CLICKED, in place of the default handling, when set.
  std::function<void(int)> clicked;

  using Dialog::bind;
  using Dialog::item;
  using Dialog::makeTranslucent;

 protected:
  bool onInitDialog() override {
    if (init) init(*this);
    return true;
  }
  void onTimer(std::uintptr_t id) override {
    if (timer) timer(*this, id);
  }
  void onCommand(int id, unsigned notification) override {
    if (!clicked) {
      Dialog::onCommand(id, notification);
    } else if (notification == plat::kBnClicked) {
      clicked(id);
    }
  }
};

// A button whose owner-draw requests are kept.
class DrawnButton final : public plat::ui::Button {
 public:
  struct Drawn {
    plat::DrawItem item;
    plat::Rect bounds;
    plat::Rect measured;
  };
  std::vector<Drawn> drawn;

  void drawItem(const plat::DrawItem& item) override {
    item.canvas->fillRect(item.rect, plat::rgb(50, 140, 200));
    const plat::Rect measured =
        item.canvas->drawText(L"Install", item.rect, plat::kDtCalcRect | plat::kDtSingleLine);
    drawn.push_back({item, item.canvas->bounds(), measured});
  }
};

}  // namespace

void windowTimers(Check& check) {
  int fastTicks = 0;
  int slowTicks = 0;
  bool killedTwice = true;
  Probe probe;
  probe.init = [&](Probe& dialog) {
    check.expect(windows().setTimer(dialog.window(), 7, 20), "SetTimer on the dialog");
    check.expect(windows().setTimer(dialog.window(), 8, 40), "a second timer beside it");
  };
  probe.timer = [&](Probe& dialog, std::uintptr_t id) {
    if (id == 7) {
      ++fastTicks;
      check.expect(windows().killTimer(dialog.window(), 7), "KillTimer stops a running timer");
      killedTwice = windows().killTimer(dialog.window(), 7);
    } else if (id == 8 && ++slowTicks == 3) {
      windows().killTimer(dialog.window(), 8);
      dialog.endDialog(5);
    }
  };
  check.equal(probe.doModal(), std::intptr_t{5}, "WM_TIMER reaches the handler, which ends it");
  check.equal(fastTicks, 1, "a killed timer fires no more");
  check.expect(!killedTwice, "KillTimer of a killed timer fails");
  check.equal(slowTicks, 3, "a timer repeats until killed");
}

void layeredWindows(Check& check) {
  Probe probe;
  probe.init = [&](Probe& dialog) {
    // Windows refuses a window without WS_EX_LAYERED but documents no
    // error code for it: the simulated machine says 87, Wine 1400.
    check.expect(windows().setLayeredWindowAttributes(dialog.window(), 0, 242, plat::kLwaAlpha) !=
                     plat::kErrorSuccess,
                 "a window without WS_EX_LAYERED is refused");
    check.expect(dialog.makeTranslucent(242), "the framework makes the window translucent");
    check.expect(
        (windows().getWindowLong(dialog.window(), plat::kGwlExStyle) & plat::kWsExLayered) != 0,
        "which leaves it layered");
    check.equal(windows().setLayeredWindowAttributes(dialog.window(), plat::rgb(255, 0, 255), 0,
                                                     plat::kLwaColorKey),
                plat::kErrorSuccess, "a colour key alone is taken too");
    dialog.endDialog(0);
  };
  probe.doModal();
}

void tooltips(Check& check) {
  constexpr Dword kInitSize = 8;
  windows().initCommonControlsEx(kInitSize, plat::kIccBarClasses);
  Probe probe;
  probe.init = [&](Probe& dialog) {
    const plat::WindowId tip = windows().createTooltip(dialog.window());
    check.expect(tip != plat::kNoWindow, "the tooltip window is made");
    check.equal(windows().toolCount(tip), 0, "without tools");
    const plat::WindowId button = windows().getDlgItem(dialog.window(), IDC_INSTALL_USB);
    const plat::ToolInfo tool{button, 1, windows().getClientRect(button), L"Install"};
    check.expect(windows().addTool(tip, tool), "TTM_ADDTOOLW takes a tool");
    check.equal(windows().toolCount(tip), 1, "which is counted");
    windows().updateToolText(tip, {button, 1, tool.rect, L"Install the driver"});
    check.equal(windows().toolCount(tip), 1, "a new text keeps the one tool");
    check.equal(windows().setTooltipMaxWidth(tip, 400), -1, "the default width is -1");
    check.equal(windows().setTooltipMaxWidth(tip, 300), 400, "the last width comes back");
    check.expect(windows().destroyWindow(tip), "the tooltip is destroyed");
    check.expect(!windows().isWindow(tip), "and gone");
    dialog.endDialog(0);
  };
  probe.doModal();
}

void ownerDrawnButtons(Check& check) {
  DrawnButton button;
  plat::Rect client;
  Probe probe;
  probe.init = [&](Probe& dialog) {
    dialog.bind(IDC_INSTALL_USB, button);
    const Dword style = windows().getWindowLong(button.window(), plat::kGwlStyle);
    windows().setWindowLong(button.window(), plat::kGwlStyle,
                            (style & ~plat::kBsTypeMask) | plat::kBsOwnerDraw);
    client = windows().getClientRect(button.window());
    button.redraw();
    // Painting comes before timers once the dialog shows.
    windows().setTimer(dialog.window(), 1, 200);
  };
  probe.timer = [&](Probe& dialog, std::uintptr_t) {
    windows().killTimer(dialog.window(), 1);
    dialog.endDialog(0);
  };
  probe.doModal();
  check.expect(!button.drawn.empty(), "WM_DRAWITEM reaches the bound button");
  if (button.drawn.empty()) return;
  const auto& first = button.drawn.front();
  check.equal(first.item.controlId, IDC_INSTALL_USB, "with its control id");
  check.equal(first.item.control, button.window(), "and its window");
  check.equal(first.item.rect, client, "the item rectangle is the client area");
  check.equal(first.bounds, client, "and so is the canvas");
  check.expect(first.measured.width() > 0 && first.measured.height() > 0,
               "DT_CALCRECT measures the text with the button's font");
}

void menus(Check& check) {
  Probe probe;
  probe.init = [&](Probe& dialog) {
    const plat::MenuId system = windows().getSystemMenu(dialog.window(), false);
    check.expect(system != plat::kNoMenu, "a window with WS_SYSMENU has a system menu");
    check.expect(windows().appendMenu(system, plat::kMfSeparator, 0, L""), "a separator is added");
    check.expect(windows().appendMenu(system, plat::kMfString, 0x10, L"About"), "and an item");
    check.expect(windows().modifyMenu(system, 0x10, plat::kMfString, 0x10, L"About Brisvane"),
                 "the item is found by its command");
    check.expect(!windows().modifyMenu(system, 0x4242, plat::kMfString, 0x4242, L"None"),
                 "an unknown command is not");
    const plat::MenuId menu = windows().loadMenu(IDR_ICON_MENU);
    check.expect(menu != plat::kNoMenu, "LoadMenuW loads the menu resource");
    check.expect(windows().getSubMenu(menu, 0) != plat::kNoMenu, "its first item is a popup");
    check.equal(windows().getSubMenu(menu, 1), plat::kNoMenu, "past the last item is none");
    check.expect(windows().destroyMenu(menu), "DestroyMenu frees it");
    dialog.endDialog(0);
  };
  probe.doModal();
}

void dialogTabOrder(Check& check) {
  Probe probe;
  probe.init = [&](Probe& dialog) {
    const auto next = [&](int id, bool previous) {
      return windows().getNextDlgTabItem(dialog.window(), dialog.item(id), previous);
    };
    check.equal(next(IDC_INSTALL_USB, false), dialog.item(IDC_ADD_NETWORK),
                "GetNextDlgTabItem gives the next tab stop");
    check.equal(next(IDC_LEGACY_UNINSTALL, false), dialog.item(IDC_LANGUAGE_BOX),
                "past a hidden button and the texts");
    check.equal(next(IDC_LANGUAGE_BOX, false), dialog.item(plat::kIdOk),
                "round to the first past the hidden list");
    check.equal(next(plat::kIdOk, true), dialog.item(IDC_LANGUAGE_BOX), "and back");
    const plat::WindowId add = dialog.item(IDC_ADD_NETWORK);
    check.expect(!windows().enableWindow(add, false), "EnableWindow: it was enabled");
    check.expect(windows().enableWindow(add, false), "and then disabled");
    check.equal(next(IDC_INSTALL_USB, false), dialog.item(IDC_DELETE_ALL),
                "a disabled control is passed over");
    check.expect(windows().enableWindow(add, true), "enabled again");
    check.equal(next(IDC_INSTALL_USB, false), add, "and a tab stop again");
    dialog.endDialog(0);
  };
  probe.doModal();
}

void dialogKeys(Check& check) {
  // Each tick checks what the key of the tick before pressed, then presses
  // the next one, on the install button (a plain push button) with the
  // focus.
  std::vector<int> clicks;
  int step = 0;
  Probe probe;
  probe.clicked = [&](int id) { clicks.push_back(id); };
  probe.timer = [&](Probe& dialog, std::uintptr_t) {
    const plat::WindowId install = dialog.item(IDC_INSTALL_USB);
    const auto press = [&](std::uintptr_t key) {
      windows().setFocus(install);
      windows().postMessage(install, {plat::kWmKeyDown, key, 0});
    };
    const auto pressed = [&](std::vector<int> expected, const std::string& what) {
      check.equal(clicks, expected, what);
      clicks.clear();
    };
    switch (step++) {
      case 0:
        check.equal(windows().sendMessage(dialog.window(), {plat::kDmGetDefId, 0, 0}),
                    static_cast<std::intptr_t>(
                        plat::makeWParam(static_cast<unsigned>(plat::kIdOk), plat::kDcHasDefId)),
                    "without a default button in the template the default is IDOK");
        check.equal(windows().sendMessage(install, {plat::kWmGetDlgCode, 0, 0}),
                    plat::kDlgcButton | plat::kDlgcUndefPushButton,
                    "a push button answers WM_GETDLGCODE as one that is not the default");
        press(plat::kVkReturn);
        break;
      case 1:
        pressed({plat::kIdOk}, "Enter on a push button that is not the default presses IDOK");
        windows().sendMessage(install, {plat::kBmSetStyle, plat::kBsDefPushButton, 1});
        press(plat::kVkReturn);
        break;
      case 2:
        pressed({IDC_INSTALL_USB}, "Enter on the default push button presses it");
        windows().sendMessage(install, {plat::kBmSetStyle, plat::kBsPushButton, 1});
        windows().enableWindow(dialog.item(plat::kIdOk), false);
        press(plat::kVkReturn);
        break;
      case 3:
        pressed({}, "Enter presses no disabled default button");
        press(plat::kVkEscape);
        break;
      default:
        pressed({plat::kIdCancel}, "Escape presses IDCANCEL");
        windows().setFocus(install);
        windows().enableWindow(install, false);
        check.equal(windows().getFocus(), plat::kNoWindow,
                    "a control loses the focus when it is disabled");
        windows().killTimer(dialog.window(), 1);
        dialog.endDialog(0);
    }
  };
  probe.init = [&](Probe& dialog) { windows().setTimer(dialog.window(), 1, 50); };
  probe.doModal();
  check.equal(step, 5, "every step ran");
}

}  // namespace conformance
