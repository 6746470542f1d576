#include "text/Compositor.h"

#include <algorithm>

namespace Orb {

namespace {

// Channel offsets inside one pixel, fixed per format so each loop is specialised.
template <int Red, int Green, int Blue, int Alpha>
struct ChannelOrder {
  static constexpr int red = Red, green = Green, blue = Blue, alpha = Alpha;
};
using RgbaLayout = ChannelOrder<0, 1, 2, 3>;
using ArgbLayout = ChannelOrder<1, 2, 3, 0>;
using BgraLayout = ChannelOrder<2, 1, 0, 3>;
using AbgrLayout = ChannelOrder<3, 2, 1, 0>;

// Calls `work` with the layout type of `pixelFormat`; false for an unknown code.
template <typename Work>
bool withChannelOrder(std::uint32_t pixelFormat, Work&& work) {
  switch (pixelFormat) {
    case kRGBA: work(RgbaLayout{}); return true;
    case kARGB: work(ArgbLayout{}); return true;
    case kBGRA: work(BgraLayout{}); return true;
    case kABGR: work(AbgrLayout{}); return true;
    default: return false;
  }
}

std::size_t rowPitch(const Canvas& canvas) { return static_cast<std::size_t>(canvas.stride) * 4; }

std::uint8_t channel(unsigned outlineWeight, unsigned outline, unsigned fillWeight,
                            unsigned fill) {
  return static_cast<std::uint8_t>(std::min(255u, outlineWeight * outline / 255 + fillWeight * fill / 255));
}

template <typename L>
void raisePixel(std::uint8_t* out, unsigned red, unsigned green, unsigned blue) {
  out[L::red] = std::max<std::uint8_t>(out[L::red], static_cast<std::uint8_t>(red));
  out[L::green] = std::max<std::uint8_t>(out[L::green], static_cast<std::uint8_t>(green));
  out[L::blue] = std::max<std::uint8_t>(out[L::blue], static_cast<std::uint8_t>(blue));
}

// The four bytes drawing one image pixel raises the canvas pixel to, in layout L: every
// channel is a maximum, and a channel the pixel does not colour is raised to 0 (kept).
template <typename L>
void raisedPixel(const std::uint8_t* in, Colour fill, Colour outline, std::uint8_t* out) {
  const unsigned o = in[GlyphImage::kOutline];
  const unsigned w = in[GlyphImage::kFill];
  out[L::alpha] = in[GlyphImage::kCoverage];
  // Most of a glyph's box is empty, pure outline or pure body: those pixels take no
  // weight, the outline colour or the fill colour exactly, with no arithmetic.
  const unsigned weights = o | (w << 8);
  if (weights == 0) {
    out[L::red] = out[L::green] = out[L::blue] = 0;
  } else if (weights == 0x00FF) {
    out[L::red] = outline.red;
    out[L::green] = outline.green;
    out[L::blue] = outline.blue;
  } else if (weights == 0xFF00) {
    out[L::red] = fill.red;
    out[L::green] = fill.green;
    out[L::blue] = fill.blue;
  } else {
    out[L::red] = channel(o, outline.red, w, fill.red);
    out[L::green] = channel(o, outline.green, w, fill.green);
    out[L::blue] = channel(o, outline.blue, w, fill.blue);
  }
}

// The part of an image that is drawn: `rows` × `columns` pixels from (firstRow,
// firstColumn) of the image, to (top, left) of the canvas.
struct Window {
  std::uint32_t firstRow = 0;
  std::uint32_t firstColumn = 0;
  std::uint32_t rows = 0;
  std::uint32_t columns = 0;
  std::int64_t top = 0;
  std::int64_t left = 0;
};

Window wholeImage(const GlyphImage& image, std::int64_t left, std::int64_t top) {
  return Window{0, 0, image.height, image.width, top, left};
}

template <typename L>
void drawGlyph(const GlyphPaint& style, const GlyphImage& image, const Window& window,
               const Canvas& canvas) {
  const Colour fill = style.fill;
  const Colour outline = style.outline;
  // Copied out: the canvas stores could otherwise alias them and force a reload per pixel.
  const std::uint32_t width = window.columns;
  const std::uint8_t* const pixels =
      image.pixels.data() + static_cast<std::size_t>(window.firstColumn) * 4;
  for (std::uint32_t r = 0; r < window.rows; ++r) {
    const std::uint8_t* in = pixels + static_cast<std::size_t>(window.firstRow + r) * image.stride;
    std::uint8_t* out = canvas.pixels + static_cast<std::size_t>(window.top + r) * rowPitch(canvas) +
                        static_cast<std::size_t>(window.left) * 4;
    for (std::uint32_t c = 0; c < width; ++c, in += 4, out += 4) {
      std::uint8_t raised[4];
      raisedPixel<L>(in, fill, outline, raised);
      for (int b = 0; b < 4; ++b) out[b] = std::max(out[b], raised[b]);
    }
  }
}

template <typename L>
void paint(const GlyphPaint& style, const GlyphImage& image, PaintedGlyph& painted) {
  const std::size_t rowBytes = static_cast<std::size_t>(image.width) * 4;
  painted.pixels.resize(rowBytes * image.height);
  for (std::uint32_t r = 0; r < image.height; ++r) {
    const std::uint8_t* in = image.pixels.data() + static_cast<std::size_t>(r) * image.stride;
    std::uint8_t* out = painted.pixels.data() + r * rowBytes;
    for (std::uint32_t c = 0; c < image.width; ++c, in += 4, out += 4) {
      raisedPixel<L>(in, style.fill, style.outline, out);
    }
  }
}

// A bytewise maximum of whole rows, which compilers turn into vector instructions.
void drawPainted(const PaintedGlyph& painted, std::uint32_t width, const Window& window,
                 const Canvas& canvas) {
  const std::size_t imageRowBytes = static_cast<std::size_t>(width) * 4;
  const std::size_t rowBytes = static_cast<std::size_t>(window.columns) * 4;
  const std::uint8_t* const pixels =
      painted.pixels.data() + static_cast<std::size_t>(window.firstColumn) * 4;
  for (std::uint32_t r = 0; r < window.rows; ++r) {
    const std::uint8_t* __restrict in = pixels + (window.firstRow + r) * imageRowBytes;
    std::uint8_t* __restrict out = canvas.pixels +
                                   static_cast<std::size_t>(window.top + r) * rowPitch(canvas) +
                                   static_cast<std::size_t>(window.left) * 4;
    for (std::size_t i = 0; i < rowBytes; ++i) out[i] = std::max(out[i], in[i]);
  }
}

// Draws `window` of `image` in `style`'s colours, through the painted copy when given.
void drawWindow(const GlyphPaint& style, std::uint32_t pixelFormat, const GlyphImage& image,
                const Window& window, const Canvas& canvas, PaintedGlyph* painted);

// Colours and byte order of a painted image; never 0 for a known format.
std::uint64_t paintKey(const GlyphPaint& style, std::uint32_t pixelFormat) {
  const Colour fill = style.fill;
  const Colour outline = style.outline;
  return (std::uint64_t{1} << 56) | (std::uint64_t{pixelFormat & 3} << 48) |
         (std::uint64_t{fill.red} << 40) | (std::uint64_t{fill.green} << 32) |
         (std::uint64_t{fill.blue} << 24) | (std::uint64_t{outline.red} << 16) |
         (std::uint64_t{outline.green} << 8) | outline.blue;
}

// Lines are drawn a shade darker than the body so they stay distinct from it.
Colour lineColour(Colour fill) {
  return Colour{static_cast<std::uint8_t>(fill.red * 7 / 8),
                static_cast<std::uint8_t>(fill.green * 7 / 8),
                static_cast<std::uint8_t>(fill.blue * 7 / 8), 255};
}

}  // namespace

namespace {

void drawWindow(const GlyphPaint& style, std::uint32_t pixelFormat, const GlyphImage& image,
                const Window& window, const Canvas& canvas, PaintedGlyph* painted) {
  withChannelOrder(pixelFormat, [&](auto order) {
    using L = decltype(order);
    if (painted == nullptr) {
      drawGlyph<L>(style, image, window, canvas);
      return;
    }
    const std::uint64_t key = paintKey(style, pixelFormat);
    if (painted->paint != key) {
      paint<L>(style, image, *painted);
      painted->paint = key;
    }
    drawPainted(*painted, image.width, window, canvas);
  });
}

}  // namespace

void fillSpan(std::uint32_t pixelFormat, Colour colour, PixelRect area, const Canvas& canvas) {
  const std::int64_t left = std::max<std::int64_t>(area.left, 0);
  const std::int64_t right = std::min<std::int64_t>(area.right, canvas.width);
  const std::int64_t top = std::max<std::int64_t>(area.top, 0);
  const std::int64_t bottom = std::min<std::int64_t>(area.bottom, canvas.height);
  if (left >= right || top >= bottom) return;
  withChannelOrder(pixelFormat, [&](auto order) {
    using L = decltype(order);
    for (std::int64_t y = top; y < bottom; ++y) {
      std::uint8_t* out = canvas.pixels + static_cast<std::size_t>(y) * rowPitch(canvas) +
                          static_cast<std::size_t>(left) * 4;
      for (std::int64_t x = left; x < right; ++x, out += 4) {
        out[L::red] = colour.red;
        out[L::green] = colour.green;
        out[L::blue] = colour.blue;
        out[L::alpha] = 255;
      }
    }
  });
}

std::optional<PixelRect> placeGlyph(const GlyphImage& image, std::int64_t penX,
                                    std::int64_t baseline, const Canvas& canvas) {
  // Signed and 64-bit: a negative bearing must not wrap into a huge column that "fits".
  const std::int64_t x0 = penX + image.left;
  const std::int64_t row0 = baseline < image.top ? 0 : baseline - image.top;
  if (x0 < 0 || x0 + image.width > canvas.width || row0 + image.height > canvas.height) {
    return std::nullopt;
  }
  return PixelRect{x0, row0, x0 + image.width, row0 + image.height};
}

bool compositeGlyph(const GlyphPaint& style, std::uint32_t pixelFormat, const GlyphImage& image,
                    std::int64_t penX, std::int64_t baseline, const Canvas& canvas,
                    PixelRect& drawn, PaintedGlyph* painted) {
  if (canvas.pixels == nullptr) return false;
  const std::optional<PixelRect> place = placeGlyph(image, penX, baseline, canvas);
  if (!place) return false;
  const std::int64_t x0 = place->left;
  const std::int64_t row0 = place->top;
  const Colour line = lineColour(style.fill);
  const std::int64_t d = style.lineOffset;
  const std::int64_t spanRight = penX + image.advance;
  if (style.underline) {
    fillSpan(pixelFormat, line, PixelRect{penX, baseline - d, spanRight, baseline - d + 3}, canvas);
  }
  drawWindow(style, pixelFormat, image, wholeImage(image, x0, row0), canvas, painted);
  if (style.strikeOut) {
    fillSpan(pixelFormat, line, PixelRect{penX, baseline + d - 2, spanRight, baseline + d}, canvas);
  }
  drawn = *place;
  return true;
}

bool compositeClipped(const GlyphPaint& paint, std::uint32_t pixelFormat, const GlyphImage& image,
                      std::int64_t left, std::int64_t top, const Canvas& canvas,
                      PaintedGlyph* painted) {
  if (canvas.pixels == nullptr) return false;
  const std::int64_t right = std::min<std::int64_t>(left + image.width, canvas.width);
  const std::int64_t bottom = std::min<std::int64_t>(top + image.height, canvas.height);
  const std::int64_t visibleLeft = std::max<std::int64_t>(left, 0);
  const std::int64_t visibleTop = std::max<std::int64_t>(top, 0);
  if (visibleLeft >= right || visibleTop >= bottom) return false;
  const Window window{static_cast<std::uint32_t>(visibleTop - top),
                      static_cast<std::uint32_t>(visibleLeft - left),
                      static_cast<std::uint32_t>(bottom - visibleTop),
                      static_cast<std::uint32_t>(right - visibleLeft), visibleTop, visibleLeft};
  drawWindow(paint, pixelFormat, image, window, canvas, painted);
  return true;
}

}  // namespace Orb
