#pragma once
// The pen walk: left-aligned lines, a break at U+000A and wherever the next glyph would
// cross the right limit (no word boundaries, no kerning). The owner positions the
// returned box in its frame.
#include <cstdint>

#include "text/Compositor.h"
#include "text/RenderContext.h"

namespace Orb {

/// Edges of what was drawn, right and bottom exclusive. When nothing was drawn `drawn`
/// is false and the edges keep their starting values (left = canvas width, right = 0,
/// and likewise vertically).
struct DrawnBox {
  std::uint32_t xMin = 0;
  std::uint32_t xMax = 0;
  std::uint32_t yMin = 0;
  std::uint32_t yMax = 0;
  bool drawn = false;
};

/// Lays the loaded text out in a maxWidth × maxHeight area centred in `canvas` (which is
/// 1.5 times that size and cleared) and draws it in the style stack's styles.
DrawnBox layOutText(RenderContext& context, std::uint32_t pixelFormat, std::uint32_t maxWidth,
                    std::uint32_t maxHeight, const Canvas& canvas);

}  // namespace Orb
