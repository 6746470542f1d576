// The full layout with real fonts from Debian packages: kerning, Arabic joining,
// Devanagari conjuncts and reordering, mixed directions, wrapping between words (also in
// Thai, which has no spaces), lines aligned on their own and a baseline that stays where
// the fonts' metrics put it.
#include "text/FullLayout.h"

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <hb.h>
#include <unicode/brkiter.h>
#include <unicode/unistr.h>

#include "tests/text/TestFonts.h"
#include "text/ClassicMarkup.h"
#include "text/GlyphSource.h"
#include "text/Utf.h"

namespace {

const std::string kNoto = "/usr/share/fonts/truetype/noto/";
const std::string kArabic = kNoto + "NotoSansArabic-Regular.ttf";
const std::string kThai = kNoto + "NotoSansThai-Regular.ttf";
const std::string kDevanagari = kNoto + "NotoSansDevanagari-Regular.ttf";

std::u32string decoded(const std::string& utf8) {
  std::vector<char32_t> points;
  Orb::decodeUtf8(utf8.data(), utf8.size(), points);
  return std::u32string(points.begin(), points.end());
}

class FullLayout : public ::testing::Test {
 protected:
  // `subtitle` (with markup) laid out in the font at `path`.
  Orb::FullLayout layOut(const std::string& subtitle, const std::string& path = TestFonts::kSans,
                         std::uint32_t maxWidth = 1728, std::uint32_t alignment = 2,
                         std::int32_t size = 49) {
    Orb::MarkupBase base;
    base.style.size = size;
    text = Orb::readClassicMarkup(decoded(subtitle), base);
    const Orb::ResolvedFonts fonts = Orb::resolveFonts(text.fonts, font(path), bench.resolver);
    return engine.layOut(text, fonts, maxWidth, alignment);
  }

  std::shared_ptr<const Orb::FontRecord> font(const std::string& path) {
    auto& record = records[path];
    if (!record) record = bench.open(path);
    return record;
  }

  // The x of the first glyph of the character at `index` of the last text laid out.
  static std::int32_t xOf(const Orb::FullLayout& layout, std::size_t index) {
    for (const Orb::PositionedGlyph& glyph : layout.glyphs) {
      if (glyph.character == index) return glyph.x;
    }
    ADD_FAILURE() << "no glyph for character " << index;
    return -1;
  }

  static std::int32_t widthOf(const Orb::FullLayout& layout) {
    return layout.lines.at(0).right - layout.lines.at(0).left;
  }

  std::u32string lineText(const Orb::FullLine& line) const {
    return text.text.substr(line.begin, line.end - line.begin);
  }

  TestFonts::FontBench bench;
  std::map<std::string, std::shared_ptr<Orb::FontRecord>> records;
  Orb::FullLayoutEngine engine;
  Orb::StyledText text;
};

TEST_F(FullLayout, AKernedPairIsNarrowerThanItsLettersAndTheClassicAdvances) {
  const std::int32_t pair = widthOf(layOut("AV"));
  EXPECT_LT(pair, widthOf(layOut("A")) + widthOf(layOut("V")));
  Orb::GlyphSource glyphs(bench.library.handle());
  std::int32_t classic = 0;
  for (const char32_t letter : {U'A', U'V'}) {
    const auto found = glyphs.image(Orb::GlyphRequest{font(TestFonts::kSans)->face.get(), 49,
                                                      {0x10000, 0, 0, 0x10000}, 0, letter, false,
                                                      Orb::strokeRadius(49)});
    ASSERT_NE(found.image, nullptr);
    classic += found.image->advance;
  }
  EXPECT_LT(pair + 3, classic) << "kerned, and without the classic pixel per letter";
}

// The glyph ids of `utf8` shaped by HarfBuzz alone with the font at `path`, left to right.
std::vector<std::uint32_t> shapedAlone(const std::string& path, const std::string& utf8) {
  hb_blob_t* blob = hb_blob_create_from_file(path.c_str());
  hb_face_t* face = hb_face_create(blob, 0);
  hb_font_t* hbFont = hb_font_create(face);
  hb_buffer_t* buffer = hb_buffer_create();
  hb_buffer_add_utf8(buffer, utf8.data(), static_cast<int>(utf8.size()), 0, -1);
  hb_buffer_guess_segment_properties(buffer);
  hb_shape(hbFont, buffer, nullptr, 0);
  unsigned count = 0;
  const hb_glyph_info_t* infos = hb_buffer_get_glyph_infos(buffer, &count);
  std::vector<std::uint32_t> ids;
  for (unsigned i = 0; i < count; ++i) ids.push_back(infos[i].codepoint);  // visual order
  hb_buffer_destroy(buffer);
  hb_font_destroy(hbFont);
  hb_face_destroy(face);
  hb_blob_destroy(blob);
  return ids;
}

std::vector<Orb::PositionedGlyph> leftToRight(const Orb::FullLayout& layout) {
  std::vector<Orb::PositionedGlyph> visual = layout.glyphs;
  std::stable_sort(visual.begin(), visual.end(),
                   [](const Orb::PositionedGlyph& a, const Orb::PositionedGlyph& b) { return a.x < b.x; });
  return visual;
}

TEST_F(FullLayout, ArabicIsDrawnInTheJoinedFormsHarfBuzzGives) {
  const std::string word = "\xD8\xB3\xD9\x84\xD8\xA7\xD9\x85";  // salaam: seen, lam, alef, meem
  const Orb::FullLayout layout = layOut(word, kArabic);
  const std::vector<Orb::PositionedGlyph> visual = leftToRight(layout);
  const std::vector<std::uint32_t> expected = shapedAlone(kArabic, word);
  ASSERT_EQ(visual.size(), expected.size());
  std::size_t joined = 0;
  const FT_Face ftFace = font(kArabic)->face->handle();
  for (std::size_t i = 0; i < visual.size(); ++i) {
    EXPECT_EQ(visual[i].glyph.glyph, expected[i]) << i;
    joined += visual[i].glyph.glyph != FT_Get_Char_Index(ftFace, text.text[visual[i].character]);
  }
  EXPECT_GE(joined, 2u) << "letters in the middle of the word take their joining forms";
  EXPECT_GT(xOf(layout, 0), xOf(layout, 3)) << "read from the right";
}

TEST_F(FullLayout, DevanagariTakesItsConjunctAndPutsTheVowelSignBeforeItsConsonant) {
  // ksha (ka, virama, ssa), then ki (ka and the vowel sign i, drawn left of the ka).
  const std::string word = "\u0915\u094D\u0937\u0915\u093F";
  const Orb::FullLayout layout = layOut(word, kDevanagari);
  const std::vector<Orb::PositionedGlyph> visual = leftToRight(layout);
  std::vector<std::uint32_t> ids;
  for (const Orb::PositionedGlyph& glyph : visual) ids.push_back(glyph.glyph.glyph);
  EXPECT_EQ(ids, shapedAlone(kDevanagari, word));
  const FT_Face ftFace = font(kDevanagari)->face->handle();
  ASSERT_EQ(visual.size(), 3u) << "one glyph for the conjunct, two for ki";
  const FT_UInt ka = FT_Get_Char_Index(ftFace, 0x0915);
  EXPECT_NE(visual[1].glyph.glyph, ka) << "the sign (in a form that fits the ka) comes first";
  EXPECT_EQ(visual[2].glyph.glyph, ka);
}

TEST_F(FullLayout, HebrewRunsRightToLeftWithItsDigitsLeftToRight) {
  // "abc " then alef, bet, gimel, " 123": the paragraph is left to right.
  const Orb::FullLayout layout = layOut("abc \xD7\x90\xD7\x91\xD7\x92 123");
  EXPECT_LT(xOf(layout, 0), xOf(layout, 2));
  EXPECT_LT(xOf(layout, 2), xOf(layout, 4)) << "the Latin run comes first";
  EXPECT_GT(xOf(layout, 4), xOf(layout, 5)) << "alef right of bet";
  EXPECT_GT(xOf(layout, 5), xOf(layout, 6)) << "bet right of gimel";
  EXPECT_LT(xOf(layout, 8), xOf(layout, 9)) << "1 left of 2";
  EXPECT_LT(xOf(layout, 9), xOf(layout, 10)) << "2 left of 3";
  EXPECT_LT(xOf(layout, 10), xOf(layout, 6)) << "the number stands left of the Hebrew it follows";
}

TEST_F(FullLayout, WrapsBetweenWordsIntoBalancedLinesWithinTheWidth) {
  const std::string said =
      "This subtitle is long enough that it cannot fit on one line of the text area, so it "
      "has to be wrapped at word boundaries into lines of about the same width.";
  const Orb::FullLayout layout = layOut(said, TestFonts::kSans, 900);
  ASSERT_GE(layout.lines.size(), 2u);
  for (std::size_t i = 0; i < layout.lines.size(); ++i) {
    const Orb::FullLine& line = layout.lines[i];
    EXPECT_LE(line.right - line.left, 900);
    if (i + 1 < layout.lines.size()) {
      EXPECT_EQ(text.text[line.end], U' ') << "line " << i << " ends before a blank";
      EXPECT_GE(line.right - line.left, layout.lines[i + 1].right - layout.lines[i + 1].left)
          << "an upper line is no shorter than the one below";
    }
  }
  // A word longer than a line is broken inside, and only then.
  const Orb::FullLayout longWord = layOut("a " + std::string(80, 'W') + " b", TestFonts::kSans, 900);
  ASSERT_GE(longWord.lines.size(), 3u);
  EXPECT_EQ(lineText(longWord.lines[0]), U"a") << "the word starts a line of its own";
  EXPECT_NE(text.text[longWord.lines[1].end], U' ');
  for (const Orb::FullLine& line : longWord.lines) EXPECT_LE(line.right - line.left, 900);
}

TEST_F(FullLayout, ThaiWithoutSpacesBreaksBetweenWords) {
  // "Thai is a language written without spaces between its words", three times over.
  std::string sentence;
  for (int i = 0; i < 3; ++i) {
    sentence += "\xE0\xB8\xA0\xE0\xB8\xB2\xE0\xB8\xA9\xE0\xB8\xB2\xE0\xB9\x84\xE0\xB8\x97\xE0"
                "\xB8\xA2\xE0\xB9\x80\xE0\xB8\x9B\xE0\xB9\x87\xE0\xB8\x99\xE0\xB8\xA0\xE0\xB8"
                "\xB2\xE0\xB8\xA9\xE0\xB8\xB2\xE0\xB8\x97\xE0\xB8\xB5\xE0\xB9\x88\xE0\xB9\x84"
                "\xE0\xB8\xA1\xE0\xB9\x88\xE0\xB8\xA1\xE0\xB8\xB5\xE0\xB8\x81\xE0\xB8\xB2\xE0"
                "\xB8\xA3\xE0\xB9\x80\xE0\xB8\xA7\xE0\xB9\x89\xE0\xB8\x99\xE0\xB8\xA7\xE0\xB8"
                "\xA3\xE0\xB8\xA3\xE0\xB8\x84";
  }
  const Orb::FullLayout layout = layOut(sentence, kThai, 700);
  ASSERT_GE(layout.lines.size(), 2u);
  // Word boundaries as ICU's dictionary finds them, asked independently.
  UErrorCode status = U_ZERO_ERROR;
  std::unique_ptr<icu::BreakIterator> words(
      icu::BreakIterator::createWordInstance(icu::Locale("th"), status));
  ASSERT_TRUE(U_SUCCESS(status));
  const icu::UnicodeString units = icu::UnicodeString::fromUTF8(sentence);
  words->setText(units);
  for (std::size_t i = 0; i + 1 < layout.lines.size(); ++i) {
    const std::int32_t unit = units.moveIndex32(0, static_cast<std::int32_t>(layout.lines[i].end));
    EXPECT_TRUE(words->isBoundary(unit)) << "line " << i << " ends inside a word";
    EXPECT_LE(layout.lines[i].right - layout.lines[i].left, 700);
  }
}

TEST_F(FullLayout, EachLineIsAlignedOnItsOwn) {
  const std::string lines = "A short line\nand a considerably longer line below it\nmid-sized";
  const Orb::FullLayout centred = layOut(lines);
  ASSERT_EQ(centred.lines.size(), 3u);
  const double centre = (centred.anchor.left + centred.anchor.right) / 2.0;
  for (const Orb::FullLine& line : centred.lines) {
    EXPECT_NEAR((line.left + line.right) / 2.0, centre, 1.0);
  }
  for (const Orb::FullLine& line : layOut(lines, TestFonts::kSans, 1728, 7).lines) {
    EXPECT_EQ(line.left, 0);
  }
  const Orb::FullLayout right = layOut(lines, TestFonts::kSans, 1728, 3);
  for (const Orb::FullLine& line : right.lines) EXPECT_NEAR(line.right, right.anchor.right, 1.0);
}

TEST_F(FullLayout, TheBaselineComesFromTheFontsNotTheInk) {
  const Orb::FullLayout ha = layOut("Ha");
  const Orb::FullLayout hy = layOut("Hy");
  EXPECT_EQ(ha.anchor.bottom, hy.anchor.bottom);
  EXPECT_EQ(ha.glyphs.at(0).y, hy.glyphs.at(0).y);
  // Lines are as far apart as the font asks, whatever they hold.
  const Orb::FullLayout two = layOut("aaa\nggg");
  const Orb::FullLayout tall = layOut("HHH\nHHH");
  EXPECT_EQ(two.glyphs.back().y - two.glyphs.front().y, tall.glyphs.back().y - tall.glyphs.front().y);
  EXPECT_GT(two.glyphs.back().y - two.glyphs.front().y, 49);
}

TEST_F(FullLayout, UnderlineSpansItsRunAcrossLettersAndIsOutlined) {
  const Orb::FullLayout layout = layOut("<u>under</u> plain <s>struck</s>");
  ASSERT_EQ(layout.decorations.size(), 2u);
  const Orb::Decoration& under = layout.decorations[0];
  const Orb::Decoration& struck = layout.decorations[1];
  EXPECT_EQ(under.left / 64, xOf(layout, 0));
  EXPECT_GT(under.top, layout.glyphs[0].y * 64) << "below the baseline";
  EXPECT_LT(struck.top + struck.height, layout.glyphs[0].y * 64) << "above it";
  EXPECT_GT(under.width / 64, 100);
  EXPECT_EQ(under.strokeRadius, Orb::proportionalStrokeRadius(49));
}

TEST(FullLayoutOutline, GrowsWithTheSizeFromTheClassicAt1080p) {
  EXPECT_EQ(Orb::proportionalStrokeRadius(49), Orb::strokeRadius(49));
  EXPECT_EQ(Orb::proportionalStrokeRadius(98), 2 * Orb::strokeRadius(49));
  EXPECT_EQ(Orb::proportionalStrokeRadius(33), (33 * 149 + 24) / 49);
}

}  // namespace
