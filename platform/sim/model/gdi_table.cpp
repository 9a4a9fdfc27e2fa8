#include "platform/sim/model/gdi_table.h"

namespace plat::sim {

GdiObject GdiTable::add(GdiValue value) {
  const GdiObject id = next_;
  next_ += 4;
  objects_.emplace(id, std::move(value));
  return id;
}

GdiObject GdiTable::stockBrush(int id) {
  for (const auto& [object, shared] : shared_) {
    const auto* brush = find<StockBrush>(object);
    if (brush != nullptr && brush->id == id) return object;
  }
  const GdiObject object = add(StockBrush{id});
  shared_[object] = true;
  return object;
}

GdiObject GdiTable::cursor(std::uint32_t id) {
  for (const auto& [object, shared] : shared_) {
    const auto* c = find<SystemCursor>(object);
    if (c != nullptr && c->id == id) return object;
  }
  const GdiObject object = add(SystemCursor{id});
  shared_[object] = true;
  return object;
}

bool GdiTable::isStock(GdiObject object) const {
  return shared_.count(object) != 0;
}

}  // namespace plat::sim
