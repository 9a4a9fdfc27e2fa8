// The UI language: a process-wide index that every thread applies to
// itself before it loads texts.
#pragma once

#include "platform/api/types.h"

namespace brisvane {

enum UiLanguage : int {
  kUiEnglish = 0,
  kUiChinese = 1,
  kUiKorean = 2,
};

// The current UI language index of the process.
int uiLanguageIndex();

// The Windows language of an index: 2052 for Chinese, 1042 for Korean,
// 1033 for every other value.
plat::LangId langIdOfUiLanguage(int index);

// The index for the user's default UI language: only 2052 and 1042 are
// recognised, every other language gives English.
int uiLanguageForUser();

// Stores the index for the process and applies it to the calling thread: on
// Windows XP as the thread locale, on later editions as the thread's UI
// language. Resource look-ups on this thread then use that language.
void setUiLanguage(int index);

}  // namespace brisvane
