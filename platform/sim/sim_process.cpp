#include "platform/sim/sim_process.h"

#include <algorithm>

#include "platform/sim/text.h"

namespace plat::sim {

SimProcess::SimProcess(MachineState& machineState, ProcessId processId, ProgramImage programImage,
                       std::wstring args, std::wstring dir)
    : machine(machineState),
      id(processId),
      image(std::move(programImage)),
      arguments(std::move(args)),
      directory(std::move(dir)) {}

std::shared_ptr<void> SimProcess::processSlot(std::type_index type,
                                              std::shared_ptr<void> (*make)()) {
  std::unique_lock lock(machine.mutex);
  const auto found = slots.find(type);
  if (found != slots.end()) return found->second;
  lock.unlock();
  std::shared_ptr<void> made = make();
  lock.lock();
  return slots.try_emplace(type, std::move(made)).first->second;
}

std::vector<LangId> SimProcess::resourceLanguages(const SimThread& thread) const {
  // Windows XP picks resources by the thread locale; later versions by the
  // thread's UI language, which defaults to the user's. Then the loader
  // tries the neutral language, the user's UI language and English.
  const LangId user = machine.config.os.userUiLanguage;
  LangId first = 0;
  if (reportedVersion().majorVersion < 6) {
    first = static_cast<LangId>(thread.locale != 0 ? thread.locale : machine.config.os.userLocale);
  } else {
    first = thread.uiLanguage != 0 ? thread.uiLanguage : user;
  }
  return {first, 0, user, kLangEnglishUs};
}

OsVersionInfo SimProcess::reportedVersion() const {
  const OsProfile& os = machine.config.os;
  OsVersionInfo info{os.majorVersion, os.minorVersion, os.buildNumber, os.platformId,
                     os.productType};
  const bool after8 = os.majorVersion > 6 || (os.majorVersion == 6 && os.minorVersion > 2);
  if (after8 && !image.declaresSupportedOs) {
    info.majorVersion = 6;
    info.minorVersion = 2;
    info.buildNumber = 9200;
  }
  return info;
}

KernelHandle SimProcess::addHandle(std::shared_ptr<KernelObject> object) {
  const KernelHandle handle = machine.nextHandle;
  machine.nextHandle += 4;
  handles.emplace(handle, std::move(object));
  return handle;
}

void SimProcess::terminate(Dword code) {
  ended = true;
  exitCode = code;
  // Mutexes owned by the process's threads are abandoned with the process.
  for (auto& [handle, object] : handles) {
    if (auto* mutex = dynamic_cast<MutexObject*>(object.get());
        mutex != nullptr && mutex->owner != nullptr && mutex->owner->process == this) {
      mutex->owner = nullptr;
      mutex->recursion = 0;
    }
  }
  handles.clear();
  machine.registry.closeAll(id);
  machine.spooler.closeAll(id);
  machine.services.closeAll(id);
  machine.devices.closeAll(id);
  std::vector<WindowId> own;
  for (const auto& [windowId, window] : machine.windows) {
    if (window->process == this && window->parent == kNoWindow) own.push_back(windowId);
  }
  for (const WindowId windowId : own) machine.destroyWindow(windowId);
  machine.record(machine.describe(*this) + " ends with exit code " + std::to_string(code));
  machine.changed();
}

}  // namespace plat::sim
