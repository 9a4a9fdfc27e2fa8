// The id of a simulated process, by which the models know who holds a
// handle.
#pragma once

#include <cstdint>

namespace plat::sim {

using ProcessId = std::uint32_t;

}  // namespace plat::sim
