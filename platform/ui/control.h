// Controls of a dialog, bound by id: the plain wrappers that send the
// control messages, and the base of controls that subclass their window
// or draw themselves.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/api/ports.h"

namespace plat::ui {

class Control : private ControlProcedure {
 public:
  Control() = default;
  virtual ~Control();

  // Binds the control window; controls that handle messages subclass it.
  void attach(WindowId window);
  [[nodiscard]] WindowId window() const { return window_; }
  [[nodiscard]] int id() const;

  void setText(const std::wstring& text);
  [[nodiscard]] std::wstring text() const;
  void show(bool visible);
  [[nodiscard]] bool isVisible() const;
  // The control's rectangle in its parent's client area, and moving it.
  [[nodiscard]] Rect rectInParent() const;
  void moveTo(const Rect& rect);
  void redraw(Dword flags = kRdwInvalidate | kRdwErase | kRdwUpdateNow);
  std::intptr_t send(std::uint32_t message, std::uintptr_t wParam = 0, std::intptr_t lParam = 0);

  // What the dialog reflects to its bound controls: the owner-draw request
  // and the control-colour request (the brush to answer, if the control
  // answers it).
  virtual void drawItem(const DrawItem& item) { (void)item; }
  virtual std::optional<GdiObject> reflectCtlColour(ControlColours& colours, int kind) {
    (void)colours;
    (void)kind;
    return std::nullopt;
  }

 protected:
  // Controls that handle their own messages return true.
  [[nodiscard]] virtual bool subclasses() const { return false; }
  // A message of the subclassed window; true when handled.
  virtual bool onMessage(const Message& message, std::intptr_t& result) {
    (void)message;
    (void)result;
    return false;
  }
  virtual void onAttached() {}
  std::intptr_t defaultHandling(const Message& message);

 private:
  bool controlProc(WindowId control, const Message& message, std::intptr_t& result) final;
  WindowId window_ = kNoWindow;
  bool subclassed_ = false;
};

class Button : public Control {
 public:
  [[nodiscard]] int check() { return static_cast<int>(send(kBmGetCheck)); }
  void setCheck(int state) { send(kBmSetCheck, static_cast<std::uintptr_t>(state)); }
};

class Static : public Control {};

class ComboBox : public Control {
 public:
  int insertString(int index, const std::wstring& text) {
    return static_cast<int>(send(kCbInsertString, static_cast<std::uintptr_t>(index),
                                 reinterpret_cast<std::intptr_t>(text.c_str())));
  }
  int setCurSel(int index) {
    return static_cast<int>(send(kCbSetCurSel, static_cast<std::uintptr_t>(index)));
  }
  [[nodiscard]] int curSel() { return static_cast<int>(send(kCbGetCurSel)); }
};

class ListBox : public Control {
 public:
  int addString(const std::wstring& text) {
    return static_cast<int>(send(kLbAddString, 0, reinterpret_cast<std::intptr_t>(text.c_str())));
  }
  [[nodiscard]] int count() { return static_cast<int>(send(kLbGetCount)); }
};

class ProgressBar : public Control {
 public:
  void setRange(int low, int high) {
    send(kPbmSetRange, 0,
         static_cast<std::intptr_t>(
             makeWParam(static_cast<unsigned>(low), static_cast<unsigned>(high))));
  }
  int setPos(int position) {
    return static_cast<int>(send(kPbmSetPos, static_cast<std::uintptr_t>(position)));
  }
  [[nodiscard]] int pos() { return static_cast<int>(send(kPbmGetPos)); }
  [[nodiscard]] int lower() { return static_cast<int>(send(kPbmGetRange, 1)); }
  [[nodiscard]] int upper() { return static_cast<int>(send(kPbmGetRange, 0)); }
};

// A tooltip window with one tool per id; destroyed with the object.
class Tooltip {
 public:
  Tooltip() = default;
  Tooltip(const Tooltip&) = delete;
  Tooltip& operator=(const Tooltip&) = delete;
  ~Tooltip();

  bool create(WindowId owner);
  [[nodiscard]] bool exists() const { return window_ != kNoWindow; }
  [[nodiscard]] WindowId window() const { return window_; }
  void addTool(const ToolInfo& tool);
  void updateText(const ToolInfo& tool);
  void activate(bool active);
  void setMaxWidth(int pixels);
  [[nodiscard]] int toolCount() const;
  void relay(WindowId from, const Message& message);

 private:
  WindowId window_ = kNoWindow;
};

}  // namespace plat::ui
