#pragma once
// Merges glyph images into the caller's 32-bit canvas by a per-channel maximum (not alpha
// blending: the canvas starts transparent black and glyphs only ever add ink), and draws
// underline and strike-out.
#include <cstddef>
#include <cstdint>

#include <optional>

#include "text/GlyphImage.h"
#include "text/StyledText.h"

namespace Orb {

/// Byte orders of a canvas pixel, by the code the owner passes.
enum PixelFormat : std::uint32_t { kRGBA = 0, kARGB = 1, kBGRA = 2, kABGR = 3 };

/// The caller's buffer: `height` rows of `stride` pixels, 4 bytes each, `width` of them in
/// use. Not owned.
struct Canvas {
  std::uint8_t* pixels = nullptr;
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  std::uint32_t stride = 0;
};

/// A rectangle of canvas pixels, right and bottom exclusive.
struct PixelRect {
  std::int64_t left = 0;
  std::int64_t top = 0;
  std::int64_t right = 0;
  std::int64_t bottom = 0;
};

/// How one glyph is coloured and lined.
struct GlyphPaint {
  Colour fill;
  Colour outline;
  bool underline = false;
  bool strikeOut = false;
  /// The face's underline position at the glyph's size, whole pixels (negative = below
  /// the baseline); the strike-out is its mirror above.
  std::int64_t lineOffset = 0;
};

/// Where `image` lands with its origin at (`penX`, `baseline`): a glyph reaching above the
/// canvas is moved down to row 0; nothing when it does not fit otherwise.
std::optional<PixelRect> placeGlyph(const GlyphImage& image, std::int64_t penX,
                                    std::int64_t baseline, const Canvas& canvas);

/// Draws `image` where placeGlyph() puts it, in `paint`'s colours, with the underline
/// beneath and the strike-out above it spanning the advance. A glyph that does not fit is
/// refused whole (false, nothing drawn). On true `drawn` is where the image went. Format
/// codes above 3 draw nothing, yet the glyph counts as placed.
/// With `painted` (the copy kept beside a cached image) the image is drawn through it,
/// painted first when it was made for other colours or another byte order: the same
/// bytes, at a fraction of the cost for an image drawn again and again.
bool compositeGlyph(const GlyphPaint& paint, std::uint32_t pixelFormat, const GlyphImage& image,
                    std::int64_t penX, std::int64_t baseline, const Canvas& canvas,
                    PixelRect& drawn, PaintedGlyph* painted = nullptr);

/// Draws the part of `image` that falls on the canvas, its top-left pixel at (`left`,
/// `top`), in `paint`'s colours by a per-channel maximum (no lines). False when none of
/// it does. `painted` as for compositeGlyph.
bool compositeClipped(const GlyphPaint& paint, std::uint32_t pixelFormat, const GlyphImage& image,
                      std::int64_t left, std::int64_t top, const Canvas& canvas,
                      PaintedGlyph* painted = nullptr);

/// Sets the pixels of `area`, clipped to the canvas, to `colour` with alpha 255.
void fillSpan(std::uint32_t pixelFormat, Colour colour, PixelRect area, const Canvas& canvas);

}  // namespace Orb
