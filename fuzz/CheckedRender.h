#pragma once
// One renderSubtitle call into a canvas whose rows carry padding past the canvas width and
// start out dirty, with the checks every render must pass whatever its input: the padding
// stays cleared and untouched by drawing, and the reported box lies on the canvas.
#include <cstdint>
#include <string>
#include <vector>

#include "text/TextRendererInterface.h"

namespace QuillFuzz {

struct CheckedRender {
  bool rendered = false;
  std::uint32_t width = 0, height = 0, xOffset = 0, yOffset = 0, stride = 0;
  std::uint32_t canvasWidth = 0, canvasHeight = 0;  // as the renderer asked for them
  std::vector<std::uint8_t> pixels;                 // the whole buffer, stride pixels a row
};

/// Renders `text` in `pixelFormat` into a maxWidth × maxHeight area and checks the result;
/// a broken check aborts.
CheckedRender renderChecked(Orb::TextRendererInterface& renderer, std::uint32_t pixelFormat,
                            const std::string& text, std::uint32_t maxWidth,
                            std::uint32_t maxHeight);

/// For a render by the full layout into a maxWidth × maxHeight area: the canvas is within
/// the limits (1.5 × the width at most), the region and every line's ink (`laidOut`) inside
/// it. A broken check aborts.
void requireFullLayoutInsideItsCanvas(const CheckedRender& render, const Orb::LaidOutText& laidOut,
                                      std::uint32_t maxWidth, std::uint32_t maxHeight);

}  // namespace QuillFuzz
