#include "installer/controls/button_st.h"

namespace brisvane {

namespace {

using plat::Canvas;
using plat::Colour;
using plat::GdiObject;
using plat::Rect;

constexpr int kIconGap = 3;
constexpr int kTooltipWidth = 400;
constexpr std::uintptr_t kToolId = 1;

plat::WindowPort& windows() {
  return plat::ports().windows();
}

}  // namespace

plat::IconPixels greyIconPixels(const plat::IconPixels& icon) {
  plat::IconPixels grey = icon;
  for (Colour& pixel : grey.colour) {
    if (pixel == 0) continue;
    const double luminance =
        0.299 * plat::redOf(pixel) + 0.587 * plat::greenOf(pixel) + 0.114 * plat::blueOf(pixel);
    const auto level = static_cast<unsigned>(luminance);
    pixel = plat::rgb(level, level, level);
  }
  return grey;
}

CButtonST::CButtonST()
    : colours_{windows().getSysColour(plat::kColorBtnFace),
               windows().getSysColour(plat::kColorBtnText),
               windows().getSysColour(plat::kColorBtnFace),
               windows().getSysColour(plat::kColorBtnText),
               windows().getSysColour(plat::kColorBtnFace),
               windows().getSysColour(plat::kColorBtnText)} {}

void CButtonST::onAttached() {
  const plat::Dword style = windows().getWindowLong(window(), plat::kGwlStyle);
  const plat::Dword type = style & plat::kBsTypeMask;
  checkBox_ = (style & plat::kBsCheckBoxBit) != 0;
  isDefault_ = type == plat::kBsDefPushButton;
  windows().setWindowLong(window(), plat::kGwlStyle,
                          (style & ~plat::kBsTypeMask) | plat::kBsOwnerDraw);
  windows().setWindowPos(
      window(), {},
      plat::kSwpNoMove | plat::kSwpNoSize | plat::kSwpNoActivate | plat::kSwpFrameChanged);
}

bool CButtonST::fill(IconSlot& slot, GdiObject icon) {
  slot.icon.reset(icon);
  slot.width = 0;
  slot.height = 0;
  if (icon == plat::kNoObject) return true;
  const auto pixels = windows().getIconPixels(icon);
  if (!pixels) return false;
  // The icon's size is twice its hotspot, as GetIconInfo reports it.
  slot.width = pixels->hotspot.x * 2;
  slot.height = pixels->hotspot.y * 2;
  return true;
}

void CButtonST::setIcons(GdiObject normal, GdiObject idle) {
  GdiObject idleIcon = idle;
  if (idle == kGreyIdleIcon) {
    const auto pixels = windows().getIconPixels(normal);
    idleIcon = pixels ? windows().createIcon(greyIconPixels(*pixels)) : plat::kNoObject;
  }
  const bool ok = fill(normal_, normal) && fill(idle_, idleIcon);
  if (!ok) {
    fill(normal_, plat::kNoObject);
    fill(idle_, plat::kNoObject);
  }
  redraw();
}

void CButtonST::ensureTooltip() {
  if (tooltip_.exists()) return;
  tooltip_.create(window());
  tooltip_.activate(false);
  tooltip_.setMaxWidth(kTooltipWidth);
}

void CButtonST::setTooltipText(const std::wstring& text) {
  ensureTooltip();
  const plat::ToolInfo tool{window(), kToolId, windows().getClientRect(window()), text};
  if (tooltip_.toolCount() == 0) tooltip_.addTool(tool);
  tooltip_.updateText(tool);
  tooltip_.activate(true);
}

void CButtonST::setTransparent() {
  transparent_ = true;
  savedBackground_.reset();
}

void CButtonST::setColour(Slot slot, Colour colour) {
  colours_[index(slot)] = colour;
  redraw();
}

void CButtonST::makeIdle() {
  if (hot_) {
    hot_ = false;
    redraw();
  }
}

bool CButtonST::onMessage(const plat::Message& message, std::intptr_t& result) {
  ensureTooltip();
  tooltip_.relay(window(), message);
  switch (message.id) {
    case plat::kWmMouseMove: {
      if ((message.wParam & plat::kMkLButton) != 0 && !hot_) return false;
      const plat::WindowId under = windows().windowFromPoint(windows().getCursorPos());
      if (under == window() && !hot_) {
        hot_ = true;
        redraw();
        windows().trackMouseLeave(window());
      } else if (under != window()) {
        makeIdle();
      }
      return false;
    }
    case plat::kWmMouseLeave:
    case plat::kWmKillFocus:
    case plat::kWmCancelMode:
      makeIdle();
      return false;
    case plat::kWmEnable:
      if (message.wParam == 0) {
        makeIdle();
        // The focus goes on to the next control of the tab order, or to
        // the parent when there is none.
        const plat::WindowId parent = windows().getParent(window());
        const plat::WindowId next = windows().getNextDlgTabItem(parent, window(), false);
        windows().setFocus(next != plat::kNoWindow && next != window() ? next : parent);
      }
      return false;
    case plat::kWmLButtonDblClk:
      result = defaultHandling({plat::kWmLButtonDown, message.wParam, message.lParam});
      return true;
    case plat::kWmLButtonDown:
      windows().setFocus(window());
      return false;
    case plat::kWmGetDlgCode:
      result = defaultHandling(message) |
               (isDefault_ ? plat::kDlgcDefPushButton : plat::kDlgcUndefPushButton);
      return true;
    case plat::kBmSetStyle:
      isDefault_ = (message.wParam & plat::kBsTypeMask) == plat::kBsDefPushButton;
      result = defaultHandling({plat::kBmSetStyle,
                                (message.wParam & ~plat::kBsTypeMask) | plat::kBsOwnerDraw,
                                message.lParam});
      return true;
    case plat::kWmSysColorChange:
      savedBackground_.reset();
      return false;
    default:
      return false;
  }
}

std::optional<GdiObject> CButtonST::reflectCtlColour(plat::ControlColours& colours, int kind) {
  (void)colours;
  (void)kind;
  return windows().getStockObject(plat::kNullBrush);
}

void CButtonST::drawBackground(Canvas& canvas, const Rect& rect, bool pressed, bool focused) {
  if (transparent_) {
    // The parent's pixels under the button, captured once.
    if (!savedBackground_) savedBackground_.reset(canvas.captureBitmap(rect));
    canvas.drawBitmap(savedBackground_.get(), {rect.left, rect.top});
    return;
  }
  const Slot slot = hot_ || pressed ? Slot::BackHot : focused ? Slot::BackFocus : Slot::BackIdle;
  canvas.fillRect(rect, colour(slot));
}

void CButtonST::drawIcon(Canvas& canvas, const Rect& rect, bool pressed, bool disabled,
                         Rect& caption) const {
  const IconSlot& slot = idle_.icon && !hot_ && !pressed ? idle_ : normal_;
  if (!slot.icon) return;
  const bool hasCaption = !text().empty();
  const int x = hasCaption ? rect.left + kIconGap : rect.left + (rect.width() - slot.width) / 2;
  int y = rect.top + (rect.height() - slot.height) / 2;
  int shiftedX = x;
  if (pressed && !checkBox_) {
    ++shiftedX;
    ++y;
  }
  canvas.drawIcon(slot.icon.get(), {shiftedX, y}, slot.width, slot.height, disabled);
  if (hasCaption) caption.left = x + slot.width + kIconGap;
}

void CButtonST::drawCaption(Canvas& canvas, const std::wstring& text, Rect caption, bool pressed,
                            bool disabled) const {
  const Rect measured =
      canvas.drawText(text, caption, plat::kDtWordBreak | plat::kDtCenter | plat::kDtCalcRect);
  int dx = (caption.width() - measured.width()) / 2;
  int dy = (caption.height() - measured.height()) / 2;
  if (pressed && !checkBox_) {
    ++dx;
    ++dy;
  }
  const Rect centred{caption.left + dx, caption.top + dy, caption.left + dx + measured.width(),
                     caption.top + dy + measured.height()};
  const plat::Dword format = plat::kDtWordBreak | plat::kDtCenter;
  if (disabled) {
    canvas.setTextColour(windows().getSysColour(plat::kColorBtnHighlight));
    canvas.drawText(text, centred.offset(1, 1), format);
    canvas.setTextColour(windows().getSysColour(plat::kColorBtnShadow));
    canvas.drawText(text, centred, format);
    return;
  }
  canvas.setTextColour(colour(hot_ || pressed ? Slot::TextHot : Slot::TextIdle));
  canvas.drawText(text, centred, format);
}

void CButtonST::drawItem(const plat::DrawItem& item) {
  Canvas& canvas = *item.canvas;
  const bool pressed = (item.state & plat::kOdsSelected) != 0 || (checkBox_ && check() != 0);
  const bool focused = (item.state & plat::kOdsFocus) != 0;
  const bool disabled = (item.state & plat::kOdsDisabled) != 0;
  const Rect rect = item.rect;

  drawBackground(canvas, rect, pressed, focused);
  // Flat look: a one-pixel frame only while pressed (sunken) or hot (raised).
  if (pressed || hot_) {
    const Colour shadow = windows().getSysColour(plat::kColorBtnShadow);
    const Colour light = windows().getSysColour(plat::kColorBtnHighlight);
    if (pressed) {
      canvas.draw3dRect(rect, shadow, light);
    } else {
      canvas.draw3dRect(rect, light, shadow);
    }
  }
  Rect caption = rect;
  drawIcon(canvas, rect, pressed, disabled, caption);
  const std::wstring title = text();
  if (!title.empty()) drawCaption(canvas, title, caption, pressed, disabled);
}

}  // namespace brisvane
