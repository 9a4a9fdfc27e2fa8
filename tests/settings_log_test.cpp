#include <gtest/gtest.h>

#include "installer/engine/engine_log.h"
#include "installer/jobs/settings.h"
#include "installer/payload/work_folder.h"
#include "platform/api/wide_text.h"
#include "tests/sim_support.h"

namespace brisvane {
namespace {

using plat::sim::Machine;
using plat::sim::MachineConfig;
using testing::runInProcess;

constexpr wchar_t kSettingsFile[] = L"C:\\Program Files (x86)\\Corvantis\\Brisvane.ini";
constexpr wchar_t kLogFile[] = L"C:\\Users\\User\\Desktop\\Brisvane.log";

std::vector<std::uint8_t> bytesOf(const std::string& text) {
  return {text.begin(), text.end()};
}

TEST(SettingsFilePath, LiesInTheWorkFolderOfThe32BitProgramFiles) {
  for (const bool is64Bit : {true, false}) {
    MachineConfig config;
    config.os.is64Bit = is64Bit;
    Machine machine(config);
    std::wstring path;
    runInProcess(machine, [&] { path = settingsFilePath(); });
    const std::wstring folder =
        is64Bit ? L"C:\\Program Files (x86)\\Corvantis" : L"C:\\Program Files\\Corvantis";
    EXPECT_EQ(path, folder + L"\\Brisvane.ini");
    ASSERT_TRUE(machine.file(folder));
    EXPECT_TRUE(machine.file(folder)->isFolder);
  }
}

TEST(SettingsFilePath, PathsOf200CharactersAreNotBuilt) {
  const std::wstring suffix = L"\\Corvantis";
  EXPECT_EQ(appendBounded(std::wstring(189, L'a'), suffix).value_or(L"").size(), 199U);
  EXPECT_FALSE(appendBounded(std::wstring(190, L'a'), suffix));
}

TEST(Settings, ReadAsTheProfileCallReadsThem) {
  struct Case {
    const char* file;  // nullptr: no file
    std::uint32_t checkPellacore;
    std::uint32_t autoInstall;
  };
  const Case cases[] = {
      {nullptr, 1, 0},
      {"[Config]\r\nisCheckPellacore=0\r\nisAutoInstallUsbPrinter=1\r\n", 0, 1},
      {"[Config]\r\nisAutoInstallUsbPrinter=2\r\n", 1, 2},
      {"[config]\r\nISCHECKPELLACORE = 0\r\n", 0, 0},
      {"[Config]\r\nisCheckPellacore=yes\r\nisAutoInstallUsbPrinter=1x\r\n", 0, 1},
      {"[Config]\r\nisCheckPellacore=\r\n", 1, 0},
      {"[Other]\r\nisCheckPellacore=0\r\n", 1, 0},
      {"\x89PNG\r\n\x1a\n\x00\x00garbage", 1, 0},
  };
  for (const Case& c : cases) {
    Machine machine;
    if (c.file != nullptr) machine.putFile({kSettingsFile, false, 0, bytesOf(c.file)});
    std::uint32_t checkPellacore = 99;
    std::uint32_t autoInstall = 99;
    runInProcess(machine, [&] {
      checkPellacore = readSetting(kIsCheckPellacore);
      autoInstall = readSetting(kIsAutoInstallUsbPrinter);
    });
    EXPECT_EQ(checkPellacore, c.checkPellacore) << (c.file ? c.file : "(no file)");
    EXPECT_EQ(autoInstall, c.autoInstall) << (c.file ? c.file : "(no file)");
  }
}

TEST(Settings, UnreadableFileReadsDefaults) {
  Machine machine;
  machine.putFile({kSettingsFile, true, 0, {}});  // a folder in its place
  std::uint32_t value = 99;
  runInProcess(machine, [&] {
    writeSetting(kIsAutoInstallUsbPrinter, true);
    value = readSetting(kIsAutoInstallUsbPrinter);
  });
  EXPECT_EQ(value, 0U);
}

TEST(Settings, WritesCreateTheFileAndKeepOtherKeys) {
  Machine machine;
  std::uint32_t checkPellacore = 99;
  std::uint32_t autoInstall = 99;
  runInProcess(machine, [&] {
    writeSetting(kIsAutoInstallUsbPrinter, true);
    writeSetting(kIsCheckPellacore, false);
    writeSetting(kIsAutoInstallUsbPrinter, false);
    checkPellacore = readSetting(kIsCheckPellacore);
    autoInstall = readSetting(kIsAutoInstallUsbPrinter);
  });
  EXPECT_EQ(checkPellacore, 0U);
  EXPECT_EQ(autoInstall, 0U);
  const auto file = machine.file(kSettingsFile);
  ASSERT_TRUE(file);
  EXPECT_EQ(std::string(file->contents.begin(), file->contents.end()),
            "[Config]\r\nisAutoInstallUsbPrinter=0\r\nisCheckPellacore=0\r\n");
}

TEST(Settings, WithoutProgramFilesReadDefaultsAndLoseWrites) {
  MachineConfig config;
  config.faults.push_back({"SHGetFolderPathW", plat::kErrorFileNotFound, -1});
  Machine machine(config);
  std::wstring path = L"(not run)";
  std::uint32_t checkPellacore = 99;
  runInProcess(machine, [&] {
    path = settingsFilePath();
    writeSetting(kIsCheckPellacore, false);
    checkPellacore = readSetting(kIsCheckPellacore);
  });
  EXPECT_EQ(path, L"");
  EXPECT_EQ(checkPellacore, 1U);
  EXPECT_TRUE(machine.folderContents(L"C:\\Program Files (x86)").empty());
  EXPECT_FALSE(machine.file(L"C:\\Windows\\Brisvane.ini"));
}

std::vector<std::uint8_t> utf16(const std::wstring& text) {
  return plat::utf16LeBytes(text);
}

TEST(EngineLog, NewFileStartsWithTheByteOrderMarkAndEntriesEndWithCrLf) {
  Machine machine;
  runInProcess(machine, [] {
    CEngineLog log;
    log.setLoggingOn(true);
    log.logEntry(L"rescanDevices CR_SUCCESS:0");
    log.logEntry(L"한글");
  });
  runInProcess(machine, [] {
    CEngineLog log;
    log.setLoggingOn(true);
    log.logEntry(L"next job");
  });
  std::vector<std::uint8_t> expected = {0xFF, 0xFE};
  for (const wchar_t* entry : {L"rescanDevices CR_SUCCESS:0\r\n", L"한글\r\n", L"next job\r\n"}) {
    const auto bytes = utf16(entry);
    expected.insert(expected.end(), bytes.begin(), bytes.end());
  }
  ASSERT_TRUE(machine.file(kLogFile));
  EXPECT_EQ(machine.file(kLogFile)->contents, expected);
}

TEST(EngineLog, LongerThanTheLimitIsEmptiedAtTheNextOpen) {
  for (const std::size_t size : {kLogSizeLimit, kLogSizeLimit + 1}) {
    Machine machine;
    machine.putFile({kLogFile, false, 0, std::vector<std::uint8_t>(size, 'a')});
    runInProcess(machine, [] {
      CEngineLog log;
      log.setLoggingOn(true);
      log.logEntry(L"x");
    });
    const std::vector<std::uint8_t> entry = {'x', 0, '\r', 0, '\n', 0};
    std::vector<std::uint8_t> expected = {0xFF, 0xFE};
    if (size == kLogSizeLimit) expected = std::vector<std::uint8_t>(size, 'a');
    expected.insert(expected.end(), entry.begin(), entry.end());
    EXPECT_EQ(machine.file(kLogFile)->contents, expected) << size;
  }
}

TEST(EngineLog, SwitchedOffOrUnopenableTouchesNoFile) {
  MachineConfig config;
  config.faults.push_back({"CreateFileW", plat::kErrorAccessDenied, 1});
  Machine machine(config);
  runInProcess(machine, [] {
    CEngineLog off;
    off.logEntry(L"dropped");
    CEngineLog on;
    on.setLoggingOn(true);
    on.logEntry(L"dropped too: the open fails");
    on.logEntry(L"kept");
  });
  const std::vector<std::uint8_t> kept = utf16(L"kept\r\n");
  std::vector<std::uint8_t> expected = {0xFF, 0xFE};
  expected.insert(expected.end(), kept.begin(), kept.end());
  ASSERT_TRUE(machine.file(kLogFile));
  EXPECT_EQ(machine.file(kLogFile)->contents, expected);
}

TEST(TimeStampText, IsAnEmptyLineAndTheLocalTime) {
  Machine machine;
  machine.advance(61'000);
  std::wstring text;
  runInProcess(machine, [&] { text = timeStampText(); });
  EXPECT_EQ(text, L"\r\n2021-07-08 09:06:04");
}

}  // namespace
}  // namespace brisvane
