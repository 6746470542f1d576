#pragma once
// Whole pixels from FreeType's 26.6 fixed point, rounded towards either side also for
// negative values (plain division would round those towards zero).
#include <cstdint>

namespace Orb {

/// The largest whole pixel not after `value` (26.6).
constexpr std::int64_t floorPixels(std::int64_t value) {
  return value >= 0 ? value / 64 : -((63 - value) / 64);
}

/// The smallest whole pixel not before `value` (26.6).
constexpr std::int64_t ceilPixels(std::int64_t value) { return -floorPixels(-value); }

}  // namespace Orb
