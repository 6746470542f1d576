#include "text/GlyphImage.h"

#include <algorithm>
#include <limits>

#include FT_GLYPH_H
#include FT_OUTLINE_H

#include "text/GreyBitmap.h"

namespace Orb {

namespace {

// Owns one FT_Glyph.
class GlyphHandle {
 public:
  GlyphHandle() = default;
  ~GlyphHandle() { reset(nullptr); }
  GlyphHandle(const GlyphHandle&) = delete;
  GlyphHandle& operator=(const GlyphHandle&) = delete;
  FT_Glyph get() const { return glyph; }
  FT_Glyph* out() { return &glyph; }
  /// Forgets the glyph without freeing it (FreeType has already freed it).
  void release() { glyph = nullptr; }
  void reset(FT_Glyph replacement) {
    if (glyph != nullptr && glyph != replacement) FT_Done_Glyph(glyph);
    glyph = replacement;
  }

 private:
  FT_Glyph glyph = nullptr;
};

// The ink of a real glyph spans a few ems at most (the widest mapped glyphs of the usual
// fonts stay under three). A font file can claim an outline hundreds of ems across, or a
// tiny units-per-em, whose raster at even a small size costs gigabytes and seconds; such
// glyphs are skipped before anything is rasterised. Nothing wider than the canvas of a 4K
// frame (1.5 × 3840 pixels) could be drawn anyway.
constexpr std::int64_t kMaxGlyphEms = 8;
constexpr std::int64_t kGlyphExtentFloor = 64;      // pixels, so tiny sizes keep their marks
constexpr std::int64_t kGlyphExtentCeiling = 5760;  // pixels

bool plausibleExtent(FT_Glyph glyph, std::int32_t size) {
  FT_BBox box;
  FT_Glyph_Get_CBox(glyph, FT_GLYPH_BBOX_PIXELS, &box);
  const std::int64_t limit =
      std::clamp<std::int64_t>(kMaxGlyphEms * size, kGlyphExtentFloor, kGlyphExtentCeiling);
  return static_cast<std::int64_t>(box.xMax) - box.xMin <= limit &&
         static_cast<std::int64_t>(box.yMax) - box.yMin <= limit;
}

constexpr unsigned squareCoverage(unsigned value) { return value * value / 255; }

// Replaces `glyph` by its rendering as an 8-bit bitmap glyph; a bitmap glyph stays as it is.
bool renderInPlace(GlyphHandle& glyph) {
  FT_Glyph bitmap = glyph.get();
  // On success FreeType destroys the glyph it converted; on failure it keeps it.
  if (FT_Glyph_To_Bitmap(&bitmap, FT_RENDER_MODE_NORMAL, nullptr, 1) != 0) return false;
  if (bitmap != glyph.get()) glyph.release();
  glyph.reset(bitmap);
  return bitmap->format == FT_GLYPH_FORMAT_BITMAP;
}

// The stroked glyph as a bitmap glyph, or null. A glyph the stroker refuses (an embedded
// bitmap, or an outline it cannot parse) goes on unstroked.
bool strokeAndRender(FT_Stroker stroker, FT_Glyph glyph, GlyphHandle& result) {
  if (FT_Glyph_Copy(glyph, result.out()) != 0) return false;
  FT_Glyph stroked = result.get();
  if (result.get()->format == FT_GLYPH_FORMAT_OUTLINE &&
      FT_Glyph_Stroke(&stroked, stroker, 0) == 0) {
    result.reset(stroked);
  }
  return renderInPlace(result);
}

const FT_Bitmap& bitmapOf(const GlyphHandle& rendered) {
  return reinterpret_cast<FT_BitmapGlyph>(rendered.get())->bitmap;
}

bool allocateImage(std::uint32_t width, std::uint32_t height, GlyphImage& image) {
  constexpr std::size_t kMax = std::numeric_limits<std::size_t>::max();
  if (width > std::numeric_limits<std::uint32_t>::max() / 4) return false;
  const std::size_t stride = static_cast<std::size_t>(width) * 4;
  if (height != 0 && stride > kMax / height) return false;
  image.width = width;
  image.height = height;
  image.stride = static_cast<std::uint32_t>(stride);
  image.pixels.assign(stride * height, 0);
  return true;
}

// Merges the plain glyph's coverage at (rowOffset, columnOffset) of the stroked image,
// clipped to it.
void mergeFill(const GreyBitmap& fill, std::int64_t rowOffset, std::int64_t columnOffset,
               GlyphImage& image) {
  for (std::uint32_t r = 0; r < fill.height(); ++r) {
    const std::int64_t row = rowOffset + r;
    if (row < 0 || row >= image.height) continue;
    for (std::uint32_t c = 0; c < fill.width(); ++c) {
      const std::int64_t column = columnOffset + c;
      if (column < 0 || column >= image.width) continue;
      const unsigned f = fill.at(r, c);
      std::uint8_t* pixel =
          &image.pixels[static_cast<std::size_t>(row) * image.stride + static_cast<std::size_t>(column) * 4];
      if (f > pixel[GlyphImage::kCoverage]) pixel[GlyphImage::kCoverage] = static_cast<std::uint8_t>(f);
      pixel[GlyphImage::kOutline] = static_cast<std::uint8_t>(pixel[GlyphImage::kOutline] * (255 - f) / 255);
      pixel[GlyphImage::kFill] = static_cast<std::uint8_t>(squareCoverage(f));
    }
  }
}

FT_BitmapGlyph bitmapGlyphOf(const GlyphHandle& rendered) {
  return reinterpret_cast<FT_BitmapGlyph>(rendered.get());
}

// Strokes and renders `plain` into `image`: the stroke's coverage as outline, the plain
// glyph's as body. With `exact` each bitmap goes where FreeType places it, and the image's
// bearings are the stroked bitmap's; otherwise the body is centred on the stroke and the
// caller has set the bearings. False when anything cannot be rendered.
bool strokedImage(FT_Library library, FT_Stroker stroker, GlyphHandle& plain, bool exact,
                  GlyphImage& image) {
  GlyphHandle stroked;
  if (!strokeAndRender(stroker, plain.get(), stroked)) return false;
  GreyBitmap strokeBitmap;
  if (!strokeBitmap.convert(library, bitmapOf(stroked))) return false;
  if (!allocateImage(strokeBitmap.width(), strokeBitmap.height(), image)) return false;
  if (exact) {
    image.left = bitmapGlyphOf(stroked)->left;
    image.top = bitmapGlyphOf(stroked)->top;
  }

  const bool mono = strokeBitmap.fromMono();
  for (std::uint32_t r = 0; r < image.height; ++r) {
    std::uint8_t* pixel = &image.pixels[static_cast<std::size_t>(r) * image.stride];
    for (std::uint32_t c = 0; c < image.width; ++c, pixel += 4) {
      const unsigned s = strokeBitmap.at(r, c);
      pixel[GlyphImage::kCoverage] = static_cast<std::uint8_t>(s);
      // A 1-bit glyph has no antialiasing to split: it is coloured with both colours.
      pixel[GlyphImage::kOutline] = static_cast<std::uint8_t>(mono ? 255 : squareCoverage(s));
      pixel[GlyphImage::kFill] = mono ? 255 : 0;
    }
  }
  if (mono) return true;

  // The body is the glyph of the first load rendered as it is: loading the character again
  // to render it would load and hint the same outline a second time for the same bitmap.
  if (!renderInPlace(plain)) return false;
  GreyBitmap fill;
  if (!fill.convert(library, bitmapOf(plain))) return false;
  if (exact) {
    mergeFill(fill, image.top - bitmapGlyphOf(plain)->top, bitmapGlyphOf(plain)->left - image.left,
              image);
  } else {
    mergeFill(fill, (static_cast<std::int64_t>(image.height) - fill.height()) / 2,
              (static_cast<std::int64_t>(image.width) - fill.width()) / 2, image);
  }
  return true;
}

// Loads the glyph into the face's slot without rendering it.
bool loadGlyph(FT_Face face, const GlyphRequest& request) {
  if (request.byIndex) return FT_Load_Glyph(face, request.glyph, request.loadFlags) == 0;
  return FT_Load_Char(face, request.glyph, request.loadFlags) == 0;
}

}  // namespace

bool buildGlyphImage(FT_Library library, FT_Stroker stroker, const GlyphRequest& request,
                     GlyphImage& image) {
  if (request.face == nullptr) return false;
  request.face->prepare(request.size, request.transform);
  FT_Face face = request.face->handle();
  FT_Stroker_Set(stroker, request.strokeRadius, FT_STROKER_LINECAP_ROUND,
                 FT_STROKER_LINEJOIN_ROUND, 0);
  if (!loadGlyph(face, request)) return false;
  // The classic image sits at the plain glyph's bearings (so the outline hangs a stroke's
  // width right of and below where the plain glyph would be); an exact one where FreeType
  // puts the stroked bitmap.
  image.left = static_cast<std::int32_t>(face->glyph->metrics.horiBearingX / 64);
  image.top = static_cast<std::int32_t>(face->glyph->metrics.horiBearingY / 64);

  GlyphHandle plain;
  if (FT_Get_Glyph(face->glyph, plain.out()) != 0) return false;
  if (!plausibleExtent(plain.get(), request.size)) return false;
  const FT_Pos advance = face->glyph->advance.x;
  if (!strokedImage(library, stroker, plain, request.exact, image)) return false;
  image.advance = static_cast<std::int32_t>(advance / 64 + 1);
  return true;
}

bool buildRectangleImage(FT_Library library, FT_Stroker stroker, FT_Pos left, FT_Pos top,
                         FT_Pos width, FT_Pos height, FT_Fixed strokeRadius, GlyphImage& image) {
  GlyphHandle plain;
  if (width <= 0 || height <= 0 || FT_New_Glyph(library, FT_GLYPH_FORMAT_OUTLINE, plain.out()) != 0) {
    return false;
  }
  FT_Outline& outline = reinterpret_cast<FT_OutlineGlyph>(plain.get())->outline;
  if (FT_Outline_New(library, 4, 1, &outline) != 0) return false;
  // FreeType's y axis points up: the rectangle hangs below its top edge.
  const FT_Vector corners[4] = {{left, -top},
                                {left + width, -top},
                                {left + width, -top - height},
                                {left, -top - height}};
  for (int i = 0; i < 4; ++i) {
    outline.points[i] = corners[i];
    outline.tags[i] = FT_CURVE_TAG_ON;
  }
  outline.contours[0] = 3;
  FT_Stroker_Set(stroker, strokeRadius, FT_STROKER_LINECAP_ROUND, FT_STROKER_LINEJOIN_ROUND, 0);
  if (!strokedImage(library, stroker, plain, true, image)) return false;
  image.advance = 0;
  return true;
}

}  // namespace Orb
