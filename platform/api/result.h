// The answer of a platform call: a value, or the error code of the call.
//
// The code is the one the real call reports: a Win32 error code (what
// GetLastError or the call's return value gives) unless the port method says
// otherwise (a CONFIGRET, an HRESULT, a Windows Sockets code). A few calls
// hand data back together with their failure (the size a value needs, the
// INF that is already staged); their failures carry a value too, and the
// port method says when.
#pragma once

#include <cstdlib>
#include <optional>
#include <utility>

#include "platform/api/types.h"

namespace plat {

// A failed call's code; never kErrorSuccess.
struct Failure {
  Dword code = kErrorInvalidFunction;
};

template <class T>
class [[nodiscard]] Result {
 public:
  // NOLINTBEGIN(google-explicit-constructor): results convert from what a
  // port method returns, as `return value;` and `return Failure{code};`.
  Result(T value) : value_(std::move(value)) {}
  Result(Failure failure) : error_(failureCode(failure)) {}
  // NOLINTEND(google-explicit-constructor)
  // A failure that hands data back.
  Result(Failure failure, T detail) : value_(std::move(detail)), error_(failureCode(failure)) {}

  [[nodiscard]] bool ok() const { return error_ == kErrorSuccess; }
  explicit operator bool() const { return ok(); }
  // kErrorSuccess on success.
  [[nodiscard]] Dword error() const { return error_; }

  // The value: always there on success, on failure only where the port
  // method says so. Asking for a value that is not there ends the program.
  [[nodiscard]] bool hasValue() const { return value_.has_value(); }
  T& value() & { return checked(value_); }
  const T& value() const& { return checked(value_); }
  T&& value() && { return std::move(checked(value_)); }
  T& operator*() & { return checked(value_); }
  const T& operator*() const& { return checked(value_); }
  T* operator->() { return &checked(value_); }
  const T* operator->() const { return &checked(value_); }

  // The value on success, `fallback` otherwise.
  [[nodiscard]] T valueOr(T fallback) const& { return ok() ? *value_ : std::move(fallback); }
  [[nodiscard]] T valueOr(T fallback) && { return ok() ? std::move(*value_) : std::move(fallback); }

 private:
  template <class Optional>
  static auto& checked(Optional& value) {
    if (!value) std::abort();
    return *value;
  }
  // A call that failed without a code is still a failure, never a success.
  static Dword failureCode(Failure failure) {
    return failure.code != kErrorSuccess ? failure.code : kErrorInvalidFunction;
  }

  std::optional<T> value_;
  Dword error_ = kErrorSuccess;
};

}  // namespace plat
