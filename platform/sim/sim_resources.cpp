// Raw resources of a simulated program: the file resources that rc2cpp
// embedded from its resource scripts.
#include "platform/sim/sim_files.h"
#include "platform/sim/sim_process.h"

namespace plat::sim {

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
