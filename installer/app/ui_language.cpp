#include "installer/app/ui_language.h"

#include "installer/payload/platform_detection.h"
#include "platform/api/ports.h"

namespace brisvane {

namespace {

struct UiLanguageState {
  int index = kUiEnglish;
};

}  // namespace

int uiLanguageIndex() {
  return plat::processLocal<UiLanguageState>().index;
}

plat::LangId langIdOfUiLanguage(int index) {
  switch (index) {
    case kUiChinese:
      return plat::kLangChineseSimplified;
    case kUiKorean:
      return plat::kLangKorean;
    default:
      return plat::kLangEnglishUs;
  }
}

int uiLanguageForUser() {
  plat::SystemPort& system = plat::ports().system();
  if (system.getUserDefaultUiLanguage() == plat::kLangChineseSimplified) {
    return kUiChinese;
  }
  if (system.getUserDefaultUiLanguage() == plat::kLangKorean) {
    return kUiKorean;
  }
  return kUiEnglish;
}

void setUiLanguage(int index) {
  plat::processLocal<UiLanguageState>().index = index;
  const bool windowsXp = getWindowsName() == L"Microsoft Windows XP";
  const plat::LangId lang = langIdOfUiLanguage(index);
  plat::SystemPort& system = plat::ports().system();
  if (windowsXp) {
    system.setThreadLocale(plat::makeLcid(lang));
  } else {
    system.setThreadUiLanguage(lang);
  }
}

}  // namespace brisvane
