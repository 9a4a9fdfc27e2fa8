#include "installer/controls/color_static.h"

#include <utility>

namespace brisvane {

namespace {

constexpr int kDescriptionHeight = 8;

plat::WindowPort& windows() {
  return plat::ports().windows();
}

}  // namespace

CColorStatic::CColorStatic() : backColour_(windows().getSysColour(plat::kColorBtnFace)) {
  spec_.height = kDescriptionHeight;
  spec_.weight = plat::kFwBold;
  spec_.quality = plat::kProofQuality;
  spec_.pitchAndFamily = plat::kVariablePitch | plat::kFfRoman;
  spec_.face = L"微软雅黑";
}

void CColorStatic::setTextColour(plat::Colour colour) {
  textColour_ = colour;
  redraw();
}

void CColorStatic::setFont(int height, const std::optional<std::wstring>& face) {
  spec_.height = height;
  if (face) spec_.face = face->substr(0, kMaxFaceChars);
  // The control draws its text with the font it was given by WM_SETFONT;
  // the previous font object goes only once the control holds the new one.
  plat::ui::Font next(windows().createFont(spec_));
  send(plat::kWmSetFont, static_cast<std::uintptr_t>(next.get()));
  font_ = std::move(next);
  redraw();
}

std::optional<plat::GdiObject> CColorStatic::reflectCtlColour(plat::ControlColours& colours,
                                                              int kind) {
  if (kind == plat::kCtlColorStatic) {
    colours.textColour = textColour_;
    colours.backColour = backColour_;
    if (transparentText_) colours.transparent = true;
  }
  return windows().getStockObject(plat::kWhiteBrush);
}

bool CColorStatic::onMessage(const plat::Message& message, std::intptr_t& result) {
  if (message.id != plat::kWmSetText) return false;
  // The parent repaints the background behind the new text, there only.
  result = defaultHandling(message);
  windows().invalidateRect(windows().getParent(window()), rectInParent(), true);
  return true;
}

}  // namespace brisvane
