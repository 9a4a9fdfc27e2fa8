// The owner of one handle of a port: it closes the handle with the port's
// closing call when it goes out of scope. Every kind of handle the system
// opens (printers, registry keys, services, device sets, files, kernel
// objects) is owned through this one template.
#pragma once

#include <utility>

#include "platform/api/result.h"

namespace plat {

// `kNone` is the value that owns nothing; `Close` is the port's member
// function that closes an `Id` (its result is not looked at: a close that
// fails leaves nothing the caller could do).
template <class Port, class Id, Id kNone, auto Close>
class UniqueHandle {
 public:
  UniqueHandle() = default;
  UniqueHandle(Port& port, Id id) : port_(&port), id_(id) {}
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept
      : port_(other.port_), id_(std::exchange(other.id_, kNone)) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) {
      reset();
      port_ = other.port_;
      id_ = std::exchange(other.id_, kNone);
    }
    return *this;
  }
  ~UniqueHandle() { reset(); }

  // Owns what an opening call returned, or passes its failure on.
  static Result<UniqueHandle> adopt(Port& port, const Result<Id>& opened) {
    if (!opened) return Failure{opened.error()};
    return UniqueHandle(port, *opened);
  }

  [[nodiscard]] Id get() const { return id_; }
  explicit operator bool() const { return id_ != kNone; }

  void reset() {
    // An owner made without a port owns nothing.
    if (id_ != kNone && port_ != nullptr) {
      static_cast<void>((port_->*Close)(std::exchange(id_, kNone)));
    }
  }

 private:
  Port* port_ = nullptr;
  Id id_ = kNone;
};

}  // namespace plat
