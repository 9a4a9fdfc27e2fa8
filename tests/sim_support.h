// Helpers for tests that run code inside a process of a simulated machine.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/api/ports.h"
#include "platform/api/result.h"
#include "platform/sim/machine.h"
#include "tools/simhost/simhost.h"

namespace brisvane::testing {

// Runs `body` as the main thread of a process that carries Brisvane's
// resources and image facts, and waits until the machine settles.
inline plat::sim::ProcessId runInProcess(plat::sim::Machine& machine, std::function<void()> body,
                                         bool declaresSupportedOs = false) {
  static int counter = 0;
  plat::sim::ProgramImage image = simhost::brisvaneImage();
  image.name = L"probe" + std::to_wstring(++counter) + L".exe";
  image.declaresSupportedOs = declaresSupportedOs;
  image.entry = [body = std::move(body)] {
    body();
    return 0;
  };
  const std::wstring name = image.name;
  machine.installProgram(std::move(image));
  const plat::sim::ProcessId id = machine.startProcess(name, L"");
  machine.settle();
  return id;
}

// The entries of the engine log "Brisvane.log" in the current directory of
// processes started with the default directory (UTF-16LE, FF FE, CR LF).
inline std::vector<std::wstring> engineLogEntries(const plat::sim::Machine& machine) {
  std::vector<std::wstring> entries;
  const auto file = machine.file(L"C:\\Users\\User\\Desktop\\Brisvane.log");
  if (!file) return entries;
  std::wstring text;
  const auto& bytes = file->contents;
  for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
    text += static_cast<wchar_t>(bytes[i] | (bytes[i + 1] << 8U));
  }
  for (std::size_t start = 0; start < text.size();) {
    const std::size_t end = text.find(L"\r\n", start);
    entries.push_back(text.substr(start, end - start));
    if (end == std::wstring::npos) break;
    start = end + 2;
  }
  return entries;
}

// The bytes of the calling program's DRVFILE resource `id`; empty without
// one.
inline std::vector<std::uint8_t> drvFileResource(std::uint16_t id) {
  plat::ResourcePort& resources = plat::ports().resources();
  const plat::ResourceHandle handle = resources.findResource(id, L"DRVFILE");
  const std::uint8_t* data = resources.loadResource(handle);
  if (data == nullptr) return {};
  return {data, data + resources.sizeofResource(handle)};
}

inline plat::sim::MachineConfig machineWithLanguage(plat::LangId language) {
  plat::sim::MachineConfig config;
  config.os.userUiLanguage = language;
  config.os.userLocale = language;
  return config;
}

// GetLastError right after CreateFileW or CreateMutexW: the failure's code,
// ERROR_ALREADY_EXISTS when the object was there before, else 0.
template <class Created>
plat::Dword lastErrorOf(const plat::Result<Created>& created) {
  if (!created) return created.error();
  return created->existed ? plat::kErrorAlreadyExists : plat::kErrorSuccess;
}

}  // namespace brisvane::testing
