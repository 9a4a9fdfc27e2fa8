// The shell port of a simulated process: known folders and ShellExecute.
#include "platform/sim/ports/sim_shell_port.h"

#include "platform/sim/ports/sim_file_port.h"
#include "platform/sim/sim_process.h"
#include "platform/sim/text.h"

namespace plat::sim {

namespace {

constexpr std::intptr_t kShellExecuteSuccess = 42;
constexpr Dword kEInvalidArg = 0x80070057U;

std::string showName(int command) {
  switch (command) {
    case kSwHide:
      return "hidden";
    case kSwShowMinimized:
      return "minimised";
    default:
      return "shown";
  }
}

// HRESULT_FROM_WIN32 for an injected error code; HRESULTs pass as they are.
Dword hresultOf(Dword error) {
  constexpr Dword kFacilityWin32 = 0x80070000U;
  return (error & 0x80000000U) != 0 ? error : (kFacilityWin32 | (error & 0xFFFFU));
}

}  // namespace

Result<std::wstring> SimShellPort::shGetFolderPath(int csidl, Dword flags) {
  (void)flags;
  std::scoped_lock lock(process_.machine.mutex);
  const MachineState& machine = process_.machine;
  if (const auto fault = process_.machine.takeFault("SHGetFolderPathW")) {
    return Failure{hresultOf(*fault)};
  }
  std::wstring path;
  if (csidl == kCsidlWindows) {
    path = L"C:\\Windows";
  } else if (csidl == kCsidlSystem) {
    // The same name for every process, as GetSystemDirectoryW gives it:
    // WOW64 redirects the accesses, not the name.
    path = L"C:\\Windows\\System32";
  } else if (csidl == kCsidlProgramFiles) {
    // A 32-bit process on 64-bit Windows is given the 32-bit folder.
    const bool wow64 = machine.config.os.is64Bit && !process_.image.is64Bit;
    path = wow64 ? L"C:\\Program Files (x86)" : L"C:\\Program Files";
  } else {
    return Failure{kEInvalidArg};
  }
  // The folder is verified: a missing one is an error.
  const FileSystem::Node* node = machine.disk.find(path);
  if (node == nullptr || !node->entry.isFolder) return Failure{kHresultFileNotFound};
  return node->entry.path;
}

std::intptr_t SimShellPort::shellExecute(WindowId owner, const std::wstring& verb,
                                         const std::wstring& file, const std::wstring& parameters,
                                         const std::wstring& directory, int showCommand) {
  (void)owner;
  std::scoped_lock lock(process_.machine.mutex);
  MachineState& machine = process_.machine;
  const std::string who = machine.describe(process_);
  if (const auto fault = machine.takeFault("ShellExecuteW")) {
    machine.record(who + " cannot start \"" + toUtf8(file) + "\"");
    return static_cast<std::intptr_t>(*fault);
  }
  // A web address goes to the browser.
  if (file.rfind(L"http://", 0) == 0 || file.rfind(L"https://", 0) == 0) {
    machine.record(who + " opens \"" + toUtf8(file) + "\" (" + toUtf8(verb) + ")");
    machine.launches.push_back({process_.id, verb, file, parameters, directory, showCommand});
    return kShellExecuteSuccess;
  }
  const auto full = resolvePath(process_, file);
  const FileSystem::Node* node = full ? machine.disk.find(*full) : nullptr;
  if (node == nullptr || node->entry.isFolder) {
    machine.record(who + " cannot start \"" + toUtf8(file) + "\": no such file");
    return kSeErrFileNotFound;
  }
  machine.record(who + " starts \"" + toUtf8(node->entry.path) + "\" with \"" + toUtf8(parameters) +
                 "\" (" + toUtf8(verb) + ", " + showName(showCommand) + ")");
  machine.launches.push_back(
      {process_.id, verb, node->entry.path, parameters, directory, showCommand});
  return kShellExecuteSuccess;
}

}  // namespace plat::sim
