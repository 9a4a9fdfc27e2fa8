// An open registry key that closes itself.
#pragma once

#include <string>
#include <utility>

#include "platform/api/registry_port.h"

namespace plat {

class RegistryKey {
 public:
  RegistryKey() = default;
  RegistryKey(RegistryPort& port, RegKey key) : port_(&port), key_(key) {}
  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;
  RegistryKey(RegistryKey&& other) noexcept
      : port_(other.port_), key_(std::exchange(other.key_, kNoRegKey)) {}
  RegistryKey& operator=(RegistryKey&& other) noexcept {
    if (this != &other) {
      reset();
      port_ = other.port_;
      key_ = std::exchange(other.key_, kNoRegKey);
    }
    return *this;
  }
  ~RegistryKey() { reset(); }

  // RegOpenKeyExW / RegCreateKeyExW; `error` receives the call's result.
  static RegistryKey open(RegistryPort& port, RegKey parent, const std::wstring& subKey,
                          Dword access, Dword& error) {
    return adopt(port, port.regOpenKeyEx(parent, subKey, access), error);
  }
  static RegistryKey create(RegistryPort& port, RegKey parent, const std::wstring& subKey,
                            Dword access, Dword& error) {
    return adopt(port, port.regCreateKeyEx(parent, subKey, access), error);
  }

  [[nodiscard]] RegKey get() const { return key_; }
  explicit operator bool() const { return key_ != kNoRegKey; }

  void reset() {
    if (key_ != kNoRegKey) port_->regCloseKey(std::exchange(key_, kNoRegKey));
  }

 private:
  static RegistryKey adopt(RegistryPort& port, const RegOpenResult& result, Dword& error) {
    error = result.error;
    return result.error == kErrorSuccess ? RegistryKey(port, result.key) : RegistryKey();
  }

  RegistryPort* port_ = nullptr;
  RegKey key_ = kNoRegKey;
};

}  // namespace plat
