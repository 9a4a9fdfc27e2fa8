// Modal dialogs built from templates of the program's resources.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/api/window_port.h"
#include "platform/ui/control.h"

namespace plat::ui {

class Dialog : private DialogProcedure {
 public:
  Dialog(std::uint32_t templateId, WindowId parent);
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;
  virtual ~Dialog() = default;

  // Runs the dialog modally; returns the code given to endDialog, or -1 when
  // the template could not be made into a window.
  std::intptr_t doModal();
  void endDialog(std::intptr_t result);

  [[nodiscard]] WindowId window() const { return window_; }
  void setWindowText(const std::wstring& text);

 protected:
  // WM_INITDIALOG. Returns true to let the system set the focus.
  virtual bool onInitDialog() { return true; }
  // WM_COMMAND from a control or menu; the default ends the dialog on
  // IDOK and IDCANCEL.
  virtual void onCommand(int id, unsigned notification);
  // WM_SYSCOMMAND; returns false to leave it to the default handling.
  virtual bool onSysCommand(std::uintptr_t command) {
    (void)command;
    return false;
  }
  virtual void onOk() { endDialog(kIdOk); }
  virtual void onCancel() { endDialog(kIdCancel); }

  // WM_PAINT; returns false to leave the painting to the default handling.
  virtual bool onPaint() { return false; }
  virtual void onTimer(std::uintptr_t id) { (void)id; }
  // WM_NCHITTEST at a point in screen coordinates; nullopt for the default.
  virtual std::optional<std::intptr_t> onHitTest(Point screen) {
    (void)screen;
    return std::nullopt;
  }
  // Mouse messages at a point of the client area; true when handled.
  virtual bool onMouseMove(Point client, std::uintptr_t keys) {
    (void)client;
    (void)keys;
    return false;
  }
  virtual bool onLButtonDown(Point client, std::uintptr_t keys) {
    (void)client;
    (void)keys;
    return false;
  }
  // WM_CTLCOLORSTATIC and WM_CTLCOLORBTN (kCtlColorStatic, kCtlColorBtn),
  // after the bound control has given its own answer as `brush`. Returns
  // the brush to answer with.
  virtual std::optional<GdiObject> onCtlColour(ControlColours& colours, WindowId control, int kind,
                                               std::optional<GdiObject> brush) {
    (void)colours;
    (void)control;
    (void)kind;
    return brush;
  }
  // WM_QUERYDRAGICON: the icon shown while the minimised window is dragged.
  virtual GdiObject onQueryDragIcon() { return kNoObject; }
  // Messages from WM_USER on; nullopt leaves them unhandled.
  virtual std::optional<std::intptr_t> onUserMessage(const Message& message) {
    (void)message;
    return std::nullopt;
  }

  // The dialog's controls and its own window facts.
  [[nodiscard]] WindowId item(int controlId) const;
  void bind(int controlId, Control& control);
  void setItemText(int controlId, const std::wstring& text);
  void showItem(int controlId, bool visible);
  [[nodiscard]] Rect clientRect() const;
  void setTimer(std::uintptr_t id, Dword milliseconds);
  void killTimer(std::uintptr_t id);
  void postMessage(const Message& message);
  // Makes the window layered with the given opacity (0 to 255). Where the
  // system cannot (no SetLayeredWindowAttributes, or the call fails) the
  // window keeps its previous extended style and stays opaque: a layered
  // window without attributes would not show at all. True when translucent.
  bool makeTranslucent(std::uint8_t alpha);
  int messageBox(const std::wstring& text, const std::wstring& caption, Dword type);
  void redraw(Dword flags);

 private:
  bool dialogProc(WindowId window, const Message& message, std::intptr_t& result) final;

  std::optional<std::intptr_t> dispatchUiMessage(const Message& message);
  Control* bound(int controlId) const;

  std::uint32_t templateId_;
  WindowId parent_;
  WindowId window_ = kNoWindow;
  std::vector<std::pair<int, Control*>> bound_;
};

}  // namespace plat::ui
