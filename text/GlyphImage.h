#pragma once
// One character in one style as a small raster: per pixel the coverage (alpha), how much
// of it is outline and how much is body, so that compositing can colour both.
#include <cstdint>
#include <vector>

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_STROKER_H

#include "text/SharedFace.h"

namespace Orb {

/// What one glyph image is made from: a face at a pixel size with the transform and load
/// flags of the font record drawing it, and the glyph, chosen by character code through the
/// face's character map or by glyph index, outlined with a stroke of `strokeRadius`.
struct GlyphRequest {
  SharedFace* face = nullptr;  ///< borrowed; open for as long as the request is used
  std::int32_t size = 0;
  FT_Matrix transform{0x10000, 0, 0, 0x10000};
  FT_Int32 loadFlags = 0;
  std::uint32_t glyph = 0;  ///< a character code, or a glyph index when `byIndex`
  bool byIndex = false;
  FT_Fixed strokeRadius = 0;  ///< 26.6
  /// Placed by the bitmaps' own offsets (the full layout), rather than at the plain glyph's
  /// bearings with the body centred on the stroke (the classic layout).
  bool exact = false;
};

struct GlyphImage {
  /// `height` rows of `stride` bytes; 4 bytes per pixel: coverage, outline weight, fill
  /// weight and a byte that stays 0.
  std::vector<std::uint8_t> pixels;
  std::uint32_t stride = 0;
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  std::int32_t left = 0;     // bearing of the plain glyph, whole pixels
  std::int32_t top = 0;      // height of the plain glyph above the baseline, whole pixels
  std::int32_t advance = 0;  // whole pixels plus one, the only letter spacing

  static constexpr int kCoverage = 0;
  static constexpr int kOutline = 1;
  static constexpr int kFill = 2;
};

/// A glyph image as the canvas pixels it raises, in one style's colours and one byte order:
/// per pixel the value each colour channel is raised to and the coverage as alpha, so that
/// drawing it again is a bytewise maximum. Made by the compositor at a cached image's first
/// draw in those colours; `paint` says which (0: not made yet).
struct PaintedGlyph {
  std::vector<std::uint8_t> pixels;  // `height` rows of `width` pixels, no padding
  std::uint64_t paint = 0;
};

/// The stroke radius, in 26.6, used for a style of pixel size `size`.
constexpr FT_Fixed strokeRadius(std::int32_t size) { return static_cast<FT_Fixed>(size) + 100; }

/// Renders the glyph `request` asks for with its outline into `image`, stroking with
/// `stroker`. False when the face cannot load, stroke-free or render the glyph, when its
/// ink spans more than eight ems or 5760 pixels (a damaged or hostile font) or its raster
/// would not fit in memory; the character is then skipped.
bool buildGlyphImage(FT_Library library, FT_Stroker stroker, const GlyphRequest& request,
                     GlyphImage& image);

/// Renders a rectangle `width` × `height` (26.6, y downwards) whose top-left corner is at
/// (`left`, `top`) from the origin, outlined like a glyph, into `image` with exact
/// placement. False when it is empty or cannot be rendered.
bool buildRectangleImage(FT_Library library, FT_Stroker stroker, FT_Pos left, FT_Pos top,
                         FT_Pos width, FT_Pos height, FT_Fixed strokeRadius, GlyphImage& image);

}  // namespace Orb
