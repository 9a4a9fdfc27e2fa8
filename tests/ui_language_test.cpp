#include <gtest/gtest.h>

#include "installer/app/ui_language.h"
#include "installer/resources/string_ids.h"
#include "platform/api/ports.h"
#include "platform/ui/strings.h"
#include "tests/sim_support.h"

namespace brisvane {
namespace {

using plat::sim::Machine;
using testing::machineWithLanguage;
using testing::runInProcess;

TEST(UiLanguage, ChosenFromTheUsersUiLanguage) {
  struct Case {
    plat::LangId user;
    int index;
    const wchar_t* title;
  };
  const Case cases[] = {
      {2052, kUiChinese, L"Corvantis打印机驱动安装器"},
      {1042, kUiKorean, L"Corvantis 프린터 드라이버 인스톨러"},
      {1033, kUiEnglish, L"Corvantis Printer Driver Installer"},
      {1028, kUiEnglish, L"Corvantis Printer Driver Installer"},  // Chinese, Taiwan
      {4100, kUiEnglish, L"Corvantis Printer Driver Installer"},  // Chinese, Singapore
      {1031, kUiEnglish, L"Corvantis Printer Driver Installer"},
  };
  for (const auto& c : cases) {
    Machine machine(machineWithLanguage(c.user));
    int index = -1;
    std::wstring title;
    runInProcess(machine, [&] {
      setUiLanguage(uiLanguageForUser());
      index = uiLanguageIndex();
      title = plat::ui::loadString(IDS_APP_TITLE);
    });
    EXPECT_EQ(index, c.index) << c.user;
    EXPECT_EQ(title, c.title) << c.user;
  }
}

TEST(UiLanguage, XpAppliesTheThreadLocaleLaterEditionsTheThreadUiLanguage) {
  struct Case {
    plat::Dword major;
    plat::Dword minor;
    bool expectLocale;
  };
  for (const auto& c :
       {Case{5, 1, true}, Case{5, 2, true}, Case{6, 1, false}, Case{10, 0, false}}) {
    plat::sim::MachineConfig config = machineWithLanguage(plat::kLangEnglishUs);
    config.os.majorVersion = c.major;
    config.os.minorVersion = c.minor;
    Machine machine(config);
    plat::Lcid locale = 0;
    plat::LangId uiLanguage = 0;
    std::wstring title;
    runInProcess(machine, [&] {
      setUiLanguage(kUiKorean);
      locale = plat::ports().system().getThreadLocale();
      uiLanguage = plat::ports().system().getThreadUiLanguage();
      title = plat::ui::loadString(IDS_APP_TITLE);
    });
    EXPECT_EQ(locale, c.expectLocale ? plat::kLangKorean : plat::kLangEnglishUs) << c.major;
    EXPECT_EQ(uiLanguage, c.expectLocale ? plat::kLangEnglishUs : plat::kLangKorean) << c.major;
    EXPECT_EQ(title, L"Corvantis 프린터 드라이버 인스톨러") << c.major << "." << c.minor;
  }
}

TEST(UiLanguage, EachThreadLoadsTextsInTheLanguageItSetItself) {
  Machine machine(machineWithLanguage(plat::kLangEnglishUs));
  std::wstring workerWithLanguage;
  std::wstring workerWithout;
  std::wstring mainThread;
  runInProcess(machine, [&] {
    plat::SystemPort& system = plat::ports().system();
    setUiLanguage(kUiChinese);
    const plat::KernelHandle worker = system.createThread([&] {
      setUiLanguage(uiLanguageIndex());
      workerWithLanguage = plat::ui::loadString(IDS_APP_TITLE);
      return plat::Dword{0};
    });
    system.waitForSingleObject(worker, plat::kInfinite);
    system.closeHandle(worker);
    // A thread that never sets its language loads the user's language.
    const plat::KernelHandle plain = system.createThread([&] {
      workerWithout = plat::ui::loadString(IDS_APP_TITLE);
      return plat::Dword{0};
    });
    system.waitForSingleObject(plain, plat::kInfinite);
    system.closeHandle(plain);
    mainThread = plat::ui::loadString(IDS_APP_TITLE);
  });
  EXPECT_EQ(workerWithLanguage, L"Corvantis打印机驱动安装器");
  EXPECT_EQ(workerWithout, L"Corvantis Printer Driver Installer");
  EXPECT_EQ(mainThread, L"Corvantis打印机驱动安装器");
}

TEST(UiLanguage, IndexMapsToWindowsLanguages) {
  EXPECT_EQ(langIdOfUiLanguage(kUiEnglish), 1033);
  EXPECT_EQ(langIdOfUiLanguage(kUiChinese), 2052);
  EXPECT_EQ(langIdOfUiLanguage(kUiKorean), 1042);
  EXPECT_EQ(langIdOfUiLanguage(7), 1033);
  EXPECT_EQ(langIdOfUiLanguage(-1), 1033);
}

}  // namespace
}  // namespace brisvane
