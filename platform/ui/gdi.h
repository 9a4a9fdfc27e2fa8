// GDI and USER objects that release themselves: fonts and bitmaps with
// DeleteObject, icons with DestroyIcon.
#pragma once

#include <utility>

#include "platform/api/ports.h"

namespace plat::ui {

struct DeleteObjectRelease {
  static void release(GdiObject object) { ports().windows().deleteObject(object); }
};
struct DestroyIconRelease {
  static void release(GdiObject object) { ports().windows().destroyIcon(object); }
};

template <class Release>
class OwnedGdiObject {
 public:
  OwnedGdiObject() = default;
  explicit OwnedGdiObject(GdiObject object) : object_(object) {}
  OwnedGdiObject(const OwnedGdiObject&) = delete;
  OwnedGdiObject& operator=(const OwnedGdiObject&) = delete;
  OwnedGdiObject(OwnedGdiObject&& other) noexcept
      : object_(std::exchange(other.object_, kNoObject)) {}
  OwnedGdiObject& operator=(OwnedGdiObject&& other) noexcept {
    if (this != &other) reset(std::exchange(other.object_, kNoObject));
    return *this;
  }
  ~OwnedGdiObject() { reset(); }

  void reset(GdiObject object = kNoObject) {
    if (object_ != kNoObject) Release::release(object_);
    object_ = object;
  }
  [[nodiscard]] GdiObject get() const { return object_; }
  explicit operator bool() const { return object_ != kNoObject; }

 private:
  GdiObject object_ = kNoObject;
};

using Font = OwnedGdiObject<DeleteObjectRelease>;
using Bitmap = OwnedGdiObject<DeleteObjectRelease>;
using Icon = OwnedGdiObject<DestroyIconRelease>;

}  // namespace plat::ui
