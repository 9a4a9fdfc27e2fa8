// The dialog framework's translucent windows on machines with and without
// SetLayeredWindowAttributes.
#include <gtest/gtest.h>

#include "installer/resources/resource.h"
#include "platform/ui/dialog.h"
#include "tests/sim_support.h"

namespace {

using plat::sim::Machine;
using plat::sim::MachineConfig;

// The main window's template, made translucent at start and left open.
class TranslucentProbe final : public plat::ui::Dialog {
 public:
  TranslucentProbe() : Dialog(IDD_BRISVANE_DIALOG, plat::kNoWindow) {}
  bool translucent = false;
  plat::Dword exStyle = 0;

 protected:
  bool onInitDialog() override {
    translucent = makeTranslucent(242);
    exStyle = plat::ports().windows().getWindowLong(window(), plat::kGwlExStyle);
    return true;
  }
};

TEST(DialogFramework, TranslucentWhereTheSystemCanAndOpaqueOtherwise) {
  struct Case {
    const char* name;
    MachineConfig config;
    bool translucent;
  };
  MachineConfig windowsNt4;
  windowsNt4.os.majorVersion = 4;  // User32 without SetLayeredWindowAttributes
  MachineConfig failing;
  failing.faults.push_back({"SetLayeredWindowAttributes", plat::kErrorNotEnoughMemory, -1});
  const Case cases[] = {
      {"Windows 10", MachineConfig{}, true},
      {"no function", windowsNt4, false},
      {"failing call", failing, false},
  };
  for (const auto& c : cases) {
    Machine machine(c.config);
    TranslucentProbe* probe = nullptr;
    brisvane::testing::runInProcess(machine, [&] {
      TranslucentProbe dialog;
      probe = &dialog;
      dialog.doModal();
    });
    ASSERT_NE(probe, nullptr) << c.name;
    EXPECT_EQ(probe->translucent, c.translucent) << c.name;
    // A layered window without attributes would not show at all: the
    // style is put back when the attributes cannot be set.
    EXPECT_EQ((probe->exStyle & plat::kWsExLayered) != 0, c.translucent) << c.name;
    const auto shown = machine.windows().at(0);
    EXPECT_TRUE(shown.visible) << c.name;
    EXPECT_EQ(shown.alpha, c.translucent ? std::optional<int>(242) : std::nullopt) << c.name;
  }
}

}  // namespace
