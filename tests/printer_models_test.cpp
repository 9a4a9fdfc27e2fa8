// The printer model table and its four look-ups.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "installer/netsetup/printer_models.h"
#include "platform/api/ports.h"
#include "tests/sim_support.h"

namespace brisvane {
namespace {

TEST(PrinterModels, ShortNamesByIndexWithinTheTableOnly) {
  EXPECT_EQ(modelCount(), 22);
  EXPECT_EQ(modelShortNameAt(-1), L"");
  EXPECT_EQ(modelShortNameAt(0), L"LV31 (203 dpi)");
  EXPECT_EQ(modelShortNameAt(7), L"MB17t (203 dpi)");
  EXPECT_EQ(modelShortNameAt(21), L"ZR98V (600 dpi)");
  EXPECT_EQ(modelShortNameAt(22), L"");
}

TEST(PrinterModels, FullNamesAreExactAndCaseSensitive) {
  EXPECT_TRUE(isModelFullName(L"Corvantis LV31 (203 dpi)"));
  EXPECT_TRUE(isModelFullName(L"Corvantis MB17t (203 dpi) - DP"));
  EXPECT_FALSE(isModelFullName(L"Corvantis MB17t (203 dpi)"));
  EXPECT_FALSE(isModelFullName(L"corvantis lv31 (203 dpi)"));
  EXPECT_FALSE(isModelFullName(L"Corvantis LV31 (203 dpi) "));
  EXPECT_FALSE(isModelFullName(L""));
}

TEST(PrinterModels, TextLookUpsTakeTheFirstRowThatOccurs) {
  const std::pair<const wchar_t*, const wchar_t*> fullNames[] = {
      {L"Corvantis MB17t (203 dpi)", L"Corvantis MB17t (203 dpi) - DP"},
      {L"Corvantis MB17t plus (203 dpi)", L"Corvantis MB17t plus (203 dpi)"},
      {L"Corvantis LV31S (300 dpi)", L"Corvantis LV31S (300 dpi)"},
      {L"Office HN66 (406 dpi) #2", L"Corvantis HN66 (406 dpi)"},
      {L"Corvantis LV31 (203 DPI)", L""},
      {L"", L""},
  };
  for (const auto& [text, full] : fullNames) {
    EXPECT_EQ(modelFullNameForText(text), full) << ::testing::PrintToString(std::wstring(text));
  }
  // Row 10 comes first in the text, row 0 first in the table.
  EXPECT_EQ(modelIndexInText(L"Corvantis HN66 (300 dpi), Corvantis LV31 (203 dpi)"), 0);
  EXPECT_EQ(modelIndexInText(L"MODEL=Corvantis ZR98V (600 dpi)\r\n"), 21);
  EXPECT_EQ(modelIndexInText(L"Corvantis MB17t (203 dpi)"), -1);  // row 7 needs its suffix
  EXPECT_EQ(modelIndexInText(L"LV31 (203 dpi)"), -1);
  EXPECT_EQ(modelIndexInText(L""), -1);
}

// Every row is a model of the package INF, and the INF has no other.
TEST(PrinterModels, AreTheModelsOfThePackageInf) {
  plat::sim::Machine machine;
  std::string inf;
  testing::runInProcess(machine, [&] {
    plat::ResourcePort& resources = plat::ports().resources();
    const plat::ResourceHandle found = resources.findResource(131, L"DRVFILE");
    inf.assign(reinterpret_cast<const char*>(resources.loadResource(found)),
               resources.sizeofResource(found));
  });
  const std::size_t section = inf.find("[Corvantis.NTx86]\r\n");
  ASSERT_NE(section, std::string::npos);
  std::set<std::wstring> infModels;
  for (std::size_t at = inf.find("\r\n", section) + 2; at < inf.size() && inf[at] == '"';
       at = inf.find("\r\n", at) + 2) {
    const std::string name = inf.substr(at + 1, inf.find('"', at + 1) - at - 1);
    infModels.insert(std::wstring(name.begin(), name.end()));
  }
  std::set<std::wstring> tableModels;
  for (int i = 0; i < modelCount(); ++i) {
    tableModels.insert(modelFullNameForText(modelShortNameAt(i)));
  }
  EXPECT_EQ(tableModels.size(), 22U);
  EXPECT_EQ(infModels, tableModels);
}

}  // namespace
}  // namespace brisvane
