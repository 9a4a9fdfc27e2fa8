#include "platform/ui/dialog.h"

#include "platform/api/ports.h"

namespace plat::ui {

Dialog::Dialog(std::uint32_t templateId, WindowId parent)
    : templateId_(templateId), parent_(parent) {}

std::intptr_t Dialog::doModal() {
  const std::intptr_t result = ports().windows().dialogBox(templateId_, parent_, *this);
  window_ = kNoWindow;
  return result;
}

void Dialog::endDialog(std::intptr_t result) {
  ports().windows().endDialog(window_, result);
}

void Dialog::setWindowText(const std::wstring& text) {
  ports().windows().setWindowText(window_, text);
}

void Dialog::onCommand(int id, unsigned notification) {
  if (notification != kBnClicked) {
    return;
  }
  if (id == kIdOk) {
    onOk();
  } else if (id == kIdCancel) {
    onCancel();
  }
}

bool Dialog::dialogProc(WindowId window, const Message& message, std::intptr_t& result) {
  switch (message.id) {
    case kWmInitDialog:
      window_ = window;
      result = onInitDialog() ? 1 : 0;
      return true;
    case kWmCommand:
      onCommand(lowWord(message.wParam), highWord(message.wParam));
      result = 0;
      return true;
    case kWmSysCommand:
      result = 0;
      return onSysCommand(message.wParam);
    default:
      return false;
  }
}

}  // namespace plat::ui
