#include <gtest/gtest.h>

#include "platform/sim/machine_file.h"

namespace plat::sim {
namespace {

TEST(MachineFile, EmptyObjectIsTheBuiltInProfile) {
  const auto result = parseMachineFile("{}", "m.json");
  ASSERT_TRUE(result.config) << result.error;
  EXPECT_EQ(result.config->os.majorVersion, 10U);
  EXPECT_TRUE(result.config->os.is64Bit);
  EXPECT_EQ(result.config->os.userUiLanguage, kLangEnglishUs);
  EXPECT_EQ(result.config->winsock.highestVersion, makeWord(2, 2));
}

TEST(MachineFile, ReadsEveryFieldAndSavesItBack) {
  const std::string text = R"({
    "os": { "edition": "Windows XP Professional", "version": "5.1.2600", "platformId": 2,
            "productType": "workstation", "is64Bit": false, "hasIsWow64Process": false,
            "userUiLanguage": 1042, "userLocale": 1042, "isAdministrator": false,
            "localTimeAtStart": 86400 },
    "winsock": { "highestVersion": "1.1", "startupError": 0 },
    "faults": [ { "call": "GetVersionExW", "error": 87, "times": "always" },
                { "call": "EnumWindows", "error": 5, "times": 2 } ],
    "desktop": [ { "program": "notepad.exe", "title": "메모장" } ],
    "files": [ { "path": "C:\\Program Files\\Corvantis", "folder": true },
               { "path": "C:/Program Files/Corvantis/Brisvane.ini", "text": "[Config]\r\n" },
               { "path": "C:\\Windows\\a.log", "hex": "fffe4100", "readOnly": true } ]
  })";
  const auto first = parseMachineFile(text, "xp.json");
  ASSERT_TRUE(first.config) << first.error;
  const MachineConfig& c = *first.config;
  EXPECT_EQ(c.os.edition, L"Windows XP Professional");
  EXPECT_EQ(c.os.minorVersion, 1U);
  EXPECT_EQ(c.os.buildNumber, 2600U);
  EXPECT_FALSE(c.os.hasIsWow64Process);
  EXPECT_EQ(c.os.userLocale, 1042U);
  EXPECT_EQ(c.winsock.highestVersion, makeWord(1, 1));
  ASSERT_EQ(c.faults.size(), 2U);
  EXPECT_EQ(c.faults[0].times, -1);
  EXPECT_EQ(c.faults[1].times, 2);
  ASSERT_EQ(c.desktop.size(), 1U);
  EXPECT_EQ(c.desktop[0].title, L"메모장");
  EXPECT_FALSE(c.os.isAdministrator);
  EXPECT_EQ(c.os.localTimeAtStart, 86400U);
  ASSERT_TRUE(c.files);
  ASSERT_EQ(c.files->size(), 3U);
  EXPECT_TRUE((*c.files)[0].isFolder);
  EXPECT_EQ((*c.files)[1].path, L"C:\\Program Files\\Corvantis\\Brisvane.ini");
  EXPECT_EQ((*c.files)[1].contents.size(), 10U);
  EXPECT_EQ((*c.files)[2].contents, (std::vector<std::uint8_t>{0xFF, 0xFE, 0x41, 0x00}));
  EXPECT_EQ((*c.files)[2].attributes, kFileAttributeReadOnly);

  const auto again = parseMachineFile(formatMachineFile(c), "saved.json");
  ASSERT_TRUE(again.config) << again.error;
  EXPECT_EQ(formatMachineFile(*again.config), formatMachineFile(c));
}

TEST(MachineFile, SpoolerServiceAndLoadedDriversSurviveASaveAndLoad) {
  const std::string text = R"json({
    "spooler": { "drivers": [ { "name": "Corvantis LV31 (203 dpi)", "environment": "Windows x64" } ],
                 "loadedDrivers": [ "Corvantis LV31 (203 dpi)" ]
}
, "spoolerService" : {
  "running" : false, "stopMilliseconds" : 1500, "startMilliseconds" : null
}
})json";
  const auto first = parseMachineFile(text, "service.json");
  ASSERT_TRUE(first.config) << first.error;
  const auto again = parseMachineFile(formatMachineFile(*first.config), "again.json");
  ASSERT_TRUE(again.config) << again.error;
  for (const MachineConfig* c : {&*first.config, &*again.config}) {
    EXPECT_FALSE(c->spoolerService.running);
    EXPECT_EQ(c->spoolerService.stopMilliseconds, std::optional<Dword>(1500));
    EXPECT_FALSE(c->spoolerService.startMilliseconds);
    EXPECT_EQ(c->spooler->loadedDrivers, std::vector<std::wstring>{L"Corvantis LV31 (203 dpi)"});
  }
}

TEST(MachineFile, UsbDevicesKeepWhichPropertiesTheyHave) {
  const std::string text = R"json({"devices": [
    { "instanceId": "USBPRINT\\CORVANTISLV31\\1", "hardwareIds": [ "USBPRINT\\Corvantis_LV31", "Corvantis_LV31" ],
      "manufacturer": "Corvantis", "configFlags": 32, "port": "USB001" },
    { "instanceId": "USBPRINT\\BARE\\2", "present": false, "hardwareIds": [] },
    { "instanceId": "USBPRINT\\NOTHING\\3" } ]})json";
  const auto first = parseMachineFile(text, "devices.json");
  ASSERT_TRUE(first.config) << first.error;
  const auto again = parseMachineFile(formatMachineFile(*first.config), "again.json");
  ASSERT_TRUE(again.config) << again.error;
  for (const MachineConfig* c : {&*first.config, &*again.config}) {
    ASSERT_EQ(c->devices.size(), 3U);
    const UsbDeviceConfig& lv31 = c->devices[0];
    EXPECT_TRUE(lv31.present);
    EXPECT_EQ(lv31.hardwareIds,
              (std::vector<std::wstring>{L"USBPRINT\\Corvantis_LV31", L"Corvantis_LV31"}));
    EXPECT_EQ(lv31.manufacturer, std::optional<std::wstring>(L"Corvantis"));
    EXPECT_EQ(lv31.configFlags, std::optional<Dword>(32));
    EXPECT_EQ(lv31.port, L"USB001");
    EXPECT_FALSE(c->devices[1].present);
    EXPECT_EQ(c->devices[1].hardwareIds, std::vector<std::wstring>{});
    EXPECT_FALSE(c->devices[2].hardwareIds);
    EXPECT_FALSE(c->devices[2].manufacturer);
    EXPECT_FALSE(c->devices[2].configFlags);
  }
}

TEST(MachineFile, BadInputNamesTheFileTheFieldAndTheProblem) {
  struct Case {
    const char* text;
    const char* error;
  };
  const Case cases[] = {
      {"{ \"os\": ", "bad.json: not valid JSON: parse error"},
      {"[1]", "bad.json: the machine must be a JSON object"},
      {R"({"colour": 1})", "bad.json: field 'colour': unknown field"},
      {R"({"os": {"versoin": "6.1"}})", "bad.json: field 'os.versoin': unknown field"},
      {R"({"os": {"version": 10}})", "bad.json: field 'os.version': expected a string"},
      {R"({"os": {"version": "ten"}})", "bad.json: field 'os.version': expected a version"},
      {R"({"os": {"is64Bit": "yes"}})", "bad.json: field 'os.is64Bit': expected true or false"},
      {R"({"os": {"userUiLanguage": -1}})",
       "bad.json: field 'os.userUiLanguage': expected a non-negative integer"},
      {R"({"os": {"userUiLanguage": 70000}})",
       "bad.json: field 'os.userUiLanguage': must be at most 65535"},
      {R"({"os": {"productType": "laptop"}})", "bad.json: field 'os.productType': expected"},
      {R"({"os": []})", "bad.json: field 'os': expected an object"},
      {R"({"faults": [{"call": "X"}]})", "bad.json: field 'faults[0].error': missing"},
      {R"({"faults": [{"call": "X", "error": 1, "times": 0}]})",
       "bad.json: field 'faults[0].times': expected a positive count"},
      {R"({"desktop": [{"title": 3, "program": "a"}]})",
       "bad.json: field 'desktop[0].title': expected a string"},
      {R"({"os": {"isAdministrator": 1}})",
       "bad.json: field 'os.isAdministrator': expected true or false"},
      {R"({"os": {"localTimeAtStart": 1e20}})",
       "bad.json: field 'os.localTimeAtStart': expected a non-negative integer"},
      {R"({"files": {}})", "bad.json: field 'files': expected an array"},
      {R"({"spoolerService": {"running": 1}})",
       "bad.json: field 'spoolerService.running': expected true or false"},
      {R"({"spoolerService": {"stopMilliseconds": -5}})",
       "bad.json: field 'spoolerService.stopMilliseconds': expected a non-negative integer"},
      {R"({"spoolerService": {"paused": true}})",
       "bad.json: field 'spoolerService.paused': unknown field"},
      {R"({"spooler": {"loadedDrivers": ["Nope"]}})",
       "bad.json: field 'spooler.loadedDrivers[0]': no such driver in spooler.drivers"},
      {R"({"spooler": {"loadedDrivers": [7]}})",
       "bad.json: field 'spooler.loadedDrivers[0]': expected a string"},
      {R"({"files": [{"folder": true}]})", "bad.json: field 'files[0].path': missing"},
      {R"({"files": [{"path": "Windows"}]})", "bad.json: field 'files[0].path': expected a full"},
      {R"({"files": [{"path": "C:\\a|b"}]})", "bad.json: field 'files[0].path': expected a full"},
      {R"({"files": [{"path": "C:\\a"}, {"path": "c:\\A"}]})",
       "bad.json: field 'files[1].path': named twice"},
      {R"({"files": [{"path": "C:\\a", "size": 1}]})",
       "bad.json: field 'files[0].size': unknown field"},
      {R"({"files": [{"path": "C:\\a", "hex": "abc"}]})",
       "bad.json: field 'files[0].hex': expected pairs of hexadecimal digits"},
      {R"({"files": [{"path": "C:\\a", "text": "x", "hex": "00"}]})",
       "bad.json: field 'files[0]': give \"text\" or \"hex\", not both"},
      {R"({"files": [{"path": "C:\\a", "folder": true, "text": "x"}]})",
       "bad.json: field 'files[0]': a folder has no contents"},
      {R"({"files": [{"path": "C:\\a", "readOnly": "yes"}]})",
       "bad.json: field 'files[0].readOnly': expected true or false"},
      {R"({"devices": {}})", "bad.json: field 'devices': expected an array"},
      {R"({"devices": [{"present": true}]})", "bad.json: field 'devices[0].instanceId': missing"},
      {R"({"devices": [{"instanceId": "USB\\VID_1"}]})",
       "bad.json: field 'devices[0].instanceId': expected an id like"},
      {R"({"devices": [{"instanceId": "USBPRINT\\A"}, {"instanceId": "usbprint\\a"}]})",
       "bad.json: field 'devices[1].instanceId': named twice"},
      {R"({"devices": [{"instanceId": "USBPRINT\\A", "serial": 1}]})",
       "bad.json: field 'devices[0].serial': unknown field"},
      {R"({"devices": [{"instanceId": "USBPRINT\\A", "present": "no"}]})",
       "bad.json: field 'devices[0].present': expected true or false"},
      {R"({"devices": [{"instanceId": "USBPRINT\\A", "hardwareIds": "X"}]})",
       "bad.json: field 'devices[0].hardwareIds': expected an array"},
      {R"({"devices": [{"instanceId": "USBPRINT\\A", "hardwareIds": [5]}]})",
       "bad.json: field 'devices[0].hardwareIds[0]': expected a string"},
      {R"({"devices": [{"instanceId": "USBPRINT\\A", "configFlags": -1}]})",
       "bad.json: field 'devices[0].configFlags': expected a non-negative integer"},
      {R"({"devices": [{"instanceId": "USBPRINT\\A", "manufacturer": 1}]})",
       "bad.json: field 'devices[0].manufacturer': expected a string"},
  };
  for (const auto& c : cases) {
    const auto result = parseMachineFile(c.text, "bad.json");
    EXPECT_FALSE(result.config) << c.text;
    EXPECT_EQ(result.error.rfind(c.error, 0), 0U) << c.text << " gave: " << result.error;
    EXPECT_EQ(result.error.find('\n'), std::string::npos) << result.error;
  }
}

}  // namespace
}  // namespace plat::sim
