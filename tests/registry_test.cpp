// The simulated registry: keys and typed values, access rights, handles and
// the machine file section.
#include <gtest/gtest.h>

#include "platform/api/ports.h"
#include "platform/api/registry_key.h"
#include "platform/sim/machine_file.h"
#include "tests/sim_support.h"

namespace plat::sim {
namespace {

using brisvane::testing::runInProcess;

constexpr wchar_t kVendor[] = L"SOFTWARE\\Corvantis\\Test";

MachineConfig emptyRegistry() {
  MachineConfig config;
  config.registry.clear();
  return config;
}

TEST(Registry, CreatesParentsAndFindsKeysAndValuesInAnyLetterCase) {
  Machine machine(emptyRegistry());
  runInProcess(machine, [] {
    RegistryPort& reg = ports().registry();
    const auto created = reg.regCreateKeyEx(kHkeyLocalMachine, kVendor, kKeyAllAccess);
    ASSERT_EQ(created.error(), kErrorSuccess);
    EXPECT_EQ(created->disposition, kRegCreatedNewKey);
    EXPECT_EQ(reg.regSetValueEx(created->key, L"Mode", kRegDword, dwordLeBytes(7)), kErrorSuccess);
    EXPECT_EQ(reg.regSetValueEx(created->key, L"Name", kRegSz, regSzData(L"라벨 标签")),
              kErrorSuccess);
    reg.regCloseKey(created->key);

    const auto again =
        reg.regCreateKeyEx(kHkeyLocalMachine, L"software\\CORVANTIS\\test", kKeyRead);
    EXPECT_EQ(again->disposition, kRegOpenedExistingKey);
    const auto mode = reg.regQueryValueEx(again->key, L"MODE", std::nullopt);
    EXPECT_EQ(mode->type, kRegDword);
    EXPECT_EQ(dwordFromLeBytes(mode->data), 7U);
    EXPECT_EQ(regSzText(reg.regQueryValueEx(again->key, L"name", std::nullopt)->data),
              L"라벨 标签");
    reg.regCloseKey(again->key);

    EXPECT_EQ(reg.regOpenKeyEx(kHkeyLocalMachine, L"SOFTWARE\\Missing", kKeyRead).error(),
              kErrorFileNotFound);
    EXPECT_EQ(reg.regOpenKeyEx(kHkeyLocalMachine, L"\\SOFTWARE", kKeyRead).error(),
              kErrorBadPathname);
    // The hives are apart.
    EXPECT_EQ(reg.regOpenKeyEx(kHkeyCurrentUser, kVendor, kKeyRead).error(), kErrorFileNotFound);
  });
}

TEST(Registry, QueryWithASmallBufferReportsTheSizeNeeded) {
  Machine machine(emptyRegistry());
  runInProcess(machine, [] {
    RegistryPort& reg = ports().registry();
    const RegistryKey key = createKey(reg, kHkeyCurrentUser, kVendor, kKeyAllAccess).valueOr({});
    const std::vector<std::uint8_t> big(600, 0x41);
    reg.regSetValueEx(key.get(), L"Blob", kRegBinary, big);

    const auto small = reg.regQueryValueEx(key.get(), L"Blob", Dword{510});
    EXPECT_EQ(small.error(), kErrorMoreData);
    EXPECT_EQ(small->size, 600U);
    EXPECT_TRUE(small->data.empty());
    const auto whole = reg.regQueryValueEx(key.get(), L"Blob", std::nullopt);
    EXPECT_EQ(whole.error(), kErrorSuccess);
    EXPECT_EQ(whole->data, big);
    EXPECT_EQ(reg.regQueryValueEx(key.get(), L"Blob", Dword{600})->data, big);
    EXPECT_EQ(reg.regQueryValueEx(key.get(), L"None", std::nullopt).error(), kErrorFileNotFound);
  });
}

TEST(Registry, AccessRightsOfTheHandleAndReadOnlyKeysAreEnforced) {
  MachineConfig config = emptyRegistry();
  config.registry.push_back(
      {L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Locked", true, {{L"Kept", kRegSz, regSzData(L"yes")}}});
  Machine machine(config);
  runInProcess(machine, [] {
    RegistryPort& reg = ports().registry();
    struct Case {
      const wchar_t* key;
      Dword access;
      Dword openError;
    };
    const Case opens[] = {
        {L"SOFTWARE\\Locked", kKeyRead, kErrorSuccess},
        {L"SOFTWARE\\Locked", kKeyRead | kKeyWrite, kErrorAccessDenied},
        {L"SOFTWARE\\Locked", kKeySetValue, kErrorAccessDenied},
        {L"SOFTWARE", kKeyAllAccess, kErrorSuccess},
    };
    for (const auto& c : opens) {
      const auto opened = reg.regOpenKeyEx(kHkeyLocalMachine, c.key, c.access);
      EXPECT_EQ(opened.error(), c.openError) << c.key << " " << c.access;
      if (opened.error() == kErrorSuccess) reg.regCloseKey(opened.value());
    }
    EXPECT_EQ(reg.regCreateKeyEx(kHkeyLocalMachine, L"SOFTWARE\\Locked\\Sub", kKeyRead).error(),
              kErrorAccessDenied);
    EXPECT_EQ(reg.regDeleteKey(kHkeyLocalMachine, L"SOFTWARE\\Locked"), kErrorAccessDenied);

    const auto readOnly = reg.regOpenKeyEx(kHkeyLocalMachine, L"SOFTWARE", kKeyRead);
    EXPECT_EQ(reg.regSetValueEx(readOnly.value(), L"X", kRegDword, dwordLeBytes(1)),
              kErrorAccessDenied);
    EXPECT_EQ(reg.regCreateKeyEx(readOnly.value(), L"New", kKeyRead).error(), kErrorAccessDenied);
    reg.regCloseKey(readOnly.value());
    const auto writeOnly = reg.regOpenKeyEx(kHkeyLocalMachine, L"SOFTWARE", kKeySetValue);
    EXPECT_EQ(reg.regQueryValueEx(writeOnly.value(), L"X", std::nullopt).error(),
              kErrorAccessDenied);
    EXPECT_EQ(reg.regEnumKeyEx(writeOnly.value(), 0, kMaxKeyNameChars).error(), kErrorAccessDenied);
    reg.regCloseKey(writeOnly.value());
  });
}

TEST(Registry, EnumeratesDeletesAndInvalidatesHandles) {
  Machine machine(emptyRegistry());
  runInProcess(machine, [] {
    RegistryPort& reg = ports().registry();
    const auto root = reg.regCreateKeyEx(kHkeyCurrentUser, kVendor, kKeyAllAccess);
    for (const wchar_t* name : {L"beta", L"Alpha", L"gamma"}) {
      reg.regCloseKey(reg.regCreateKeyEx(root->key, name, kKeyRead)->key);
    }
    for (const wchar_t* name : {L"z", L"a"}) {
      reg.regSetValueEx(root->key, name, kRegMultiSz, regMultiSzData({L"one", L"two"}));
    }
    std::vector<std::wstring> keys;
    for (Dword i = 0;; ++i) {
      const auto next = reg.regEnumKeyEx(root->key, i, kMaxKeyNameChars);
      if (next.error() != kErrorSuccess) {
        EXPECT_EQ(next.error(), kErrorNoMoreItems);
        break;
      }
      keys.push_back(next.value());
    }
    EXPECT_EQ(keys, (std::vector<std::wstring>{L"Alpha", L"beta", L"gamma"}));
    const auto first = reg.regEnumValue(root->key, 0);
    EXPECT_EQ(first->name, L"z");
    EXPECT_EQ(regMultiSzTexts(first->data), (std::vector<std::wstring>{L"one", L"two"}));
    EXPECT_EQ(reg.regEnumValue(root->key, 2).error(), kErrorNoMoreItems);

    EXPECT_EQ(reg.regDeleteValue(root->key, L"Z"), kErrorSuccess);
    EXPECT_EQ(reg.regDeleteValue(root->key, L"Z"), kErrorFileNotFound);
    const auto beta = reg.regOpenKeyEx(root->key, L"BETA", kKeyRead | kKeyCreateSubKey);
    reg.regCloseKey(reg.regCreateKeyEx(beta.value(), L"child", kKeyRead)->key);
    EXPECT_EQ(reg.regDeleteKey(root->key, L"beta"), kErrorAccessDenied);  // has a subkey
    EXPECT_EQ(reg.regDeleteKey(root->key, L"beta\\child"), kErrorSuccess);
    EXPECT_EQ(reg.regDeleteKey(root->key, L"beta"), kErrorSuccess);
    EXPECT_EQ(reg.regQueryValueEx(beta.value(), L"", std::nullopt).error(), kErrorKeyDeleted);
    EXPECT_EQ(reg.regFlushKey(root->key), kErrorSuccess);
    EXPECT_EQ(reg.regCloseKey(beta.value()), kErrorSuccess);
    EXPECT_EQ(reg.regCloseKey(beta.value()), kErrorInvalidHandle);
    EXPECT_EQ(reg.regFlushKey(beta.value()), kErrorInvalidHandle);
    reg.regCloseKey(root->key);
  });
}

TEST(Registry, HandlesBelongToTheirProcessAndCloseWithTheirOwner) {
  Machine machine(emptyRegistry());
  RegKey leaked = kNoRegKey;
  RegKey scoped = kNoRegKey;
  runInProcess(machine, [&] {
    RegistryPort& reg = ports().registry();
    leaked = reg.regCreateKeyEx(kHkeyCurrentUser, kVendor, kKeyAllAccess)->key;
    {
      const RegistryKey key = openKey(reg, kHkeyCurrentUser, kVendor, kKeyRead).valueOr({});
      scoped = key.get();
    }
    EXPECT_EQ(reg.regCloseKey(scoped), kErrorInvalidHandle);  // the wrapper closed it
  });
  Dword otherProcess = 0;
  runInProcess(machine, [&] { otherProcess = ports().registry().regFlushKey(leaked); });
  EXPECT_EQ(otherProcess, kErrorInvalidHandle);
}

TEST(Registry, InjectedFaultsComeBackAsTheCallsError) {
  MachineConfig config = emptyRegistry();
  config.faults.push_back({"RegOpenKeyExW", kErrorAccessDenied, 1});
  Machine machine(config);
  runInProcess(machine, [] {
    RegistryPort& reg = ports().registry();
    EXPECT_EQ(reg.regOpenKeyEx(kHkeyCurrentUser, L"", kKeyRead).error(), kErrorAccessDenied);
    EXPECT_EQ(reg.regOpenKeyEx(kHkeyCurrentUser, L"", kKeyRead).error(), kErrorSuccess);
  });
}

TEST(Registry, MachineFileSectionLoadsAndTheSnapshotKeepsWhatProgramsWrote) {
  const auto loaded = parseMachineFile(R"({"registry": [
      {"key": "HKEY_LOCAL_MACHINE\\SOFTWARE\\A", "readOnly": true, "values": [
        {"name": "s", "type": "REG_SZ", "data": "한국어"},
        {"name": "d", "type": "REG_DWORD", "data": 4294967295},
        {"name": "b", "type": "REG_BINARY", "data": "00ff10"},
        {"name": "m", "type": "REG_MULTI_SZ", "data": ["x", "y"]}]}]})",
                                       "r.json");
  ASSERT_TRUE(loaded.config) << loaded.error;
  Machine machine(*loaded.config);
  runInProcess(machine, [] {
    RegistryPort& reg = ports().registry();
    const RegistryKey a = openKey(reg, kHkeyLocalMachine, L"SOFTWARE\\A", kKeyRead).valueOr({});
    EXPECT_EQ(regSzText(reg.regQueryValueEx(a.get(), L"s", std::nullopt)->data), L"한국어");
    EXPECT_EQ(reg.regQueryValueEx(a.get(), L"b", std::nullopt)->data,
              (std::vector<std::uint8_t>{0x00, 0xFF, 0x10}));
    const RegistryKey made =
        createKey(reg, kHkeyCurrentUser, L"Software\\New", kKeyWrite).valueOr({});
    reg.regSetValueEx(made.get(), L"v", kRegDword, dwordLeBytes(3));
  });
  const std::string saved = formatMachineFile(machine.snapshot());
  const auto reloaded = parseMachineFile(saved, "saved.json");
  ASSERT_TRUE(reloaded.config) << reloaded.error;
  EXPECT_EQ(formatMachineFile(*reloaded.config), saved);
  const auto& keys = reloaded.config->registry;
  ASSERT_EQ(keys.size(), 4U);  // SOFTWARE, SOFTWARE\A, Software, Software\New
  EXPECT_TRUE(keys[1].readOnly);
  EXPECT_EQ(keys[1].values.size(), 4U);
  EXPECT_EQ(keys[3].path, L"HKEY_CURRENT_USER\\Software\\New");
  EXPECT_EQ(dwordFromLeBytes(keys[3].values[0].data), 3U);
}

TEST(Registry, BadMachineFileSectionsNameTheField) {
  struct Case {
    const char* text;
    const char* error;
  };
  const Case cases[] = {
      {R"({"registry": {}})", "bad.json: field 'registry': expected an array"},
      {R"({"registry": [{"key": "HKEY_USERS\\X"}]})",
       "bad.json: field 'registry[0].key': expected"},
      {R"({"registry": [{"key": "HKEY_CURRENT_USER"}]})",
       "bad.json: field 'registry[0].key': expected a subkey path"},
      {R"({"registry": [{"key": "HKEY_CURRENT_USER\\\\A"}]})",
       "bad.json: field 'registry[0].key': expected a subkey path"},
      {R"({"registry": [{"key": "HKEY_CURRENT_USER\\A", "vals": []}]})",
       "bad.json: field 'registry[0].vals': unknown field"},
      {R"({"registry": [{"key": "HKEY_CURRENT_USER\\A", "values": [{"name": "v", "type": "REG_QWORD", "data": 1}]}]})",
       "bad.json: field 'registry[0].values[0].type': expected"},
      {R"({"registry": [{"key": "HKEY_CURRENT_USER\\A", "values": [{"name": "v", "type": "REG_DWORD", "data": "1"}]}]})",
       "bad.json: field 'registry[0].values[0].data': expected a non-negative integer"},
      {R"({"registry": [{"key": "HKEY_CURRENT_USER\\A", "values": [{"name": "v", "type": "REG_BINARY", "data": "0g"}]}]})",
       "bad.json: field 'registry[0].values[0].data': expected pairs of hexadecimal digits"},
      {R"({"registry": [{"key": "HKEY_CURRENT_USER\\A", "values": [{"name": "v", "type": "REG_MULTI_SZ", "data": [1]}]}]})",
       "bad.json: field 'registry[0].values[0].data[0]': expected a string"},
      {R"({"registry": [{"key": "HKEY_CURRENT_USER\\A", "values": [{"type": "REG_SZ", "data": ""}]}]})",
       "bad.json: field 'registry[0].values[0].name': missing"},
  };
  for (const auto& c : cases) {
    const auto result = parseMachineFile(c.text, "bad.json");
    EXPECT_FALSE(result.config) << c.text;
    EXPECT_EQ(result.error.rfind(c.error, 0), 0U) << c.text << " gave: " << result.error;
  }
}

TEST(RegistryData, TextsRoundTripAsUtf16) {
  const std::wstring text = L"A한字\U0001F5A8";
  const auto bytes = regSzData(text);
  EXPECT_EQ(bytes.size(), 2U * 6U);  // a surrogate pair and the terminating zero
  EXPECT_EQ(regSzText(bytes), text);
  EXPECT_EQ(regMultiSzData({L"a", L"b"}),
            (std::vector<std::uint8_t>{'a', 0, 0, 0, 'b', 0, 0, 0, 0, 0}));
  EXPECT_EQ(regMultiSzTexts(regMultiSzData({})), std::vector<std::wstring>{});
  EXPECT_EQ(dwordFromLeBytes(std::vector<std::uint8_t>{1, 2}), std::nullopt);
}

}  // namespace
}  // namespace plat::sim
