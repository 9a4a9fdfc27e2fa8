// The program's own resources.
#pragma once

#include <cstdint>
#include <string>

#include "platform/api/types.h"

namespace plat {

class ResourcePort {
 public:
  ResourcePort() = default;
  ResourcePort(const ResourcePort&) = delete;
  ResourcePort& operator=(const ResourcePort&) = delete;
  virtual ~ResourcePort() = default;

  // LoadStringW: the text of string `id` in the calling thread's resource
  // language, with the loader's fallback; empty when no language has it.
  virtual std::wstring loadString(std::uint32_t id) = 0;

  // FindResourceW in the program's own module for an integer id and a type
  // name: a resource handle, or 0 when there is no such resource.
  virtual ResourceHandle findResource(std::uint16_t id, const std::wstring& type) = 0;
  // SizeofResource, and LoadResource with LockResource: the resource's
  // bytes, which live as long as the program; null on failure.
  virtual Dword sizeofResource(ResourceHandle resource) = 0;
  virtual const std::uint8_t* loadResource(ResourceHandle resource) = 0;
};

}  // namespace plat
