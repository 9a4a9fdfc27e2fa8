// CCustomProgress: a progress bar painted in two flat colours.
#pragma once

#include "platform/ui/control.h"

namespace brisvane {

class CCustomProgress final : public plat::ui::ProgressBar {
 public:
  static constexpr plat::Colour kTrackColour = plat::rgb(200, 200, 200);
  static constexpr plat::Colour kBarColour = plat::rgb(140, 240, 200);

  // The filled part of a bar `width` wide at `position` of the range.
  static int filledWidth(int width, int lower, int upper, int position);

 protected:
  [[nodiscard]] bool subclasses() const override { return true; }
  bool onMessage(const plat::Message& message, std::intptr_t& result) override;
};

}  // namespace brisvane
