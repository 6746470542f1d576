#pragma once
// The pixel sizes text is drawn at. FreeType refuses 0, and a glyph larger than the top of
// this range cannot fit in the canvas of any frame up to 4K while its raster would cost
// megabytes, so every size the owner sets or markup reaches is kept within it.
#include <algorithm>
#include <cstdint>

namespace Orb {

constexpr std::int32_t kMinPixelSize = 1;
constexpr std::int32_t kMaxPixelSize = 1024;

/// `size` clamped to kMinPixelSize..kMaxPixelSize.
constexpr std::int32_t boundPixelSize(std::int64_t size) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(size, kMinPixelSize, kMaxPixelSize));
}

}  // namespace Orb
