// CButtonST: a flat owner-drawn push button with an icon left of its
// caption, a highlight while the mouse is over it, colour slots for its
// states and a tooltip.
#pragma once

#include <optional>
#include <string>

#include "platform/ui/control.h"
#include "platform/ui/gdi.h"

namespace brisvane {

// An icon's picture with every pixel that is not pure black replaced by a
// grey of the same luminance (0.299 R + 0.587 G + 0.114 B); mask and
// transparency stay.
plat::IconPixels greyIconPixels(const plat::IconPixels& icon);

class CButtonST final : public plat::ui::Button {
 public:
  // The colour slots: background and text for the hot, idle and focused
  // states.
  enum class Slot { BackHot, TextHot, BackIdle, TextIdle, BackFocus, TextFocus };
  static constexpr int kSlotCount = 6;
  // The idle-icon value that asks for a grey copy of the normal icon.
  static constexpr plat::GdiObject kGreyIdleIcon = static_cast<plat::GdiObject>(-2);

  CButtonST();

  // Takes ownership of the icons; `idle` may be kGreyIdleIcon.
  void setIcons(plat::GdiObject normal, plat::GdiObject idle = plat::kNoObject);
  void setTooltipText(const std::wstring& text);
  void setTransparent();
  void setColour(Slot slot, plat::Colour colour);
  [[nodiscard]] plat::Colour colour(Slot slot) const { return colours_[index(slot)]; }
  [[nodiscard]] bool isHot() const { return hot_; }

  void drawItem(const plat::DrawItem& item) override;
  std::optional<plat::GdiObject> reflectCtlColour(plat::ControlColours& colours, int kind) override;

 protected:
  [[nodiscard]] bool subclasses() const override { return true; }
  void onAttached() override;
  bool onMessage(const plat::Message& message, std::intptr_t& result) override;

 private:
  struct IconSlot {
    plat::ui::Icon icon;
    int width = 0;
    int height = 0;
  };
  static constexpr std::size_t index(Slot slot) { return static_cast<std::size_t>(slot); }
  void makeIdle();
  void ensureTooltip();
  void drawBackground(plat::Canvas& canvas, const plat::Rect& rect, bool pressed, bool focused);
  void drawIcon(plat::Canvas& canvas, const plat::Rect& rect, bool pressed, bool disabled,
                plat::Rect& caption) const;
  void drawCaption(plat::Canvas& canvas, const std::wstring& text, plat::Rect caption, bool pressed,
                   bool disabled) const;
  static bool fill(IconSlot& slot, plat::GdiObject icon);

  plat::Colour colours_[kSlotCount];
  IconSlot normal_;
  IconSlot idle_;
  bool transparent_ = false;
  bool isDefault_ = false;
  bool checkBox_ = false;
  bool hot_ = false;
  plat::ui::Bitmap savedBackground_;
  plat::ui::Tooltip tooltip_;
};

}  // namespace brisvane
