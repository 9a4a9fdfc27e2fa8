#include "installer/controls/custom_progress.h"

namespace brisvane {

int CCustomProgress::filledWidth(int width, int lower, int upper, int position) {
  if (upper == lower) return 0;
  return static_cast<int>(position * static_cast<double>(width) / (upper - lower));
}

bool CCustomProgress::onMessage(const plat::Message& message, std::intptr_t& result) {
  if (message.id != plat::kWmPaint) return false;
  const auto canvas = plat::ports().windows().beginPaint(window());
  const plat::Rect client = plat::ports().windows().getClientRect(window());
  canvas->fillRect(client, kTrackColour);
  canvas->fillRect(
      {client.left, client.top, client.left + filledWidth(client.width(), lower(), upper(), pos()),
       client.bottom},
      kBarColour);
  result = 0;
  return true;
}

}  // namespace brisvane
