// GDI and USER objects of the simulated machine: fonts, bitmaps, icons,
// cursors and stock brushes.
#pragma once

#include <map>
#include <optional>
#include <variant>

#include "platform/api/canvas.h"
#include "platform/sim/image.h"

namespace plat::sim {

struct StockBrush {
  int id = 0;
};
struct SystemCursor {
  std::uint32_t id = 0;
};
using GdiValue = std::variant<FontSpec, Image, IconPixels, SystemCursor, StockBrush>;

class GdiTable {
 public:
  GdiObject add(GdiValue value);
  // Removes an object of kind T; false for another kind or an unknown one.
  template <class T>
  bool remove(GdiObject object) {
    const auto found = objects_.find(object);
    if (found == objects_.end() || !std::holds_alternative<T>(found->second) || isStock(object)) {
      return false;
    }
    objects_.erase(found);
    return true;
  }
  template <class T>
  const T* find(GdiObject object) const {
    const auto found = objects_.find(object);
    return found == objects_.end() ? nullptr : std::get_if<T>(&found->second);
  }
  GdiObject stockBrush(int id);
  GdiObject cursor(std::uint32_t id);
  // Objects made by the programs and not yet deleted (stock objects and
  // system cursors do not count).
  [[nodiscard]] std::size_t liveObjects() const { return objects_.size() - shared_.size(); }

 private:
  [[nodiscard]] bool isStock(GdiObject object) const;
  std::map<GdiObject, GdiValue> objects_;
  std::map<GdiObject, bool> shared_;
  GdiObject next_ = 0x10000;
};

}  // namespace plat::sim
