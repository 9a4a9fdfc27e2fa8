// The resource port of a simulated process: its string table, and the raw
// file resources that rc2cpp embedded from its resource scripts.
#include "platform/sim/ports/sim_resource_port.h"

#include <algorithm>

#include "platform/sim/model/file_system.h"
#include "platform/sim/sim_process.h"

namespace plat::sim {

std::wstring SimResourcePort::loadString(std::uint32_t id) {
  std::scoped_lock lock(process_.machine.mutex);
  const ResourceSet* resources = process_.image.resources;
  if (resources == nullptr) return {};
  for (const LangId lang : process_.resourceLanguages(*currentThread())) {
    for (const auto& s : resources->strings) {
      if (s.id == id && s.language == lang) return s.text;
    }
  }
  const auto any = std::find_if(resources->strings.begin(), resources->strings.end(),
                                [id](const StringResource& s) { return s.id == id; });
  return any == resources->strings.end() ? std::wstring() : any->text;
}

namespace {

const FileResource* resourceAt(const SimProcess& process, ResourceHandle handle) {
  const ResourceSet* resources = process.image.resources;
  if (resources == nullptr || handle == kNoResource || handle > resources->files.size()) {
    return nullptr;
  }
  return &resources->files[handle - 1];
}

}  // namespace

ResourceHandle SimResourcePort::findResource(std::uint16_t id, const std::wstring& type) {
  std::scoped_lock lock(process_.machine.mutex);
  if (process_.machine.takeFault("FindResourceW")) return kNoResource;
  const ResourceSet* resources = process_.image.resources;
  if (resources == nullptr) return kNoResource;
  // Type names are compared without regard to case, as the loader does.
  for (std::size_t i = 0; i < resources->files.size(); ++i) {
    const FileResource& file = resources->files[i];
    if (file.id == id && pathKey(file.type) == pathKey(type)) return i + 1;
  }
  return kNoResource;
}

Dword SimResourcePort::sizeofResource(ResourceHandle resource) {
  std::scoped_lock lock(process_.machine.mutex);
  const FileResource* file = resourceAt(process_, resource);
  return file != nullptr ? static_cast<Dword>(file->size) : 0;
}

const std::uint8_t* SimResourcePort::loadResource(ResourceHandle resource) {
  std::scoped_lock lock(process_.machine.mutex);
  if (process_.machine.takeFault("LoadResource")) return nullptr;
  const FileResource* file = resourceAt(process_, resource);
  return file != nullptr ? file->data : nullptr;
}

}  // namespace plat::sim
