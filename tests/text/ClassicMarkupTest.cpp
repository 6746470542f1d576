#include "text/ClassicMarkup.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "text/PixelSize.h"
#include "text/Utf.h"

namespace {

// One character as layout gets it, with its style and the font request it draws with.
struct Seen {
  char32_t codePoint;
  Orb::TextStyle style;
  Orb::FontRequest font;
  bool pushed;  // in a style other than the base
};

class ClassicMarkup : public ::testing::Test {
 protected:
  ClassicMarkup() {
    base.style.size = 22;
    base.style.fill = Orb::Colour{255, 255, 255, 0};
  }

  std::vector<Seen> scan(const std::string& subtitle) {
    std::vector<char32_t> decoded;
    Orb::decodeUtf8(subtitle.data(), subtitle.size(), decoded);
    const std::u32string text(decoded.begin(), std::find(decoded.begin(), decoded.end(), U'\0'));
    read = Orb::readClassicMarkup(text, base);
    std::vector<Seen> seen;
    for (const Orb::StyledRun& run : read.runs) {
      for (std::size_t i = run.begin; i < run.end; ++i) {
        seen.push_back({read.text[i], run.style, read.fonts.at(run.style.font),
                        run.style != base.style});
      }
    }
    return seen;
  }

  std::u32string characters(const std::string& subtitle) {
    std::u32string out;
    for (const Seen& s : scan(subtitle)) out.push_back(s.codePoint);
    return out;
  }

  Orb::MarkupBase base;
  Orb::StyledText read;
};

TEST_F(ClassicMarkup, BoldAndItalicAskForFontsOfTheirOwnThatDoNotInherit) {
  auto seen = scan("a<b>b</b>c");
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_EQ(seen[0].style.font, 0u);
  EXPECT_EQ(seen[1].font.bold, 1);
  EXPECT_EQ(seen[1].font.parent, 0u);
  EXPECT_NE(seen[1].style.font, 0u);
  EXPECT_EQ(seen[2].style.font, 0u);
  EXPECT_EQ(read.runs.size(), 3u);

  seen = scan("<b><i>x</i></b>");
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].font.italic, 1);
  EXPECT_EQ(seen[0].font.bold, 0);
  EXPECT_EQ(read.fonts.at(seen[0].font.parent).bold, 1) << "derived from the bold font";
}

TEST_F(ClassicMarkup, ClosingTagsPopWhateverIsOnTop) {
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
  EXPECT_FALSE(seen[0].pushed);
  EXPECT_EQ(seen[1].style.strikeOut, 1);
  EXPECT_EQ(seen[2].style.strikeOut, 0);
}

TEST_F(ClassicMarkup, TagsAreCaseAndBlankSensitive) {
  for (const char* subtitle : {"<B>x", "<i >x", "<f>x", "<font>x", "<fo>x", "<>x"}) {
    auto seen = scan(subtitle);
    ASSERT_EQ(seen.size(), 1u) << subtitle;
    EXPECT_FALSE(seen[0].pushed) << subtitle;
  }
}

TEST_F(ClassicMarkup, FontColourNeedsExactSyntax) {
  auto seen = scan("<font color=\"#00ff00\">x");
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].style.fill.red, 0);
  EXPECT_EQ(seen[0].style.fill.green, 255);
  EXPECT_EQ(seen[0].style.fill.blue, 0);
  EXPECT_EQ(seen[0].style.font, 0u) << "colour alone keeps the font";

  for (const char* subtitle :
       {"<font color=\"green\">x", "<font color=#00ff00>x", "<font color=\"#00ff00\" >x",
        "<font color=\"#0f0\">x", "<font color=\"00ff00\">x", "<font color=\"#00ff00a\">x",
        "<font color=\"#00fg00\">x", "<font  >x", "<font color>x", "<font color=\"#00ff00>x\">y"}) {
    auto ignored = scan(subtitle);
    ASSERT_FALSE(ignored.empty()) << subtitle;
    EXPECT_FALSE(ignored.back().pushed) << subtitle;
  }
}

TEST_F(ClassicMarkup, SizeStepsAreSignedAndDoubled) {
  EXPECT_EQ(scan("<font size=\"+3\">x")[0].style.size, 28);
  EXPECT_EQ(scan("<font size=\"-2\">x")[0].style.size, 18);
  EXPECT_FALSE(scan("<font size=\"12\">x")[0].pushed);
  EXPECT_FALSE(scan("<font size=\"+0\">x")[0].pushed);
  // Several attributes, separated by blanks, a later one of a name replacing the earlier.
  auto seen = scan("<font size=\"+1\" color=\"#102030\" size=\"+2\">x");
  EXPECT_EQ(seen[0].style.size, 26);
  EXPECT_EQ(seen[0].style.fill.blue, 0x30);
}

TEST_F(ClassicMarkup, HostileSizesStayWithinWhatFreeTypeAccepts) {
  for (const char* subtitle : {"<font size=\"+999999999999\">x", "<font size=\"+4294967296\">x",
                               "<font size=\"+\xF4\x8F\xBF\xBF\xF4\x8F\xBF\xBF\">x"}) {
    auto seen = scan(subtitle);
    ASSERT_EQ(seen.size(), 1u) << subtitle;
    EXPECT_EQ(seen[0].style.size, Orb::kMaxPixelSize) << subtitle;
  }
  EXPECT_EQ(scan("<font size=\"-999999999999\">x")[0].style.size,
            Orb::kMinPixelSize);
  EXPECT_EQ(scan("<font size=\"-11\">x")[0].style.size, Orb::kMinPixelSize);
}

TEST_F(ClassicMarkup, PoppingReturnsToTheSizeBelow) {
  const auto seen = scan("<font size=\"+5\">a</font>b");
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].style.size, 32);
  EXPECT_EQ(seen[1].style.size, 22);
}

TEST_F(ClassicMarkup, OverrideFlagsIgnoreOnlyTheirAttributes) {
  base.overrideEmbeddedColour = true;
  auto seen = scan("<font color=\"#ff0000\" size=\"+1\">x");
  EXPECT_EQ(seen[0].style.size, 24);
  EXPECT_EQ(seen[0].style.fill.red, 255);
  EXPECT_EQ(seen[0].style.fill.green, 255) << "colour was not applied";

  base.overrideEmbeddedColour = false;
  base.overrideEmbeddedFont = true;
  seen = scan("<font color=\"#ff0000\" size=\"+1\" face=\"DejaVu Serif\">x");
  EXPECT_EQ(seen[0].style.size, 22);
  EXPECT_EQ(seen[0].style.fill.green, 0);
  EXPECT_EQ(seen[0].style.font, 0u);
}

TEST_F(ClassicMarkup, QuotesAndStrayBracketsAreCharactersOrDelimiters) {
  EXPECT_EQ(characters("a<font color=\"#ff0000 > x\">b"), U"ab");
  EXPECT_EQ(characters("a > b & c"), U"a > b & c");
  EXPECT_EQ(characters("ab<"), U"ab");
  EXPECT_EQ(characters("ab<font color=\"#ff0000>cd"), U"ab") << "unterminated quote";
  EXPECT_EQ(characters(std::string("ab\0cd", 5)), U"ab") << "U+0000 ends the text";
}

TEST_F(ClassicMarkup, AFaceAttributeAsksForTheFamilyBesideItsOtherChanges) {
  auto seen = scan("<font face=\"No Such Family\" color=\"#0000ff\">x");
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].font.family, "No Such Family");
  EXPECT_EQ(seen[0].font.parent, 0u);
  EXPECT_EQ(seen[0].style.fill.blue, 255);
  EXPECT_EQ(seen[0].style.fill.red, 0);
}

TEST_F(ClassicMarkup, MegabytesOfTagsStayBounded) {
  std::string bolds;
  while (bolds.size() < (1u << 20)) bolds += "<b>";
  bolds += "x<u>y";
  auto seen = scan(bolds);
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(read.fonts.size(), 1 + Orb::ClassicMarkupLimits::kFaceRequests)
      << "only so many tags may ask for a face";
  EXPECT_EQ(seen[1].style.underline, 0) << "the stack was full: <u> pushed nothing";

  std::string faces;
  while (faces.size() < (1u << 20)) faces += "<font face=\"DejaVu Sans\">y</font>";
  seen = scan(faces);
  EXPECT_EQ(seen.size(), faces.size() / 33);
  EXPECT_EQ(read.fonts.size(), 1 + Orb::ClassicMarkupLimits::kFaceRequests);
  EXPECT_EQ(seen.back().style.font, 0u) << "later tags keep the enclosing font";
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
