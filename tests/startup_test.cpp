#include <gtest/gtest.h>

#include <algorithm>

#include "installer/app/brisvane_app.h"
#include "tests/sim_support.h"

namespace brisvane {
namespace {

using plat::WindowId;
using plat::sim::Machine;
using plat::sim::MachineConfig;
using plat::sim::ProcessId;
using plat::sim::WindowInfo;

constexpr wchar_t kEnglishTitle[] = L"Corvantis Printer Driver Installer";

class Startup : public ::testing::Test {
 protected:
  void boot(MachineConfig config = {}) {
    machine_ = std::make_unique<Machine>(std::move(config));
    simhost::installPrograms(*machine_);
  }
  ProcessId start(const std::wstring& arguments) {
    const ProcessId id = machine_->startProcess(simhost::kBrisvaneProgram, arguments);
    machine_->settle();
    return id;
  }
  std::vector<WindowInfo> windowsOf(ProcessId process) const {
    std::vector<WindowInfo> out;
    for (const auto& w : machine_->windows()) {
      if (w.process == process) out.push_back(w);
    }
    return out;
  }
  WindowId notepad() const {
    for (const auto& w : machine_->windows()) {
      if (w.program == L"notepad.exe") return w.id;
    }
    return plat::kNoWindow;
  }
  std::size_t transcriptCount(const std::string& text) const {
    const auto lines = machine_->transcript();
    return static_cast<std::size_t>(std::count_if(lines.begin(), lines.end(), [&](const auto& l) {
      return l.text.find(text) != std::string::npos;
    }));
  }

  std::unique_ptr<Machine> machine_;
};

TEST_F(Startup, FirstInstanceShowsTheMainWindowTitledInTheUsersLanguage) {
  boot(testing::machineWithLanguage(plat::kLangChineseSimplified));
  const ProcessId first = start(L"");
  ASSERT_TRUE(machine_->isRunning(first));
  const auto windows = windowsOf(first);
  ASSERT_EQ(windows.size(), 1U);
  EXPECT_EQ(windows[0].title, L"Corvantis打印机驱动安装器");
  EXPECT_TRUE(windows[0].visible);
}

TEST_F(Startup, SecondInstanceBringsTheFirstToTheFrontAndEndsSilently) {
  MachineConfig config;
  config.desktop = {{L"notepad.exe", L"notes - Notepad"}};
  boot(config);
  const ProcessId first = start(L"");
  const WindowId mainWindow = windowsOf(first).at(0).id;
  // The user minimises the first window, works in another program, and
  // starts Brisvane again.
  ASSERT_TRUE(machine_->minimize(mainWindow));
  ASSERT_TRUE(machine_->activate(notepad()));

  const ProcessId second = start(L"");
  EXPECT_FALSE(machine_->isRunning(second));
  EXPECT_EQ(machine_->exitCode(second), 0);
  EXPECT_EQ(transcriptCount("Brisvane.exe[" + std::to_string(second) + "] shows"), 0U);
  EXPECT_EQ(machine_->foregroundWindow()->id, mainWindow);
  EXPECT_FALSE(machine_->window(mainWindow)->minimized);
  EXPECT_TRUE(machine_->isRunning(first));
}

TEST_F(Startup, DiagnosticSwitchKeepsTheSingleInstanceRule) {
  boot();
  const ProcessId first = start(L"/del");
  const ProcessId second = start(L"/del");
  EXPECT_TRUE(machine_->isRunning(first));
  EXPECT_FALSE(machine_->isRunning(second));
}

TEST_F(Startup, MultiRunsBesideAnyInstanceWithoutTheMutex) {
  boot();
  const ProcessId multi = start(L"/multi");
  // No mutex exists yet, so an ordinary instance starts too.
  const ProcessId ordinary = start(L"");
  const ProcessId anotherMulti = start(L"/multi");
  for (const ProcessId id : {multi, ordinary, anotherMulti}) {
    EXPECT_TRUE(machine_->isRunning(id)) << id;
    EXPECT_EQ(windowsOf(id).size(), 1U) << id;
  }
  EXPECT_FALSE(machine_->isRunning(start(L"")));
}

TEST_F(Startup, MisspelledSwitchesAreNoSwitch) {
  struct Case {
    const wchar_t* arguments;
    CommandLineSwitch expected;
  };
  const Case cases[] = {
      {L"/multi", CommandLineSwitch::Multi},
      {L"/del", CommandLineSwitch::Diagnostic},
      {L"", CommandLineSwitch::None},
      {L"/MULTI", CommandLineSwitch::None},
      {L"/Del", CommandLineSwitch::None},
      {L" /multi", CommandLineSwitch::None},
      {L"/multi ", CommandLineSwitch::None},
      {L"/multi /del", CommandLineSwitch::None},
      {L"/del /multi", CommandLineSwitch::None},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(commandLineSwitch(c.arguments), c.expected) << "\"" << c.arguments << "\"";
  }
  // A misspelt /multi is an ordinary instance and is refused beside one.
  boot();
  start(L"");
  EXPECT_FALSE(machine_->isRunning(start(L"/MULTI")));
  EXPECT_FALSE(machine_->isRunning(start(L" /multi")));
}

TEST_F(Startup, FirstInstanceInAnotherLanguageIsNotFound) {
  boot(testing::machineWithLanguage(plat::kLangKorean));
  const ProcessId first = start(L"");
  machine_->configure([](MachineConfig& c) { c.os.userUiLanguage = plat::kLangEnglishUs; });
  const ProcessId second = start(L"");
  EXPECT_FALSE(machine_->isRunning(second));
  EXPECT_TRUE(machine_->isRunning(first));
  EXPECT_EQ(transcriptCount("to the front"), 0U);
}

TEST_F(Startup, OtherProgramsWindowWithTheTitleCanBeChosen) {
  // The title is read into 50 characters: string 105 (34 characters) is
  // seen at offset 15 but not at offset 16.
  const std::wstring seen = std::wstring(15, L'x') + kEnglishTitle;
  const std::wstring cut = std::wstring(16, L'y') + kEnglishTitle;
  MachineConfig config;
  // Desktop windows stack in order, so `cut` ends up last in Z order.
  config.desktop = {{L"notepad.exe", cut}, {L"notepad.exe", seen}};
  boot(config);
  machine_->configure([](MachineConfig& c) { c.os.userUiLanguage = plat::kLangKorean; });
  start(L"");  // its Korean title matches nothing in English
  machine_->configure([](MachineConfig& c) { c.os.userUiLanguage = plat::kLangEnglishUs; });
  start(L"");
  ASSERT_TRUE(machine_->foregroundWindow().has_value());
  EXPECT_EQ(machine_->foregroundWindow()->title, seen);
}

TEST_F(Startup, LastMatchingWindowInEnumerationOrderWins) {
  MachineConfig config;
  config.desktop = {{L"notes.exe", std::wstring(L"About ") + kEnglishTitle}};
  boot(config);
  const ProcessId first = start(L"");
  start(L"");
  // The desktop window lies below Brisvane's, so it is enumerated last.
  EXPECT_EQ(machine_->foregroundWindow()->program, L"notes.exe");
  EXPECT_TRUE(machine_->isRunning(first));
}

TEST_F(Startup, SocketStartupFailureEndsSilentlyBeforeAnyWindow) {
  struct Case {
    std::uint16_t highest;
    int error;
    bool runs;
  };
  for (const auto& c : {Case{plat::makeWord(2, 2), plat::kWsaSysNotReady, false},
                        Case{plat::makeWord(1, 0), 0, false}, Case{plat::makeWord(1, 1), 0, true},
                        Case{plat::makeWord(2, 2), 0, true}}) {
    MachineConfig config;
    config.winsock.highestVersion = c.highest;
    config.winsock.startupError = c.error;
    boot(config);
    const ProcessId id = start(L"");
    EXPECT_EQ(machine_->isRunning(id), c.runs) << c.highest << " " << c.error;
    EXPECT_EQ(windowsOf(id).size(), c.runs ? 1U : 0U);
    EXPECT_EQ(transcriptCount("message box"), 0U);
  }
}

TEST_F(Startup, AboutBoxOpensFromTheSystemMenuAndCloses) {
  boot(testing::machineWithLanguage(plat::kLangKorean));
  const ProcessId first = start(L"");
  const WindowId mainWindow = windowsOf(first).at(0).id;
  const auto menu = machine_->systemMenu(mainWindow);
  ASSERT_FALSE(menu.empty());
  EXPECT_EQ(menu.back().text, L"Brisvane 정보(&A)...");
  ASSERT_TRUE(machine_->chooseSystemMenuItem(mainWindow, menu.back().id));
  machine_->settle();
  const auto about = machine_->windows().front();
  EXPECT_EQ(about.title, L"关于 Brisvane");
  EXPECT_FALSE(machine_->window(mainWindow)->enabled);
  ASSERT_TRUE(machine_->clickButtonText(about.id, L"确定"));
  machine_->settle();
  EXPECT_FALSE(machine_->window(about.id).has_value());
  EXPECT_TRUE(machine_->window(mainWindow)->enabled);

  ASSERT_TRUE(machine_->close(mainWindow));
  machine_->settle();
  EXPECT_FALSE(machine_->isRunning(first));
  // The mutex went away with the process: a new instance starts.
  EXPECT_TRUE(machine_->isRunning(start(L"")));
}

}  // namespace
}  // namespace brisvane
