#include <cstdint>
#include <optional>
#include <vector>

#include "platform/api/ports.h"
#include "platform/api/registry_key.h"
#include "tests/conformance/conformance.h"

namespace conformance {

namespace {

using plat::Dword;
using plat::ports;

constexpr wchar_t kScratch[] = L"C:\\BrisvaneConformance";
constexpr wchar_t kScratchKey[] = L"Software\\BrisvaneConformance";

std::vector<std::uint8_t> bytesOf(const char* text) {
  std::vector<std::uint8_t> out;
  for (const char* c = text; *c != '\0'; ++c) out.push_back(static_cast<std::uint8_t>(*c));
  return out;
}

// A scratch folder that is removed with what the case left in it.
class ScratchFolder {
 public:
  explicit ScratchFolder(std::vector<std::wstring> files) : files_(std::move(files)) {
    ports().files().createDirectory(kScratch);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  ~ScratchFolder() {
    for (const auto& name : files_) ports().files().deleteFile(path(name));
  }
  static std::wstring path(const std::wstring& name) {
    return std::wstring(kScratch) + L"\\" + name;
  }

 private:
  std::vector<std::wstring> files_;
};

void namedMutexes(Check& check) {
  plat::SystemPort& system = ports().system();
  const auto first = system.createMutex(true, L"BrisvaneConformanceMutex");
  const auto second = system.createMutex(false, L"BrisvaneConformanceMutex");
  const auto otherCase = system.createMutex(false, L"brisvaneconformancemutex");
  check.equal(first.ok() && !first->existed, true, "a new name is created");
  check.equal(second.ok() && second->existed, true, "the same name again exists");
  check.expect(second->handle != plat::kNoHandle, "and still gives a handle");
  check.equal(otherCase.ok() && !otherCase->existed, true, "names are case-sensitive");
  for (const auto h : {first->handle, second->handle, otherCase->handle}) system.closeHandle(h);
  const auto again = system.createMutex(false, L"BrisvaneConformanceMutex");
  check.equal(again.ok() && !again->existed, true, "the name goes with its last handle");
  system.closeHandle(again->handle);
}

void threadWaits(Check& check) {
  plat::SystemPort& system = ports().system();
  const plat::KernelHandle thread = system.createThread([&system] {
    system.sleep(300);
    return Dword{42};
  });
  check.expect(thread != plat::kNoHandle, "the thread starts");
  check.equal(system.waitForSingleObject(thread, 10), plat::kWaitTimeout, "a short wait times out");
  check.equal(system.getExitCodeThread(thread), std::optional<Dword>(259), "it is still active");
  check.equal(system.waitForSingleObject(thread, plat::kInfinite), plat::kWaitObject0,
              "an endless wait sees it end");
  check.equal(system.getExitCodeThread(thread), std::optional<Dword>(42), "with its exit code");
  system.closeHandle(thread);
}

void registryKeysAndValues(Check& check) {
  plat::RegistryPort& registry = ports().registry();
  const std::wstring path = std::wstring(kScratchKey) + L"\\Values";
  const auto created = registry.regCreateKeyEx(plat::kHkeyCurrentUser, path, plat::kKeyAllAccess);
  check.equal(created.error(), plat::kErrorSuccess, "the key is created");
  check.equal(created->disposition, plat::kRegCreatedNewKey, "as a new key");
  registry.regCloseKey(created->key);
  plat::RegistryKey key =
      plat::createKey(registry, plat::kHkeyCurrentUser, path, plat::kKeyAllAccess).valueOr({});
  check.equal(registry.regSetValueEx(key.get(), L"Text", plat::kRegSz, plat::regSzData(L"abc")),
              plat::kErrorSuccess, "a REG_SZ value is written");

  const auto small = registry.regQueryValueEx(key.get(), L"Text", Dword{4});
  check.equal(small.error(), plat::kErrorMoreData, "a small buffer gives ERROR_MORE_DATA");
  check.equal(small->size, Dword{8}, "and the size needed with the terminating zero");
  const auto whole = registry.regQueryValueEx(key.get(), L"text", std::nullopt);
  check.equal(whole.error(), plat::kErrorSuccess, "value names are case-insensitive");
  check.equal(plat::regSzText(whole->data), std::wstring(L"abc"), "the text comes back");
  check.equal(whole->type, plat::kRegSz, "with its type");
  check.equal(registry.regQueryValueEx(key.get(), L"Missing", std::nullopt).error(),
              plat::kErrorFileNotFound, "a missing value is not found");

  const auto upper = registry.regOpenKeyEx(
      plat::kHkeyCurrentUser, L"SOFTWARE\\BRISVANECONFORMANCE\\VALUES", plat::kKeyRead);
  check.equal(upper.error(), plat::kErrorSuccess, "key names are case-insensitive");
  registry.regCloseKey(upper.valueOr(plat::kNoRegKey));
  check.equal(
      registry.regOpenKeyEx(plat::kHkeyCurrentUser, path + L"\\Nope", plat::kKeyRead).error(),
      plat::kErrorFileNotFound, "a missing key is not found");
  check.equal(registry.regEnumValue(key.get(), 1).error(), plat::kErrorNoMoreItems,
              "enumeration ends with ERROR_NO_MORE_ITEMS");

  key.reset();
  check.equal(registry.regDeleteKey(plat::kHkeyCurrentUser, kScratchKey), plat::kErrorAccessDenied,
              "a key with subkeys cannot be deleted");
  check.equal(registry.regDeleteKey(plat::kHkeyCurrentUser, path), plat::kErrorSuccess,
              "a leaf key is deleted");
  check.equal(registry.regDeleteKey(plat::kHkeyCurrentUser, kScratchKey), plat::kErrorSuccess,
              "then its parent");
}

void filesAndFolders(Check& check) {
  plat::FilePort& files = ports().files();
  const ScratchFolder scratch({L"a.bin"});
  const std::wstring file = ScratchFolder::path(L"a.bin");
  check.equal(files.createDirectory(kScratch), plat::kErrorAlreadyExists,
              "an existing folder cannot be created");
  auto created = files.createFile(file, plat::kGenericWrite, 0, plat::kCreateAlways,
                                  plat::kFileAttributeNormal);
  check.equal(created.ok() && !created->existed, true, "CREATE_ALWAYS makes a new file");
  check.equal(files.writeFile(created->handle, bytesOf("hello")).valueOr(0), Dword{5},
              "it is written");
  files.closeFile(created->handle);

  auto again = files.createFile(file, plat::kGenericWrite | plat::kGenericRead, 0,
                                plat::kCreateAlways, plat::kFileAttributeNormal);
  check.equal(again.ok() && again->existed, true, "CREATE_ALWAYS on a file says 183");
  check.equal(files.getFileSize(again->handle).valueOr(1), std::uint64_t{0}, "and empties it");
  files.closeFile(again->handle);

  auto kept = files.createFile(file, plat::kGenericRead, plat::kFileShareRead, plat::kOpenAlways,
                               plat::kFileAttributeNormal);
  check.equal(kept.ok() && kept->existed, true, "OPEN_ALWAYS on a file says 183");
  files.closeFile(kept->handle);

  check.equal(files
                  .createFile(ScratchFolder::path(L"none.bin"), plat::kGenericRead, 0,
                              plat::kOpenExisting, 0)
                  .error(),
              plat::kErrorFileNotFound, "OPEN_EXISTING on no file gives 2");
  check.equal(files
                  .createFile(ScratchFolder::path(L"no\\such.bin"), plat::kGenericWrite, 0,
                              plat::kCreateAlways, 0)
                  .error(),
              plat::kErrorPathNotFound, "a missing folder gives 3");
  const auto attributes = files.getFileAttributes(ScratchFolder::path(L"none.bin"));
  check.equal(attributes.hasValue(), false, "no attributes of no file");
  check.equal(attributes.error(), plat::kErrorFileNotFound, "and the error 2");
  check.equal(files.deleteFile(ScratchFolder::path(L"none.bin")), plat::kErrorFileNotFound,
              "deleting no file gives 2");
  check.expect(files.pathIsDirectory(kScratch), "the folder is a directory");
  check.expect(!files.pathIsDirectory(file), "the file is not");
}

void profileCalls(Check& check) {
  plat::FilePort& files = ports().files();
  const ScratchFolder scratch({L"settings.ini"});
  const std::wstring ini = ScratchFolder::path(L"settings.ini");
  check.equal(files.getPrivateProfileInt(L"Config", L"Mode", 7, ini), 7U,
              "no file gives the default");
  check.equal(files.writePrivateProfileString(L"Config", L"Mode", L"3", ini), plat::kErrorSuccess,
              "the write creates the file");
  check.expect(files.pathFileExists(ini), "which now exists");
  check.equal(files.getPrivateProfileInt(L"config", L"MODE", 7, ini), 3U,
              "sections and keys are case-insensitive");
  check.equal(files.getPrivateProfileInt(L"Config", L"Other", 7, ini), 7U,
              "a missing key gives the default");
  files.writePrivateProfileString(L"Config", L"Word", L"abc", ini);
  check.equal(files.getPrivateProfileInt(L"Config", L"Word", 7, ini), 0U, "a non-number reads 0");
  files.writePrivateProfileString(L"Config", L"Lead", L"12ab", ini);
  check.equal(files.getPrivateProfileInt(L"Config", L"Lead", 7, ini), 12U,
              "a leading number reads as that number");
}

// The device calls on a machine without USB printers. The simulated
// machine answers as Windows does; Wine's configuration manager and newdev
// do not model the device tree, so there the root is not found
// (CR_FAILURE) and the update of any hardware id reports success.
void deviceCalls(Check& check) {
  plat::DevicePort& devices = ports().devices();
  const auto set =
      devices.setupDiGetClassDevs(L"USBPRINT", plat::kDigcfPresent | plat::kDigcfAllClasses);
  check.equal(set.error(), plat::kErrorSuccess, "a USBPRINT set can be built");
  const plat::DeviceSetId setId = set.valueOr(plat::kNoDeviceSet);
  check.equal(devices.setupDiEnumDeviceInfo(setId, 0).error(), plat::kErrorNoMoreItems,
              "and it is empty");
  check.equal(devices.setupDiDestroyDeviceInfoList(setId), plat::kErrorSuccess, "and destroyed");
  check.equal(devices.cmpWaitNoPendingInstallEvents(0), plat::kWaitObject0,
              "no installation is pending");

  const bool wine = onWine();
  constexpr Dword kCrFailure = 0x13;
  const auto root = devices.cmLocateDevNode(std::nullopt, plat::kCmLocateDevnodeNormal);
  check.equal(root.error(), wine ? kCrFailure : plat::kCrSuccess,
              "the root of the device tree is found (Wine: CR_FAILURE)");

  const ScratchFolder scratch({L"none.inf"});
  const std::wstring inf = ScratchFolder::path(L"none.inf");
  auto created = ports().files().createFile(inf, plat::kGenericWrite, 0, plat::kCreateAlways,
                                            plat::kFileAttributeNormal);
  static_cast<void>(ports().files().writeFile(
      created->handle, bytesOf("[Version]\r\nSignature=\"$Windows NT$\"\r\n")));
  ports().files().closeFile(created->handle);
  const auto update = devices.updateDriverForPlugAndPlayDevices(
      L"USBPRINT\\BrisvaneConformance_None", inf, plat::kInstallFlagForce);
  // A 32-bit process on 64-bit Windows is refused before any device is
  // looked at.
  const plat::Wow64Query wow64 = ports().system().isWow64Process();
  const Dword refused = wow64.value != 0 ? plat::kErrorInWow64 : plat::kErrorNoMoreItems;
  check.equal(update.error(), wine ? plat::kErrorSuccess : refused,
              "no device has an unknown hardware id (Wine: success)");
}

constexpr Case kCases[] = {
    {"NamedMutexes", namedMutexes},
    {"ThreadWaits", threadWaits},
    {"RegistryKeysAndValues", registryKeysAndValues},
    {"FilesAndFolders", filesAndFolders},
    {"ProfileCalls", profileCalls},
    {"KnownFolders", knownFolders},
    {"Wow64Redirection", wow64Redirection},
    {"DriverDirectories", driverDirectories},
    {"SpoolerPorts", spoolerPorts},
    {"PrinterQueues", printerQueues},
    {"SpoolerService", spoolerService},
    {"DriverStore", driverStore},
    {"WindowTimers", windowTimers},
    {"LayeredWindows", layeredWindows},
    {"Tooltips", tooltips},
    {"OwnerDrawnButtons", ownerDrawnButtons},
    {"Menus", menus},
    {"DialogTabOrder", dialogTabOrder},
    {"DialogKeys", dialogKeys},
    {"PortMonitors", portMonitors},
    {"PrinterDriversAndJobs", printerDriversAndJobs},
    {"DeviceCalls", deviceCalls},
};

}  // namespace

std::span<const Case> cases() {
  return kCases;
}

}  // namespace conformance
