// CColorStatic: a static text with its own font and text colour.
#pragma once

#include <optional>
#include <string>

#include "platform/ui/control.h"
#include "platform/ui/gdi.h"

namespace brisvane {

class CColorStatic final : public plat::ui::Static {
 public:
  static constexpr std::size_t kMaxFaceChars = 31;

  CColorStatic();

  void setTextColour(plat::Colour colour);
  // A new font of `height` (and `face`, cut to 31 characters, when given)
  // from the font description; the previous font object is deleted.
  void setFont(int height, const std::optional<std::wstring>& face = std::nullopt);
  [[nodiscard]] const plat::FontSpec& fontSpec() const { return spec_; }
  [[nodiscard]] plat::GdiObject font() const { return font_.get(); }

  std::optional<plat::GdiObject> reflectCtlColour(plat::ControlColours& colours, int kind) override;

 protected:
  [[nodiscard]] bool subclasses() const override { return true; }
  bool onMessage(const plat::Message& message, std::intptr_t& result) override;

 private:
  plat::Colour textColour_ = 0;
  plat::Colour backColour_;
  bool transparentText_ = true;
  plat::FontSpec spec_;
  plat::ui::Font font_;
};

}  // namespace brisvane
