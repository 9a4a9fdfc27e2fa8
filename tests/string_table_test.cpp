#include <gtest/gtest.h>

#include "installer/app/ui_language.h"
#include "installer/resources/resource.h"
#include "platform/api/ports.h"
#include "platform/sim/resource_set.h"
#include "platform/ui/strings.h"
#include "tests/sim_support.h"

const plat::sim::ResourceSet& brisvaneResources();

namespace brisvane {
namespace {

using plat::sim::Machine;
using testing::runInProcess;

constexpr std::uint32_t kFirstString = 101;
constexpr std::uint32_t kLastString = 183;

// Loads strings `ids` on a thread set to UI language `index`.
std::map<std::uint32_t, std::wstring> loadAll(int index) {
  Machine machine;
  std::map<std::uint32_t, std::wstring> texts;
  runInProcess(machine, [&] {
    setUiLanguage(index);
    for (std::uint32_t id = kFirstString; id <= kLastString; ++id) {
      texts[id] = plat::ui::loadString(id);
    }
  });
  return texts;
}

TEST(StringTable, EveryIdHasATextInEveryLanguage) {
  for (const int index : {kUiEnglish, kUiChinese, kUiKorean}) {
    const auto texts = loadAll(index);
    for (std::uint32_t id = kFirstString; id <= kLastString; ++id) {
      EXPECT_FALSE(texts.at(id).empty()) << "id " << id << " language " << index;
    }
  }
  // And each language has its own table, not a fallback to English.
  for (const int lang : {1033, 1042, 2052}) {
    std::set<std::uint32_t> ids;
    for (const auto& s : brisvaneResources().strings) {
      if (s.language == lang) ids.insert(s.id);
    }
    EXPECT_EQ(ids.size(), kLastString - kFirstString + 1) << lang;
  }
}

TEST(StringTable, EnglishTextsKeepTheirJoiningSpaces) {
  const auto en = loadAll(kUiEnglish);
  EXPECT_EQ(en.at(101), L"About Brisvane(&A)...");
  EXPECT_EQ(en.at(105), L"Corvantis Printer Driver Installer");
  EXPECT_EQ(en.at(117), L"Detecting...remain ");
  EXPECT_EQ(en.at(119), L" Port:");
  EXPECT_EQ(en.at(130), L",auto-add when connect again");
  EXPECT_EQ(en.at(145), L"Install USB\nPrinter Driver");
  EXPECT_EQ(en.at(174), L"Upgrade Driver\n");
  EXPECT_EQ(en.at(181).substr(en.at(181).size() - 2), L"? ");
  for (const std::uint32_t id : {106, 107, 118, 119}) {
    EXPECT_EQ(en.at(id).front(), L' ') << id;
  }
  for (const std::uint32_t id : {117, 127, 128, 129, 134, 135, 160, 176, 181}) {
    EXPECT_EQ(en.at(id).back(), L' ') << id;
  }
  EXPECT_NE(en.at(131).find(L"$PRN$"), std::wstring::npos);
  EXPECT_NE(en.at(133).find(L"$NUM$"), std::wstring::npos);
}

TEST(StringTable, KoreanAndChineseFixedTexts) {
  const auto ko = loadAll(kUiKorean);
  const auto zh = loadAll(kUiChinese);
  EXPECT_EQ(ko.at(105), L"Corvantis 프린터 드라이버 인스톨러");
  EXPECT_EQ(zh.at(105), L"Corvantis打印机驱动安装器");
  EXPECT_EQ(zh.at(145), L"安装USB打印驱动");
  EXPECT_EQ(zh.at(146), L"添加网络等打印机");
  EXPECT_EQ(zh.at(147), L"删除驱动及打印机");
  EXPECT_EQ(zh.at(155), L"驱动升级成功，USB打印机再次连接会自动添加");
  EXPECT_EQ(zh.at(156), L"驱动修复成功，USB打印机再次连接会自动添加");
  EXPECT_EQ(zh.at(157), L"驱动降级成功，USB打印机再次连接会自动添加");
  EXPECT_EQ(ko.at(178), L"유지");
  EXPECT_EQ(zh.at(178), L"不卸载");
  EXPECT_EQ(zh.at(163), L"强力卸载");
  for (const std::uint32_t id : {145, 146, 147}) {
    EXPECT_NE(ko.at(id).find(L'\n'), std::wstring::npos) << id;
  }
  for (const std::uint32_t id : {170, 172, 174}) {
    EXPECT_EQ(ko.at(id).back(), L'\n') << id;
    EXPECT_NE(zh.at(id).back(), L'\n') << id;
  }
  for (const std::uint32_t id : {133, 138, 139}) {
    EXPECT_NE(zh.at(id).find(L'\n'), std::wstring::npos) << id;
  }
}

TEST(StringTable, LoaderFallsBackLikeWindows) {
  Machine machine(testing::machineWithLanguage(plat::kLangKorean));
  std::wstring japanese;
  std::wstring missing = L"x";
  runInProcess(machine, [&] {
    // No Japanese table: the loader goes on to the user's UI language.
    plat::ports().system().setThreadUiLanguage(1041);
    japanese = plat::ui::loadString(IDS_APP_TITLE);
    missing = plat::ui::loadString(184);
  });
  EXPECT_EQ(japanese, L"Corvantis 프린터 드라이버 인스톨러");
  EXPECT_EQ(missing, L"");
}

TEST(IconMenu, ExistsInThreeLanguagesWithItsFourCommands) {
  const std::map<plat::LangId, std::vector<std::wstring>> expected = {
      {1033,
       {L"Reset and exit the software", L"Delete the specified printer", L"Scan a USB printer",
        L"Add USB printer manually "}},
      {1042,
       {L"리셋하고 소프트웨어를 종료합니다", L"지정된 프린터를 삭제합니다",
        L"USB로 연결된 프린터를 찾습니다.", L"수동으로 USB 프린터를 추가합니다"}},
      {2052, {L"重置并退出该软件", L"删除指定打印机", L"扫描USB打印机", L"手动添加USB打印机"}},
  };
  std::set<plat::LangId> seen;
  for (const auto& menu : brisvaneResources().menus) {
    if (menu.id != IDR_ICON_MENU) continue;
    seen.insert(menu.language);
    ASSERT_EQ(menu.items.size(), 1U);
    const auto& popup = menu.items.front().items;
    ASSERT_EQ(popup.size(), 4U);
    for (std::size_t i = 0; i < popup.size(); ++i) {
      EXPECT_EQ(popup[i].id, ID_MENU_RESET_EXIT + i);
      EXPECT_EQ(popup[i].text, expected.at(menu.language).at(i));
    }
  }
  EXPECT_EQ(seen, (std::set<plat::LangId>{1033, 1042, 2052}));
}

}  // namespace
}  // namespace brisvane
