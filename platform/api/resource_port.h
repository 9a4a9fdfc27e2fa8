// The program's own resources.
#pragma once

#include <cstdint>
#include <string>

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
};

}  // namespace plat
