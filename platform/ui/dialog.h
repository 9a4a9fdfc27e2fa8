// Modal dialogs built from templates of the program's resources.
#pragma once

#include <cstdint>
#include <string>

#include "platform/api/window_port.h"

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

 private:
  bool dialogProc(WindowId window, const Message& message, std::intptr_t& result) final;

  std::uint32_t templateId_;
  WindowId parent_;
  WindowId window_ = kNoWindow;
};

}  // namespace plat::ui
