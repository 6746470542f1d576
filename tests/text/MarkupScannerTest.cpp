#include "text/MarkupScanner.h"

#include <chrono>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/text/TestFonts.h"

namespace {

// What the layout would see for one character.
struct Seen {
  char32_t codePoint;
  Orb::StyleNode style;
  std::size_t depth;
};

class MarkupScanner : public ::testing::Test {
 protected:
  void SetUp() override { context = TestFonts::contextWithFont(TestFonts::kSans); }

  std::vector<Seen> scan(const std::string& subtitle) {
    std::vector<Seen> seen;
    if (!Orb::loadText(*context, subtitle.data(), subtitle.size())) return seen;
    char32_t c = 0;
    while (Orb::nextCharacter(*context, c)) {
      seen.push_back({c, context->styles.top(), context->styles.depth()});
    }
    return seen;
  }

  std::u32string characters(const std::string& subtitle) {
    std::u32string out;
    for (const Seen& s : scan(subtitle)) out.push_back(s.codePoint);
    return out;
  }

  std::unique_ptr<Orb::RenderContext> context;
};

TEST_F(MarkupScanner, BoldAndItalicGetFreshRecordsThatDoNotInherit) {
  auto seen = scan("a<b>b</b>c");
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_EQ(seen[0].style.font->bold, 0);
  EXPECT_EQ(seen[1].style.font->bold, 1);
  EXPECT_NE(seen[1].style.font, seen[0].style.font);
  EXPECT_EQ(seen[2].style.font, seen[0].style.font);

  seen = scan("<b><i>x</i></b>");
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].style.font->italic, 1);
  EXPECT_EQ(seen[0].style.font->bold, 0);
  EXPECT_NE(seen[0].style.font->face, nullptr) << "a file without family takes its first face";
}

TEST_F(MarkupScanner, ClosingTagsPopWhateverIsOnTop) {
  auto seen = scan("<u><p>x</p>y");
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].style.underline, 1);
  EXPECT_EQ(seen[1].style.underline, 0) << "<p> pushed nothing, so </p> removed the underline";

  seen = scan("<u>x<br/>y");
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[1].style.underline, 0);
  EXPECT_EQ(characters("<u>x<br/>y"), U"xy") << "<br/> does not break the line";

  seen = scan("</b></>x<s>y</xyz>z");
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_EQ(seen[0].depth, 1u);
  EXPECT_EQ(seen[1].style.strikeOut, 1);
  EXPECT_EQ(seen[2].style.strikeOut, 0);
}

TEST_F(MarkupScanner, TagsAreCaseAndBlankSensitive) {
  for (const char* subtitle : {"<B>x", "<i >x", "<f>x", "<font>x", "<fo>x", "<>x"}) {
    auto seen = scan(subtitle);
    ASSERT_EQ(seen.size(), 1u) << subtitle;
    EXPECT_EQ(seen[0].depth, 1u) << subtitle;
  }
}

TEST_F(MarkupScanner, FontColourNeedsExactSyntax) {
  auto seen = scan("<font color=\"#00ff00\">x");
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].depth, 2u);
  EXPECT_EQ(seen[0].style.fillColour.red, 0);
  EXPECT_EQ(seen[0].style.fillColour.green, 255);
  EXPECT_EQ(seen[0].style.fillColour.blue, 0);
  EXPECT_EQ(seen[0].style.font, context->styles.base().font) << "colour alone shares the font";

  for (const char* subtitle :
       {"<font color=\"green\">x", "<font color=#00ff00>x", "<font color=\"#00ff00\" >x",
        "<font color=\"#0f0\">x", "<font color=\"00ff00\">x", "<font color=\"#00ff00a\">x",
        "<font color=\"#00fg00\">x", "<font  >x", "<font color>x", "<font color=\"#00ff00>x\">y"}) {
    auto ignored = scan(subtitle);
    ASSERT_FALSE(ignored.empty()) << subtitle;
    EXPECT_EQ(ignored.back().depth, 1u) << subtitle;
  }
}

TEST_F(MarkupScanner, SizeStepsAreSignedAndDoubled) {
  EXPECT_EQ(scan("<font size=\"+3\">x")[0].style.size, 28);
  EXPECT_EQ(scan("<font size=\"-2\">x")[0].style.size, 18);
  EXPECT_EQ(scan("<font size=\"12\">x")[0].depth, 1u);
  EXPECT_EQ(scan("<font size=\"+0\">x")[0].depth, 1u);
  // Several attributes, separated by blanks, a later one of a name replacing the earlier.
  auto seen = scan("<font size=\"+1\" color=\"#102030\" size=\"+2\">x");
  EXPECT_EQ(seen[0].style.size, 26);
  EXPECT_EQ(seen[0].style.fillColour.blue, 0x30);
}

TEST_F(MarkupScanner, HostileSizesStayWithinWhatFreeTypeAccepts) {
  for (const char* subtitle : {"<font size=\"+999999999999\">x", "<font size=\"+4294967296\">x",
                               "<font size=\"+\xF4\x8F\xBF\xBF\xF4\x8F\xBF\xBF\">x"}) {
    auto seen = scan(subtitle);
    ASSERT_EQ(seen.size(), 1u) << subtitle;
    EXPECT_EQ(seen[0].style.size, Orb::MarkupLimits::kMaxPixelSize) << subtitle;
  }
  EXPECT_EQ(scan("<font size=\"-999999999999\">x")[0].style.size,
            Orb::MarkupLimits::kMinPixelSize);
  EXPECT_EQ(scan("<font size=\"-11\">x")[0].style.size, Orb::MarkupLimits::kMinPixelSize);
}

TEST_F(MarkupScanner, PoppingRestoresTheSharedFaceSize) {
  ASSERT_EQ(characters("<font size=\"+5\">a</font>b"), U"ab");
  EXPECT_EQ(context->styles.base().font->face->handle()->size->metrics.y_ppem, 22);
}

TEST_F(MarkupScanner, OverrideFlagsIgnoreOnlyTheirAttributes) {
  context->styles.base().overrideEmbeddedColour = 1;
  auto seen = scan("<font color=\"#ff0000\" size=\"+1\">x");
  EXPECT_EQ(seen[0].style.size, 24);
  EXPECT_EQ(seen[0].style.fillColour.red, 255);
  EXPECT_EQ(seen[0].style.fillColour.green, 255) << "colour was not applied";

  context->styles.base().overrideEmbeddedColour = 0;
  context->styles.base().overrideEmbeddedFont = 1;
  seen = scan("<font color=\"#ff0000\" size=\"+1\" face=\"DejaVu Serif\">x");
  EXPECT_EQ(seen[0].style.size, 22);
  EXPECT_EQ(seen[0].style.fillColour.green, 0);
  EXPECT_EQ(seen[0].style.font, context->styles.base().font);
}

TEST_F(MarkupScanner, QuotesAndStrayBracketsAreCharactersOrDelimiters) {
  EXPECT_EQ(characters("a<font color=\"#ff0000 > x\">b"), U"ab");
  EXPECT_EQ(characters("a > b & c"), U"a > b & c");
  EXPECT_EQ(characters("ab<"), U"ab");
  EXPECT_EQ(characters("ab<font color=\"#ff0000>cd"), U"ab") << "unterminated quote";
  EXPECT_EQ(characters(std::string("ab\0cd", 5)), U"ab") << "U+0000 ends the text";
  EXPECT_TRUE(characters("ok\xC0 text").empty()) << "malformed UTF-8 shows nothing";
  EXPECT_FALSE(Orb::loadText(*context, "", 0));
}

TEST_F(MarkupScanner, UnknownFaceKeepsTheEnclosingFontButNotItsOtherChanges) {
  auto seen = scan("<font face=\"No Such Family\" color=\"#0000ff\">x");
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].depth, 2u);
  EXPECT_EQ(seen[0].style.font, context->styles.base().font);
  EXPECT_EQ(seen[0].style.fillColour.blue, 255);
  EXPECT_EQ(seen[0].style.fillColour.red, 0);
}

TEST_F(MarkupScanner, LoadingPopsWhatTheLastSubtitleLeftPushed) {
  scan("<u><b><font size=\"+4\">x");
  EXPECT_EQ(context->styles.depth(), 4u);
  auto seen = scan("y");
  EXPECT_EQ(seen[0].depth, 1u);
  EXPECT_EQ(context->styles.base().font->face->handle()->size->metrics.y_ppem, 22);
}

TEST_F(MarkupScanner, MegabytesOfTagsStayBounded) {
  std::string bolds;
  while (bolds.size() < (1u << 20)) bolds += "<b>";
  bolds += "x";
  auto seen = scan(bolds);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].depth, Orb::StyleStack::kMaxDepth);

  std::string faces;
  while (faces.size() < (1u << 20)) faces += "<font face=\"DejaVu Sans\">y</font>";
  seen = scan(faces);
  EXPECT_EQ(seen.size(), faces.size() / 33);
  for (const Seen& s : seen) EXPECT_EQ(s.depth, 2u);
}

TEST(ColourValues, ParseHexInEitherCase) {
  Orb::Colour colour;
  ASSERT_TRUE(Orb::parseColour(U"#A0b1C2", 7, colour));
  EXPECT_EQ(colour.red, 0xA0);
  EXPECT_EQ(colour.green, 0xB1);
  EXPECT_EQ(colour.blue, 0xC2);
  EXPECT_FALSE(Orb::parseColour(U"#A0b1C", 6, colour));
  EXPECT_FALSE(Orb::parseColour(U"A0b1C22", 7, colour));
}

}  // namespace
