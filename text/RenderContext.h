#pragma once
// The renderer's private state: one FreeType library and stroker, the open faces and the
// glyph images kept between subtitles, the style stack, and the subtitle being scanned.
// Owned by one TextRenderer and used by one thread at a time.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_STROKER_H

#include "fontcache/FaceCacheCallbacks.h"
#include "text/FacePool.h"
#include "text/GlyphCache.h"
#include "text/StyleStack.h"

namespace Orb {

/// Owns an FT_Library; declared before anything holding faces so that it is done last.
struct FreeTypeLibrary {
  FreeTypeLibrary() = default;
  ~FreeTypeLibrary();
  FreeTypeLibrary(const FreeTypeLibrary&) = delete;
  FreeTypeLibrary& operator=(const FreeTypeLibrary&) = delete;
  FT_Library handle = nullptr;
};

/// Owns an FT_Stroker.
struct FreeTypeStroker {
  FreeTypeStroker() = default;
  ~FreeTypeStroker();
  FreeTypeStroker(const FreeTypeStroker&) = delete;
  FreeTypeStroker& operator=(const FreeTypeStroker&) = delete;
  FT_Stroker handle = nullptr;
};

/// Bounds on what markup can cost, so that a hostile subtitle cannot hold the owner's lock
/// for long or exhaust memory.
struct MarkupLimits {
  /// Pixel sizes markup can reach, and any size the owner sets, are kept in this range:
  /// FreeType refuses 0, and a larger glyph cannot fit in the canvas of any frame up to
  /// 4K while its raster would cost megabytes.
  static constexpr std::int32_t kMinPixelSize = 1;
  static constexpr std::int32_t kMaxPixelSize = 1024;
  /// Faces that markup (b, i, font face) may open per subtitle; each costs a file parse
  /// and possibly a cache query. Later tags keep the enclosing font.
  static constexpr int kFaceOpensPerSubtitle = 64;
  /// Glyphs built per subtitle. A real subtitle has a few hundred characters and the
  /// bottom limit ends the walk long before this; a megabyte of characters that never fit
  /// (too big for the canvas) would otherwise be rasterised one by one.
  static constexpr std::size_t kGlyphsPerSubtitle = 4096;
};

/// The pixel size `size` clamped to MarkupLimits.
std::int32_t boundPixelSize(std::int64_t size);

struct RenderContext {
  /// A context with an initialised library and stroker and `base` as the only style, or
  /// null when FreeType cannot start. The base font is not resolved here.
  static std::unique_ptr<RenderContext> create(StyleNode base,
                                               const FaceCacheCallbacks* faceCacheTable,
                                               void* userData);

  FreeTypeLibrary library;
  FreeTypeStroker stroker;
  FacePool faces;      // before the styles, whose records hold faces from it
  GlyphCache glyphs;
  StyleStack styles;
  std::vector<char32_t> text{0};  // decoded subtitle, 0-terminated; the scanner writes into it
  std::size_t length = 0;         // code points before the first 0
  std::size_t position = 0;       // next code point to read
  const FaceCacheCallbacks* faceCacheTable = nullptr;  // not owned; may be null
  void* userData = nullptr;                            // handed back to findFace
  int faceOpensLeft = MarkupLimits::kFaceOpensPerSubtitle;

 private:
  explicit RenderContext(StyleNode base) : styles(std::move(base)) {}
};

}  // namespace Orb
