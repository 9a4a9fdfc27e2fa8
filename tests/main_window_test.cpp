// The main window as the user sees it: layout, texts and fonts per
// language, the version line, the link, the icon square, dragging, the
// language switch and the tooltips.
#include <gtest/gtest.h>

#include <algorithm>

#include "installer/app/main_window_layout.h"
#include "installer/app/ui_language.h"
#include "installer/resources/resource.h"
#include "platform/api/registry_port.h"
#include "platform/api/system_port.h"
#include "platform/sim/text.h"
#include "tests/sim_support.h"

namespace brisvane {
namespace {

using plat::sim::Machine;
using plat::sim::MachineConfig;

constexpr plat::Point kIconSquarePoint{20, 20};

MachineConfig withoutYahei(plat::LangId language) {
  MachineConfig config = testing::machineWithLanguage(language);
  for (auto& key : config.registry) {
    std::erase_if(key.values,
                  [](const auto& v) { return v.name == L"Microsoft YaHei (TrueType)"; });
  }
  return config;
}

class MainWindow : public ::testing::Test {
 protected:
  void start(MachineConfig config = {}) {
    machine_ = std::make_unique<Machine>(std::move(config));
    simhost::installPrograms(*machine_);
    machine_->startProcess(simhost::kBrisvaneProgram, L"");
    machine_->advance(1500);  // past the first state refresh
    window_ = machine_->windows().at(0).id;
  }
  plat::sim::ControlInfo control(int id) const { return *machine_->control(window_, id); }
  // The centre of a control, in the window's client area.
  plat::Point centreOf(int id) const {
    const plat::Rect r = control(id).rect;
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }
  std::size_t transcriptCount(const std::string& text) const {
    const auto lines = machine_->transcript();
    return static_cast<std::size_t>(std::count_if(lines.begin(), lines.end(), [&](const auto& l) {
      return l.text.find(text) != std::string::npos;
    }));
  }

  std::unique_ptr<Machine> machine_;
  plat::WindowId window_ = plat::kNoWindow;
};

TEST(MainWindowLayout, RowsAreProportionalToTheWidth) {
  EXPECT_EQ(mainWindowHeight(784), 475);
  EXPECT_EQ(mainWindowHeight(777), 470);  // truncated
  const auto& rows = mainWindowRows();
  const auto row = [&](int id) {
    return *std::find_if(rows.begin(), rows.end(), [id](const LayoutRow& r) {
      return std::find(r.controls.begin(), r.controls.end(), id) != r.controls.end();
    });
  };
  EXPECT_EQ(rowTop(row(IDC_INSTALL_USB), 475), 232);
  EXPECT_EQ(rowHeight(row(IDC_INSTALL_USB), 475), 38);
  EXPECT_EQ(rowTop(row(IDC_STATUS_LINE), 475), 285);
  EXPECT_EQ(rowTop(row(IDC_WEBSITE_LINK), 475), 446);
}

TEST_F(MainWindow, TakesTheProportionalSizeAndPlacesItsRows) {
  start();
  const plat::Rect window = *machine_->windowRect(window_);
  // The template's client area is 777 pixels wide.
  EXPECT_EQ(window.width(), 777);
  EXPECT_EQ(window.height(), mainWindowHeight(777));
  const plat::Rect install = control(IDC_INSTALL_USB).rect;
  EXPECT_EQ(install.top, static_cast<int>(0.49 * 470));
  EXPECT_EQ(install.height(), static_cast<int>(0.08 * 470));
  EXPECT_EQ(install.left, control(IDC_TITLE).rect.left);  // horizontal places stay
  const plat::Rect status = control(IDC_STATUS_LINE).rect;
  EXPECT_EQ(control(IDC_RESULT_LIST).rect.top, status.bottom + 10);
  EXPECT_FALSE(control(IDC_RESULT_LIST).visible);
  EXPECT_FALSE(control(IDC_PROGRESS).visible);
  EXPECT_EQ(control(IDC_PROGRESS).position, 1);
  EXPECT_EQ(control(IDC_PROGRESS).rangeHigh, 100);
}

TEST_F(MainWindow, LinkOpensThePageIconSquareOpensTheMenuBackgroundDrags) {
  start();
  ASSERT_TRUE(machine_->clickAt(window_, centreOf(IDC_WEBSITE_LINK)));
  machine_->settle();
  EXPECT_EQ(transcriptCount("opens \"https://www.corvantis.example/label-printers\" (open)"), 1U);
  EXPECT_TRUE(machine_->openMenu().empty());

  ASSERT_TRUE(machine_->clickAt(window_, kIconSquarePoint));
  machine_->settle();
  const auto menu = machine_->openMenu();
  ASSERT_EQ(menu.size(), 4U);
  EXPECT_EQ(menu[0].id, ID_MENU_RESET_EXIT);
  ASSERT_TRUE(machine_->dismissMenu());
  machine_->settle();

  const plat::Rect before = *machine_->windowRect(window_);
  ASSERT_TRUE(machine_->drag(window_, centreOf(IDC_TITLE), {centreOf(IDC_TITLE).x + 40, 30}));
  machine_->settle();
  const plat::Rect after = *machine_->windowRect(window_);
  EXPECT_EQ(after.left - before.left, 40);
  EXPECT_EQ(after.top - before.top, 30 - centreOf(IDC_TITLE).y);
  EXPECT_TRUE(machine_->openMenu().empty());
  EXPECT_EQ(transcriptCount("opens \"https"), 1U);  // the drag opened nothing
}

TEST_F(MainWindow, ChineseLinkOpensTheChinesePage) {
  start(testing::machineWithLanguage(plat::kLangChineseSimplified));
  ASSERT_TRUE(machine_->clickAt(window_, centreOf(IDC_WEBSITE_LINK)));
  machine_->settle();
  EXPECT_EQ(transcriptCount("opens \"https://cn.corvantis.example/label-printers\""), 1U);
}

TEST_F(MainWindow, LanguageSwitchesKeepOneAboutItemInTheLastLanguage) {
  start();
  for (const int language : {kUiKorean, kUiChinese, kUiKorean}) {
    ASSERT_TRUE(machine_->select(window_, IDC_LANGUAGE_BOX, language));
    machine_->settle();
  }
  const auto items = machine_->systemMenu(window_);
  const auto about = std::count_if(items.begin(), items.end(),
                                   [](const auto& item) { return item.id == IDM_ABOUTBOX; });
  EXPECT_EQ(about, 1);
  EXPECT_EQ(items.back().text, L"Brisvane 정보(&A)...");
  EXPECT_EQ(machine_->window(window_)->title, L"Corvantis 프린터 드라이버 인스톨러");
  EXPECT_EQ(control(IDC_INSTALL_USB).text, L"USB 프린터\n드라이버 설치");
}

TEST_F(MainWindow, FontsFollowTheLanguageAndTheYaheiRegistration) {
  struct Case {
    MachineConfig config;
    std::optional<std::wstring> face;
    int title;
    int small;
  };
  const Case cases[] = {
      {testing::machineWithLanguage(plat::kLangEnglishUs), L"Arial", 36, 15},
      {testing::machineWithLanguage(plat::kLangChineseSimplified), L"微软雅黑", 43, 18},
      {withoutYahei(plat::kLangChineseSimplified), L"宋体", 36, 12},
      {testing::machineWithLanguage(plat::kLangKorean), L"微软雅黑", 43, 18},
      {withoutYahei(plat::kLangKorean), std::nullopt, 0, 0},
  };
  for (const auto& c : cases) {
    start(c.config);
    const auto title = control(IDC_TITLE).font;
    const auto link = control(IDC_WEBSITE_LINK).font;
    if (!c.face) {
      EXPECT_FALSE(title.has_value());  // the template's font stays
      EXPECT_FALSE(link.has_value());
      continue;
    }
    ASSERT_TRUE(title && link) << plat::sim::toUtf8(*c.face);
    EXPECT_EQ(title->face, *c.face);
    EXPECT_EQ(title->height, c.title);
    EXPECT_EQ(title->weight, plat::kFwBold);
    EXPECT_EQ(link->height, c.small);
  }
}

TEST_F(MainWindow, VersionLineNamesTheWindowsBitness) {
  MachineConfig config;
  config.os.is64Bit = false;
  start(config);
  EXPECT_EQ(control(IDC_VERSION_LINE).text,
            L"Driver Version: 2021.1 M-5 Software Version: 1.2.0.17 Microsoft Windows 10 32Bit");
  start();
  EXPECT_TRUE(control(IDC_VERSION_LINE).text.ends_with(L" 64Bit"));
}

TEST_F(MainWindow, HoverShowsTheTooltipAndHighlightsTheButton) {
  start();
  const plat::Rect install = control(IDC_INSTALL_USB).rect;
  const auto before = machine_->screenshot(window_);
  ASSERT_TRUE(machine_->moveMouse(window_, centreOf(IDC_INSTALL_USB)));
  machine_->settle();
  EXPECT_EQ(machine_->tooltip(window_),
            L"When the USB printer driver is installed, it will be automatically added when "
            L"connecting to the USB printer.");
  const auto after = machine_->screenshot(window_);
  ASSERT_TRUE(before && after);
  // The frame is one pixel: the top-left corner turns white while hot.
  const int x = install.left + 1;  // the window's edge is one pixel
  const int y = install.top + 1;
  EXPECT_EQ(before->at(x, y), plat::rgb(50, 140, 200));
  EXPECT_EQ(after->at(x, y), plat::rgb(255, 255, 255));
  ASSERT_TRUE(machine_->moveMouse(window_, centreOf(IDC_TITLE)));
  machine_->settle();
  EXPECT_EQ(machine_->tooltip(window_), L"");
}

TEST_F(MainWindow, StartUpEnablesTheLoadDriverPrivilegeAndMakesTheWorkFolder) {
  constexpr wchar_t kWorkFolder[] = L"C:\\Program Files (x86)\\Corvantis";
  for (const bool administrator : {true, false}) {
    MachineConfig config;
    config.os.isAdministrator = administrator;
    start(config);
    const plat::sim::ProcessId process = machine_->windows().at(0).process;
    EXPECT_EQ(machine_->privilegeEnabled(process, plat::kSeLoadDriverName), administrator);
    const auto folder = machine_->file(kWorkFolder);
    EXPECT_EQ(folder && folder->isFolder, administrator);
    EXPECT_TRUE(machine_->isRunning(process)) << "failures are passed over";
  }
}

TEST_F(MainWindow, MarksTheCompatibilityAssistantAndReleasesItsObjectsOnClose) {
  start();
  ASSERT_TRUE(machine_->click(window_, plat::kIdCancel));
  machine_->settle();
  EXPECT_TRUE(machine_->windows().empty());
  EXPECT_EQ(machine_->liveGdiObjects(), 0U);
  const auto keys = machine_->snapshot().registry;
  const auto persisted = std::find_if(keys.begin(), keys.end(), [](const auto& key) {
    return key.path.ends_with(L"Compatibility Assistant\\Persisted");
  });
  ASSERT_NE(persisted, keys.end());
  ASSERT_EQ(persisted->values.size(), 1U);
  EXPECT_EQ(persisted->values[0].name, L"C:\\Users\\User\\Desktop\\Brisvane.exe");
  EXPECT_EQ(plat::dwordFromLeBytes(persisted->values[0].data), 1U);
}

}  // namespace
}  // namespace brisvane
