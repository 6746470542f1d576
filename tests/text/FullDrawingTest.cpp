// Drawing a full layout from the glyph images its measuring found.
#include "text/FullDrawing.h"

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
    const Orb::LayoutInk ink = Orb::measureInk(layout, glyphs);
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

}  // namespace
