// The system port of a simulated process: module and command line, version
// facts, languages, mutexes, threads, waits and sleeps on the virtual clock,
// the local time and the process token.
#include "platform/sim/ports/sim_system_port.h"

#include "platform/sim/sim_process.h"

namespace plat::sim {

std::wstring SimSystemPort::moduleFileName() {
  std::scoped_lock lock(process_.machine.mutex);
  return process_.directory + L"\\" + process_.image.name;
}

std::wstring SimSystemPort::commandLineArguments() {
  return process_.arguments;
}

Result<OsVersionInfo> SimSystemPort::getVersionEx() {
  std::scoped_lock lock(process_.machine.mutex);
  if (const auto fault = process_.machine.takeFault("GetVersionExW")) return Failure{*fault};
  return process_.reportedVersion();
}

Wow64Query SimSystemPort::isWow64Process() {
  std::scoped_lock lock(process_.machine.mutex);
  const OsProfile& os = process_.machine.config.os;
  Wow64Query query;
  query.functionPresent = os.hasIsWow64Process;
  if (!query.functionPresent) return query;
  if (const auto fault = process_.machine.takeFault("IsWow64Process")) {
    (void)fault;
    return query;
  }
  query.callSucceeded = true;
  query.value = os.is64Bit && !process_.image.is64Bit ? 1 : 0;
  return query;
}

LangId SimSystemPort::getUserDefaultUiLanguage() {
  std::scoped_lock lock(process_.machine.mutex);
  return process_.machine.config.os.userUiLanguage;
}

LangId SimSystemPort::getThreadUiLanguage() {
  std::scoped_lock lock(process_.machine.mutex);
  const SimThread* thread = currentThread();
  return thread->uiLanguage != 0 ? thread->uiLanguage : process_.machine.config.os.userUiLanguage;
}

LangId SimSystemPort::setThreadUiLanguage(LangId lang) {
  std::scoped_lock lock(process_.machine.mutex);
  if (process_.machine.takeFault("SetThreadUILanguage")) return 0;
  currentThread()->uiLanguage = lang;
  return lang;
}

Lcid SimSystemPort::getThreadLocale() {
  std::scoped_lock lock(process_.machine.mutex);
  const SimThread* thread = currentThread();
  return thread->locale != 0 ? thread->locale : process_.machine.config.os.userLocale;
}

bool SimSystemPort::setThreadLocale(Lcid locale) {
  std::scoped_lock lock(process_.machine.mutex);
  if (process_.machine.takeFault("SetThreadLocale")) return false;
  currentThread()->locale = locale;
  return true;
}

Result<CreatedMutex> SimSystemPort::createMutex(bool initialOwner, const std::wstring& name) {
  std::scoped_lock lock(process_.machine.mutex);
  MachineState& machine = process_.machine;
  if (const auto fault = machine.takeFault("CreateMutexW")) return Failure{*fault};
  if (!name.empty()) {
    const auto found = machine.namedMutexes.find(name);
    if (found != machine.namedMutexes.end()) {
      if (auto existing = found->second.lock()) {
        return CreatedMutex{process_.addHandle(existing), true};
      }
    }
  }
  auto mutex = std::make_shared<MutexObject>();
  mutex->name = name;
  if (initialOwner) {
    mutex->owner = currentThread();
    mutex->recursion = 1;
  }
  if (!name.empty()) machine.namedMutexes[name] = mutex;
  return CreatedMutex{process_.addHandle(mutex), false};
}

bool SimSystemPort::closeHandle(KernelHandle handle) {
  std::scoped_lock lock(process_.machine.mutex);
  const bool closed = process_.handles.erase(handle) != 0;
  process_.machine.changed();
  return closed;
}

KernelHandle SimSystemPort::createThread(std::function<Dword()> body) {
  std::scoped_lock lock(process_.machine.mutex);
  if (process_.machine.takeFault("CreateThread")) return kNoHandle;
  auto object = std::make_shared<ThreadObject>();
  object->thread = &process_.machine.startThread(process_, std::move(body));
  return process_.addHandle(object);
}

Dword SimSystemPort::waitForSingleObject(KernelHandle handle, Dword milliseconds) {
  std::unique_lock lock(process_.machine.mutex);
  MachineState& machine = process_.machine;
  const auto found = process_.handles.find(handle);
  if (found == process_.handles.end()) return kWaitFailed;
  const std::shared_ptr<KernelObject> object = found->second;
  std::optional<std::uint64_t> deadline;
  if (milliseconds != kInfinite) deadline = machine.now + milliseconds;
  SimThread* self = currentThread();
  if (auto* thread = dynamic_cast<ThreadObject*>(object.get())) {
    const std::function<bool()> done = [thread] { return thread->thread->finished; };
    return machine.block(lock, done, deadline) ? kWaitObject0 : kWaitTimeout;
  }
  if (auto* mutex = dynamic_cast<MutexObject*>(object.get())) {
    const std::function<bool()> free = [mutex, self] {
      return mutex->owner == nullptr || mutex->owner == self;
    };
    if (!machine.block(lock, free, deadline)) return kWaitTimeout;
    mutex->owner = self;
    ++mutex->recursion;
    return kWaitObject0;
  }
  return kWaitFailed;
}

std::optional<Dword> SimSystemPort::getExitCodeThread(KernelHandle handle) {
  std::scoped_lock lock(process_.machine.mutex);
  const auto found = process_.handles.find(handle);
  if (found == process_.handles.end()) return std::nullopt;
  auto* thread = dynamic_cast<ThreadObject*>(found->second.get());
  if (thread == nullptr) return std::nullopt;
  constexpr Dword kStillActive = 259;
  return thread->thread->finished ? thread->thread->exitCode : kStillActive;
}

void SimSystemPort::sleep(Dword milliseconds) {
  std::unique_lock lock(process_.machine.mutex);
  const std::function<bool()> never = [] { return false; };
  process_.machine.block(lock, never, process_.machine.now + milliseconds);
}

Dword SimSystemPort::getTickCount() {
  std::scoped_lock lock(process_.machine.mutex);
  return static_cast<Dword>(process_.machine.now);
}

LocalTime SimSystemPort::getLocalTime() {
  std::scoped_lock lock(process_.machine.mutex);
  const std::uint64_t seconds =
      process_.machine.config.os.localTimeAtStart + process_.machine.now / 1000;
  // Days since 1970-01-01 to the civil date (proleptic Gregorian calendar).
  const std::int64_t days = static_cast<std::int64_t>(seconds / 86'400) + 719'468;
  const std::int64_t era = days / 146'097;
  const std::int64_t dayOfEra = days - era * 146'097;
  const std::int64_t yearOfEra =
      (dayOfEra - dayOfEra / 1460 + dayOfEra / 36'524 - dayOfEra / 146'096) / 365;
  const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const std::int64_t monthIndex = (5 * dayOfYear + 2) / 153;
  const std::int64_t month = monthIndex < 10 ? monthIndex + 3 : monthIndex - 9;
  const std::int64_t year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
  const std::uint64_t secondOfDay = seconds % 86'400;
  auto word = [](auto value) { return static_cast<std::uint16_t>(value); };
  return {word(year),
          word(month),
          word(dayOfYear - (153 * monthIndex + 2) / 5 + 1),
          word(secondOfDay / 3600),
          word(secondOfDay / 60 % 60),
          word(secondOfDay % 60)};
}

namespace {

// A process token, with the rights its handle was opened for.
struct TokenObject : KernelObject {
  Dword access = 0;
};

// SE_LOAD_DRIVER_PRIVILEGE's LUID.
constexpr std::uint64_t kLoadDriverLuid = 10;

}  // namespace

Result<KernelHandle> SimSystemPort::openProcessToken(Dword access) {
  std::scoped_lock lock(process_.machine.mutex);
  if (const auto fault = process_.machine.takeFault("OpenProcessToken")) return Failure{*fault};
  auto token = std::make_shared<TokenObject>();
  token->access = access;
  return process_.addHandle(token);
}

Result<std::uint64_t> SimSystemPort::lookupPrivilegeValue(const std::wstring& name) {
  std::scoped_lock lock(process_.machine.mutex);
  if (const auto fault = process_.machine.takeFault("LookupPrivilegeValueW"))
    return Failure{*fault};
  if (name != kSeLoadDriverName) return Failure{kErrorNoSuchPrivilege};
  return kLoadDriverLuid;
}

Dword SimSystemPort::adjustTokenPrivileges(KernelHandle token, std::uint64_t luid,
                                           Dword attributes) {
  std::scoped_lock lock(process_.machine.mutex);
  if (const auto fault = process_.machine.takeFault("AdjustTokenPrivileges")) return *fault;
  const auto found = process_.handles.find(token);
  const auto* object =
      found == process_.handles.end() ? nullptr : dynamic_cast<TokenObject*>(found->second.get());
  if (object == nullptr) return kErrorInvalidHandle;
  if ((object->access & kTokenAdjustPrivileges) == 0) return kErrorAccessDenied;
  // Only an administrator's token holds the load-driver privilege. Nothing
  // in the simulated machine depends on it being on; the machine only
  // tells whether it is.
  const bool held = luid == kLoadDriverLuid && process_.machine.config.os.isAdministrator;
  const bool enable = (attributes & kSePrivilegeEnabled) != 0;
  if (held && enable) process_.enabledPrivileges.insert(kSeLoadDriverName);
  if (held && !enable) process_.enabledPrivileges.erase(kSeLoadDriverName);
  return held || !enable ? kErrorSuccess : kErrorNotAllAssigned;
}

}  // namespace plat::sim
