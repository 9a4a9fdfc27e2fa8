// The simulated disk, profile files, known folders and spooler directory
// against the documented behaviour of the Win32 calls.
#include <gtest/gtest.h>

#include "platform/api/ports.h"
#include "tests/sim_support.h"

namespace plat::sim {
namespace {

using brisvane::testing::lastErrorOf;
using brisvane::testing::runInProcess;

constexpr wchar_t kFolder[] = L"C:\\Users\\User\\Desktop";
constexpr wchar_t kFile[] = L"C:\\Users\\User\\Desktop\\a.txt";

TEST(SimFiles, CreateFileFollowsItsDisposition) {
  struct Case {
    Dword disposition;
    bool exists;
    bool opened;
    Dword lastError;
    std::size_t sizeAfter;
  };
  const Case cases[] = {
      {kCreateNew, false, true, kErrorSuccess, 0},
      {kCreateNew, true, false, kErrorFileExists, 3},
      {kCreateAlways, false, true, kErrorSuccess, 0},
      {kCreateAlways, true, true, kErrorAlreadyExists, 0},
      {kOpenExisting, false, false, kErrorFileNotFound, 0},
      {kOpenExisting, true, true, kErrorSuccess, 3},
      {kOpenAlways, false, true, kErrorSuccess, 0},
      {kOpenAlways, true, true, kErrorAlreadyExists, 3},
      {kTruncateExisting, false, false, kErrorFileNotFound, 0},
      {kTruncateExisting, true, true, kErrorSuccess, 0},
  };
  for (const Case& c : cases) {
    Machine machine;
    if (c.exists) machine.putFile({kFile, false, 0, {'a', 'b', 'c'}});
    bool opened = false;
    Dword lastError = 0;
    runInProcess(machine, [&] {
      const auto result = ports().files().createFile(L"c:/users/user/DESKTOP/A.TXT", kGenericWrite,
                                                     0, c.disposition, kFileAttributeNormal);
      opened = result.ok();
      lastError = lastErrorOf(result);
      if (result) ports().files().closeFile(result->handle);
    });
    const std::string what =
        "disposition " + std::to_string(c.disposition) + (c.exists ? ", existing" : ", new");
    EXPECT_EQ(opened, c.opened) << what;
    EXPECT_EQ(lastError, c.lastError) << what;
    const auto file = machine.file(kFile);
    EXPECT_EQ(file.has_value(), c.opened || c.exists) << what;
    if (file) {
      EXPECT_EQ(file->contents.size(), c.sizeAfter) << what;
      EXPECT_EQ(file->path, c.exists ? kFile : L"C:\\users\\user\\DESKTOP\\A.TXT") << what;
    }
  }
}

TEST(SimFiles, RefusesWhatWindowsRefuses) {
  MachineConfig config;
  config.os.isAdministrator = false;
  Machine machine(config);
  machine.putFile({kFile, false, kFileAttributeReadOnly, {}});
  std::vector<Dword> errors;
  runInProcess(machine, [&] {
    FilePort& files = ports().files();
    auto create = [&](const std::wstring& path, Dword disposition = kCreateAlways) {
      const auto r = files.createFile(path, kGenericWrite, 0, disposition, kFileAttributeNormal);
      if (r) files.closeFile(r->handle);
      return lastErrorOf(r);
    };
    errors.push_back(create(L"C:\\Program Files (x86)\\x.txt"));
    errors.push_back(files.createDirectory(L"C:\\Program Files (x86)\\Corvantis"));
    errors.push_back(create(L"C:\\Windows\\System32\\x.dll"));
    errors.push_back(create(kFile));
    errors.push_back(files.deleteFile(kFile));
    errors.push_back(create(L"C:\\Users\\User\\Missing\\x.txt"));
    errors.push_back(create(L"C:\\Users\\User\\Desktop\\bad?.txt"));
    errors.push_back(create(kFolder));
    errors.push_back(files.createDirectory(kFolder));
    errors.push_back(files.deleteFile(L"C:\\Users\\User\\Desktop\\none.txt"));
    errors.push_back(create(L"C:\\Users\\User\\Desktop\\b.txt"));
  });
  const std::vector<Dword> expected = {kErrorAccessDenied, kErrorAccessDenied, kErrorAccessDenied,
                                       kErrorAccessDenied, kErrorAccessDenied, kErrorPathNotFound,
                                       kErrorInvalidName,  kErrorAccessDenied, kErrorAlreadyExists,
                                       kErrorFileNotFound, kErrorSuccess};
  EXPECT_EQ(errors, expected);
}

TEST(SimFiles, SharingModesDecideWhoMayOpenAndDelete) {
  Machine machine;
  machine.putFile({kFile, false, 0, {}});
  std::vector<Dword> errors;
  runInProcess(machine, [&] {
    FilePort& files = ports().files();
    auto open = [&](Dword access, Dword share) {
      const auto r = files.createFile(kFile, access, share, kOpenExisting, kFileAttributeNormal);
      errors.push_back(r.error());
      return UniqueFile(files, r ? r->handle : kInvalidFile);
    };
    const UniqueFile writer = open(kGenericWrite, kFileShareWrite);
    open(kGenericWrite, kFileShareWrite);  // both share writing
    open(kGenericRead, kFileShareWrite);   // the writer does not share reading
    open(kGenericWrite, 0);                // would deny the writer
    errors.push_back(files.deleteFile(kFile));
  });
  const std::vector<Dword> expected = {kErrorSuccess, kErrorSuccess, kErrorSharingViolation,
                                       kErrorSharingViolation, kErrorSharingViolation};
  EXPECT_EQ(errors, expected);
}

TEST(SimFiles, ReadsWritesSeeksAndTruncates) {
  Machine machine;
  std::vector<std::uint8_t> read;
  std::uint64_t size = 0;
  runInProcess(machine, [&] {
    FilePort& files = ports().files();
    const UniqueFile file(
        files, files.createFile(kFile, kGenericRead | kGenericWrite, 0, kCreateAlways, 0)->handle);
    const std::uint8_t bytes[] = {1, 2, 3, 4, 5};
    ASSERT_TRUE(files.writeFile(file.get(), bytes));
    ASSERT_TRUE(files.setFilePointer(file.get(), -2, kFileEnd));
    files.setEndOfFile(file.get());
    ASSERT_TRUE(files.setFilePointer(file.get(), 1, kFileBegin));
    read = files.readFile(file.get(), 10).valueOr({});
    size = files.getFileSize(file.get()).valueOr(0);
  });
  EXPECT_EQ(read, (std::vector<std::uint8_t>{2, 3}));
  EXPECT_EQ(size, 3U);
}

TEST(SimFiles, Wow64RedirectsSystem32UnlessSwitchedOff) {
  for (const bool is64Bit : {true, false}) {
    MachineConfig config;
    config.os.is64Bit = is64Bit;
    Machine machine(config);
    Dword disableError = 0;
    runInProcess(machine, [&] {
      FilePort& files = ports().files();
      const std::wstring system = files.getSystemDirectory();
      auto touch = [&](const std::wstring& name) {
        std::wstring path = system;
        path += L"\\" + name;
        files.closeFile(files.createFile(path, kGenericWrite, 0, kCreateAlways, 0)->handle);
      };
      touch(L"redirected.dll");
      touch(L"spool\\drivers\\exempt.dll");
      const Result<std::uintptr_t> off = files.wow64DisableFsRedirection();
      disableError = off.error();
      touch(L"native.dll");
      files.wow64RevertFsRedirection(off.valueOr(0));
      touch(L"again.dll");
    });
    const std::wstring wow = is64Bit ? L"C:\\Windows\\SysWOW64\\" : L"C:\\Windows\\System32\\";
    EXPECT_TRUE(machine.file(wow + L"redirected.dll")) << is64Bit;
    EXPECT_TRUE(machine.file(wow + L"again.dll")) << is64Bit;
    EXPECT_TRUE(machine.file(L"C:\\Windows\\System32\\native.dll")) << is64Bit;
    EXPECT_TRUE(machine.file(L"C:\\Windows\\System32\\spool\\drivers\\exempt.dll")) << is64Bit;
    EXPECT_EQ(disableError, is64Bit ? kErrorSuccess : kErrorInvalidFunction);
  }
}

TEST(SimProfile, ReadsAndWritesAsThePlatformDoes) {
  Machine machine;
  machine.putFile({kFile, false, 0, {'[', 'S', ']', '\r', '\n', 'k', '=', '-', '1', '\r', '\n'}});
  std::vector<std::uint32_t> values;
  Dword missingFolderError = 0;
  runInProcess(machine, [&] {
    FilePort& files = ports().files();
    values.push_back(files.getPrivateProfileInt(L"s", L"K", 7, kFile));
    values.push_back(files.getPrivateProfileInt(L"S", L"other", 7, kFile));
    values.push_back(files.getPrivateProfileInt(L"S", L"k", 7, L"C:\\none.ini"));
    files.writePrivateProfileString(L"S", L"k", L" 42abc ", kFile);
    files.writePrivateProfileString(L"New", L"n", L"0x1F", kFile);
    files.writePrivateProfileString(L"S", L"j", L"5", kFile);
    values.push_back(files.getPrivateProfileInt(L"S", L"k", 7, kFile));
    values.push_back(files.getPrivateProfileInt(L"New", L"n", 7, kFile));
    // A bare name lies in the Windows folder.
    files.writePrivateProfileString(L"S", L"k", L"3", L"bare.ini");
    values.push_back(files.getPrivateProfileInt(L"S", L"k", 7, L"C:\\Windows\\BARE.INI"));
    missingFolderError = files.writePrivateProfileString(L"S", L"k", L"1", L"C:\\No\\x.ini");
  });
  EXPECT_EQ(values, (std::vector<std::uint32_t>{0xFFFFFFFFU, 7, 7, 42, 31, 3}));
  EXPECT_EQ(missingFolderError, kErrorPathNotFound);
  const auto file = machine.file(kFile);
  EXPECT_EQ(std::string(file->contents.begin(), file->contents.end()),
            "[S]\r\nk= 42abc \r\nj=5\r\n[New]\r\nn=0x1F\r\n");
}

TEST(SimShell, KnownFoldersShellExecuteAndDriverDirectory) {
  struct Case {
    bool is64Bit;
    const wchar_t* programFiles;
    const wchar_t* nativeDriverDirectory;
  };
  const Case cases[] = {
      {true, L"C:\\Program Files (x86)", L"C:\\Windows\\system32\\spool\\DRIVERS\\W32X86"},
      {false, L"C:\\Program Files", L"C:\\Windows\\system32\\spool\\DRIVERS\\W32X86"},
  };
  for (const Case& c : cases) {
    MachineConfig config;
    config.os.is64Bit = c.is64Bit;
    Machine machine(config);
    machine.putFile({kFile, false, 0, {}});
    std::wstring programFiles;
    std::wstring windowsFolder;
    std::wstring own;
    Dword x64Error = 0;
    std::intptr_t started = 0;
    std::intptr_t missing = 0;
    runInProcess(machine, [&] {
      programFiles =
          ports().shell().shGetFolderPath(kCsidlProgramFiles, kShgfpTypeCurrent).valueOr(L"");
      windowsFolder =
          ports().shell().shGetFolderPath(kCsidlWindows, kShgfpTypeCurrent).valueOr(L"");
      own = ports().spooler().getPrinterDriverDirectory(std::nullopt).valueOr(L"");
      x64Error = ports().spooler().getPrinterDriverDirectory(L"Windows x64").error();
      started = ports().shell().shellExecute(kNoWindow, L"open", kFile, L"-x", L"", kSwHide);
      missing = ports().shell().shellExecute(kNoWindow, L"open", L"C:\\none.bat", L"", L"", 0);
    });
    EXPECT_EQ(programFiles, c.programFiles);
    EXPECT_EQ(windowsFolder, L"C:\\Windows");
    EXPECT_EQ(own, c.nativeDriverDirectory);
    EXPECT_EQ(x64Error, c.is64Bit ? kErrorSuccess : kErrorInvalidEnvironment);
    EXPECT_GT(started, kShellExecuteErrorLimit);
    EXPECT_EQ(missing, kSeErrFileNotFound);
    ASSERT_EQ(machine.launches().size(), 1U);
    EXPECT_EQ(machine.launches()[0].parameters, L"-x");
  }
}

TEST(SimShell, MissingProgramFilesFolderIsAnError) {
  MachineConfig config;
  config.files = std::vector<FileEntry>{{L"C:\\Windows", true, 0, {}}};
  Machine machine(config);
  Dword hresult = 0;
  runInProcess(machine, [&] {
    hresult = ports().shell().shGetFolderPath(kCsidlProgramFiles, kShgfpTypeCurrent).error();
  });
  EXPECT_EQ(hresult, kHresultFileNotFound);
}

}  // namespace
}  // namespace plat::sim
