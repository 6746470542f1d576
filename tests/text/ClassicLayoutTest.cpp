#include "text/ClassicLayout.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/text/TestFonts.h"
#include "text/ClassicMarkup.h"
#include "text/Utf.h"

namespace {

class Layout : public ::testing::Test {
 protected:
  void SetUp() override {
    base.style.size = 22;
    const Orb::GlyphCache::Found h = glyphs.image(Orb::GlyphRequest{
        baseFont->face.get(), 22, baseFont->transform, 0, U'H', false, Orb::strokeRadius(22)});
    ASSERT_NE(h.image, nullptr);
    glyph = *h.image;
  }

  // The pen walk over `subtitle` in a maxWidth × maxHeight area.
  Orb::DrawnBox layOut(const std::string& subtitle, std::uint32_t maxWidth = 400,
                       std::uint32_t maxHeight = 100) {
    const std::uint32_t width = maxWidth + maxWidth / 2;
    const std::uint32_t height = maxHeight + maxHeight / 2;
    std::vector<char32_t> decoded;
    Orb::decodeUtf8(subtitle.data(), subtitle.size(), decoded);
    const Orb::StyledText text =
        Orb::readClassicMarkup(std::u32string(decoded.begin(), decoded.end()), base);
    const Orb::ResolvedFonts resolved = Orb::resolveFonts(text.fonts, baseFont, fonts.resolver);
    return Orb::layOutClassic(text, resolved, glyphs, maxWidth, maxHeight,
                              Orb::Canvas{nullptr, width, height, width})
        .box;
  }

  TestFonts::FontBench fonts;
  std::shared_ptr<const Orb::FontRecord> baseFont = fonts.open(TestFonts::kSans);
  Orb::GlyphSource glyphs{fonts.library.handle()};
  Orb::MarkupBase base;
  Orb::GlyphImage glyph;  // "H" at size 22
};

TEST_F(Layout, FirstGlyphSitsOnTheFirstBaselineInsideTheMargins) {
  const Orb::DrawnBox box = layOut("H");
  ASSERT_TRUE(box.drawn);
  EXPECT_EQ(box.xMin, 100u + glyph.left);
  EXPECT_EQ(box.xMax, 100u + glyph.left + glyph.width);
  EXPECT_EQ(box.yMin, 47u - glyph.top);
  EXPECT_EQ(box.yMax, 47u - glyph.top + glyph.height);
}

TEST_F(Layout, LineFeedsStepByTheSizeAndAFifth) {
  const Orb::DrawnBox two = layOut("H\nH");
  EXPECT_EQ(two.yMax, 73u - glyph.top + glyph.height);
  EXPECT_EQ(two.xMin, 100u + glyph.left) << "each line starts at the left margin";
  const Orb::DrawnBox crlf = layOut("H\r\nH");
  EXPECT_EQ(crlf.yMax, two.yMax) << "a carriage return is ignored";
  EXPECT_EQ(crlf.xMax, two.xMax);
  const Orb::DrawnBox leading = layOut("\nH");
  EXPECT_EQ(leading.yMin, 73u - glyph.top);
  // The step is taken from the style on top at the break.
  const Orb::DrawnBox larger = layOut("<font size=\"+5\">\n</font>H");
  EXPECT_EQ(larger.yMin, 25u + 32u + 38u - glyph.top) << "first baseline 25 + 32, step 32 + 6";
}

TEST_F(Layout, TheBottomLimitEndsTheWalk) {
  // Baselines 47, 73, 99; the fourth would be at 125, the bottom limit.
  const Orb::DrawnBox three = layOut("H\nH\nH");
  const Orb::DrawnBox five = layOut("H\nH\nH\nH\nH");
  EXPECT_EQ(three.yMax, 99u - glyph.top + glyph.height);
  EXPECT_EQ(five.yMax, three.yMax);
}

TEST_F(Layout, WrapsBeforeTheGlyphThatWouldReachTheRightLimit) {
  // Glyphs fit on a line while pen + advance stays below 500.
  std::size_t perLine = 0;
  while (100 + static_cast<int>(perLine + 1) * glyph.advance < 500) ++perLine;
  const Orb::DrawnBox full = layOut(std::string(perLine, 'H'));
  EXPECT_EQ(full.yMax, 47u - glyph.top + glyph.height);
  EXPECT_EQ(full.xMax, 100u + (perLine - 1) * glyph.advance + glyph.left + glyph.width);
  const Orb::DrawnBox wrapped = layOut(std::string(perLine + 1, 'H'));
  EXPECT_EQ(wrapped.yMax, 73u - glyph.top + glyph.height);
  EXPECT_EQ(wrapped.xMax, full.xMax);
  // A wrap that would reach the bottom limit drops the rest.
  const Orb::DrawnBox dropped = layOut("H\nH\n" + std::string(perLine + 5, 'H'));
  EXPECT_EQ(dropped.yMax, 99u - glyph.top + glyph.height);
}

TEST_F(Layout, GlyphTooLargeForTheCanvasTakesNoRoom) {
  const Orb::DrawnBox plain = layOut("HH");
  const Orb::DrawnBox skipped = layOut("H<font size=\"+200\">H</font>H");
  EXPECT_EQ(skipped.xMax, plain.xMax);
  EXPECT_EQ(skipped.yMin, plain.yMin);
}

TEST_F(Layout, BlanksYieldABoxAndNothingYieldsNone) {
  EXPECT_TRUE(layOut("   ").drawn);
  const Orb::DrawnBox none = layOut("<b></b>");
  EXPECT_FALSE(none.drawn);
  EXPECT_EQ(none.xMin, 600u);
  EXPECT_EQ(none.xMax, 0u);
}

// A glyph taller than its baseline is drawn from row 0; the box used to take its
// unclamped (negative) top and so lost it, or wrapped round to billions of pixels.
TEST_F(Layout, BoxFollowsGlyphsMovedDownToTheTopRow) {
  const Orb::DrawnBox box = layOut("<font size=\"-8\">.<font size=\"+28\">H", 200, 60);
  ASSERT_TRUE(box.drawn);
  EXPECT_EQ(box.yMin, 0u);
  EXPECT_LE(box.yMax, 90u);
  EXPECT_GT(box.yMax, 40u);
}

}  // namespace
