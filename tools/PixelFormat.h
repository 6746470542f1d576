#pragma once
// The four byte orders the component can draw in, and the conversion of a drawn region
// to the straight RGBA the tool writes.
//
// The component merges the outline and body layers by weighted sums with coverage as
// alpha, so its colour channels are already multiplied by coverage (they never exceed
// alpha). Dividing them back out gives the straight colour an image viewer expects; a
// pixel with no alpha is fully transparent whatever colour bytes it carries.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "framework/FormatCodes.h"
#include "tools/RgbaImage.h"

namespace QuillRender {

/// The output port's format names, in the component's index order.
enum class PixelFormat : std::uint32_t {
  RGBA = Orb::PIXEL_FORMAT_RGBA,
  ARGB = Orb::PIXEL_FORMAT_ARGB,
  BGRA = Orb::PIXEL_FORMAT_BGRA,
  ABGR = Orb::PIXEL_FORMAT_ABGR,
};

/// "RGBA", "ARGB", "BGRA" or "ABGR", as the output port is created with.
const char* pixelFormatName(PixelFormat format);

/// The format named `name`, in any letter case; nullopt for any other name.
std::optional<PixelFormat> parsePixelFormat(const std::string& name);

/// A rectangle of buffer pixels: columns [left, left + width), rows [top, top + height).
struct PixelRegion {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

/// `region` cut to the whole rows and the columns that a canvas of `stridePixels` pixels
/// per row held in `blockBytes` bytes really has; empty (width or height 0) when nothing
/// of it is left.
PixelRegion clipToBlock(std::size_t blockBytes, int stridePixels, PixelRegion region);

/// Copies `region` of a canvas of `stridePixels` pixels per row in `format`, held in
/// the `blockBytes` bytes of `block`, as straight RGBA. The region is first clipped to
/// the whole rows and the columns the block really holds, so a region the component got
/// wrong can shrink the result (to nothing) but never read outside the block.
RgbaImage toStraightRgba(const std::uint8_t* block, std::size_t blockBytes, int stridePixels,
                         PixelFormat format, PixelRegion region);

}  // namespace QuillRender
