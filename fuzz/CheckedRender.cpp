#include "fuzz/CheckedRender.h"

#include "fuzz/FuzzCheck.h"

namespace QuillFuzz {

namespace {

constexpr std::uint32_t kRowPadding = 3;  // pixels past the canvas width in every row
constexpr std::uint8_t kDirt = 0xAB;

bool allocate(std::uint32_t width, std::uint32_t height, std::uint32_t planes,
              std::uint8_t** buffer, std::size_t* byteLength, std::uint32_t* stride,
              void* data) {
  auto* render = static_cast<CheckedRender*>(data);
  require(planes == 1, "one plane asked for");
  render->canvasWidth = width;
  render->canvasHeight = height;
  render->stride = width + kRowPadding;
  render->pixels.assign(static_cast<std::size_t>(render->stride) * 4 * height, kDirt);
  *buffer = render->pixels.data();
  *byteLength = render->pixels.size();
  *stride = render->stride;
  return true;
}

void checkPaddingClear(const CheckedRender& render) {
  const std::size_t rowBytes = static_cast<std::size_t>(render.stride) * 4;
  for (std::uint32_t row = 0; row < render.canvasHeight; ++row) {
    for (std::size_t at = std::size_t{render.canvasWidth} * 4; at < rowBytes; ++at) {
      require(render.pixels[row * rowBytes + at] == 0, "row padding cleared and not drawn on");
    }
  }
}

}  // namespace

CheckedRender renderChecked(Orb::TextRendererInterface& renderer, std::uint32_t pixelFormat,
                            const std::string& text, std::uint32_t maxWidth,
                            std::uint32_t maxHeight) {
  CheckedRender render;
  render.rendered = renderer.renderSubtitle(pixelFormat, text.data(), text.size(), maxWidth,
                                            maxHeight, &render.width, &render.height,
                                            &render.xOffset, &render.yOffset, &render.stride,
                                            &allocate, &render);
  if (!render.rendered) return render;
  require(!render.pixels.empty(), "a render that succeeded had a canvas");
  checkPaddingClear(render);
  if (render.width == 0 || render.height == 0) {
    require(render.width == 0 && render.height == 0 && render.xOffset == 0 &&
                render.yOffset == 0,
            "an empty box is all zeros");
    return render;
  }
  // The box's right and bottom edges are exclusive and it is one pixel larger than the
  // drawn union, so it may end one pixel past the canvas but never further.
  require(std::uint64_t{render.xOffset} + render.width <= std::uint64_t{render.canvasWidth} + 1,
          "box within the canvas width");
  require(std::uint64_t{render.yOffset} + render.height <= std::uint64_t{render.canvasHeight} + 1,
          "box within the canvas height");
  return render;
}

void requireFullLayoutInsideItsCanvas(const CheckedRender& render, const Orb::LaidOutText& laidOut,
                                      std::uint32_t maxWidth, std::uint32_t maxHeight) {
  if (!render.rendered) return;
  require(render.canvasWidth <= maxWidth + maxWidth / 2 && render.canvasHeight <= maxHeight,
          "the full layout's canvas within the limits");
  require(std::uint64_t{render.xOffset} + render.width <= render.canvasWidth &&
              std::uint64_t{render.yOffset} + render.height <= render.canvasHeight,
          "the full layout's region inside its canvas");
  for (const Orb::LaidOutLine& line : laidOut.lines) {
    if (line.ink.empty()) continue;
    require(line.ink.left >= 0 && line.ink.top >= 0 &&
                line.ink.right <= static_cast<std::int64_t>(render.canvasWidth) &&
                line.ink.bottom <= static_cast<std::int64_t>(render.canvasHeight),
            "every line's ink inside the canvas");
  }
}

}  // namespace QuillFuzz
