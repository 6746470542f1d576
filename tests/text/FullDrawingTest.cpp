// Drawing a full layout from the glyph images its measuring found.
#include "text/FullDrawing.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/text/TestFonts.h"
#include "text/ClassicMarkup.h"
#include "text/FontResolution.h"

namespace {

constexpr std::uint32_t kMaxWidth = 100000;
constexpr std::uint32_t kMaxHeight = 1000;

// A glyph cache too small for one line of text evicts the images measured first while the
// later ones are built; drawing must not use what it measured then.
TEST(FullDrawing, ImagesEvictedWhileMeasuringAreFoundAgainForDrawing) {
  TestFonts::FontBench bench;
  Orb::MarkupBase base;
  base.style.size = 40;
  base.style.fill = Orb::Colour{255, 255, 255, 0};
  std::u32string text;
  for (char32_t c = U'!'; c <= U'~'; ++c) text += c;
  const Orb::StyledText styled = Orb::readClassicMarkup(text, base);
  const Orb::ResolvedFonts fonts =
      Orb::resolveFonts(styled.fonts, bench.open(TestFonts::kSans), bench.resolver);
  Orb::FullLayoutEngine engine;
  const Orb::FullLayout layout = engine.layOut(styled, fonts, kMaxWidth, 2);

  const auto draw = [&](std::size_t cacheBudget) {
    Orb::GlyphSource glyphs(bench.library.handle());
    glyphs.resetCache(cacheBudget);
    const Orb::LayoutInk ink = Orb::measureInk(layout, glyphs, kMaxWidth, kMaxHeight);
    const Orb::PixelRect window = Orb::canvasWindow(layout, ink, kMaxWidth, kMaxHeight);
    const auto width = static_cast<std::uint32_t>(window.right - window.left);
    const auto height = static_cast<std::uint32_t>(window.bottom - window.top);
    std::vector<std::uint8_t> pixels(std::size_t{width} * height * 4);
    Orb::drawFullLayout(layout, ink, glyphs, window, 0, Orb::Canvas{pixels.data(), width, height, width});
    return pixels;
  };
  const std::vector<std::uint8_t> kept = draw(Orb::GlyphCache::kDefaultBudget);
  ASSERT_FALSE(kept.empty());
  for (const std::size_t budget : {8 << 10, 32 << 10, 128 << 10}) {
    EXPECT_TRUE(draw(budget) == kept) << budget << " bytes of glyphs kept";
  }
}

struct Drawn {
  Orb::PixelRect window;
  std::vector<std::uint8_t> pixels;
  std::uint64_t builds = 0;      // glyph images built for it
  std::size_t glyphsInked = 0;  // glyphs measured and kept
};

// Measures `layout` for a canvas of `inkWidth` × `inkHeight`, then cuts and draws it for one
// of `maxWidth` × `maxHeight`: measured for a larger canvas, every glyph inside is built.
Drawn measureAndDraw(TestFonts::FontBench& bench, const Orb::FullLayout& layout, std::uint32_t inkWidth,
                     std::uint32_t inkHeight, std::uint32_t maxWidth, std::uint32_t maxHeight) {
  Orb::GlyphSource glyphs(bench.library.handle());
  Drawn drawn;
  const Orb::LayoutInk ink = Orb::measureInk(layout, glyphs, inkWidth, inkHeight);
  drawn.builds = glyphs.generation();
  for (const Orb::PixelRect& rect : ink.glyphs) drawn.glyphsInked += rect.right > rect.left ? 1 : 0;
  drawn.window = Orb::canvasWindow(layout, ink, maxWidth, maxHeight);
  const auto width = static_cast<std::uint32_t>(drawn.window.right - drawn.window.left);
  const auto height = static_cast<std::uint32_t>(drawn.window.bottom - drawn.window.top);
  drawn.pixels.assign(std::size_t{width} * height * 4, 0);
  Orb::drawFullLayout(layout, ink, glyphs, drawn.window, 0,
                      Orb::Canvas{drawn.pixels.data(), width, height, width});
  return drawn;
}

Orb::FullLayout layOut(TestFonts::FontBench& bench, const std::u32string& text, std::int32_t size,
                       std::uint32_t maxWidth, std::uint32_t alignment) {
  Orb::MarkupBase base;
  base.style.size = size;
  base.style.fill = Orb::Colour{255, 255, 255, 0};
  const Orb::StyledText styled = Orb::readClassicMarkup(text, base);
  const Orb::ResolvedFonts fonts =
      Orb::resolveFonts(styled.fonts, bench.open(TestFonts::kSans), bench.resolver);
  Orb::FullLayoutEngine engine;
  return engine.layOut(styled, fonts, maxWidth, alignment);
}

// Text far taller than the canvas: only what can reach the canvas is built, and the cut
// falls where it would if every glyph had been measured, whichever side it keeps.
TEST(FullDrawing, TextTallerThanTheCanvasIsCutAsIfAllOfItWereMeasured) {
  TestFonts::FontBench bench;
  std::u32string text;
  for (int i = 0; i < 12; ++i) text += U"<u>Quick jumps</u>\n";
  constexpr std::uint32_t kWidth = 400;
  for (const std::uint32_t alignment : {2u, 5u, 8u}) {
    const Orb::FullLayout layout = layOut(bench, text, 30, kWidth, alignment);
    // Every height of a line's pitch, so that the cut falls on every row of a line's ink.
    for (std::uint32_t height = 100; height < 140; ++height) {
      const Drawn everything = measureAndDraw(bench, layout, kWidth, 1u << 20, kWidth, height);
      const Drawn cut = measureAndDraw(bench, layout, kWidth, height, kWidth, height);
      const std::string where = "alignment " + std::to_string(alignment) + ", height " + std::to_string(height);
      EXPECT_EQ(cut.window.top, everything.window.top) << where;
      EXPECT_EQ(cut.window.bottom, everything.window.bottom) << where;
      EXPECT_EQ(cut.window.left, everything.window.left) << where;
      EXPECT_EQ(cut.window.right, everything.window.right) << where;
      EXPECT_TRUE(cut.pixels == everything.pixels) << where;
      EXPECT_LT(cut.glyphsInked * 2, everything.glyphsInked) << where;
    }
  }
}

// The largest size markup reaches, a thousand letters on a 1080p frame: the canvas holds
// a line or two of them, and only those (and the edges the cut is found from) are built.
TEST(FullDrawing, GiantGlyphsOutsideTheCanvasAreNeverBuilt) {
  TestFonts::FontBench bench;
  std::u32string text = U"<font size=\"+999\">";
  for (int i = 0; i < 100; ++i) text += U"abcdefghij";
  const Orb::FullLayout layout = layOut(bench, text, 40, 1728, 2);
  ASSERT_EQ(layout.glyphs.size(), 1000u);
  const Drawn drawn = measureAndDraw(bench, layout, 1728, 1080, 1728, 1080);
  EXPECT_EQ(drawn.window.bottom - drawn.window.top, 1080);
  EXPECT_LE(drawn.builds, 24u);
}

}  // namespace
