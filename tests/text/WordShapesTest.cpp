// Words shaped once and put together again: where a run is cut into words, and that a line
// made from kept words is laid out exactly as one shaped whole, in scripts whose shaping
// reaches across letters (kerning, joining, conjuncts) and in both directions.
#include "text/WordShapes.h"

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "tests/text/TestFonts.h"
#include "text/ClassicMarkup.h"
#include "text/FullLayout.h"
#include "text/Utf.h"

namespace {

std::u32string decoded(const std::string& utf8) {
  std::vector<char32_t> points;
  Orb::decodeUtf8(utf8.data(), utf8.size(), points);
  return std::u32string(points.begin(), points.end());
}

std::vector<std::pair<std::size_t, std::size_t>> wordsOf(const std::u32string& text) {
  std::vector<std::pair<std::size_t, std::size_t>> words;
  Orb::WordShapes::forEachWord(text, 0, text.size(), [&](std::size_t begin, std::size_t end) {
    words.emplace_back(begin, end);
  });
  return words;
}

using Words = std::vector<std::pair<std::size_t, std::size_t>>;

TEST(WordShapes, AWordTakesTheSpacesAfterItAndWhatClingsToThem) {
  EXPECT_EQ(wordsOf(U"To be  or"), (Words{{0, 3}, {3, 7}, {7, 9}}));
  EXPECT_EQ(wordsOf(U"  lead"), (Words{{0, 2}, {2, 6}})) << "leading spaces go alone";
  EXPECT_EQ(wordsOf(U"a b "), (Words{{0, 2}, {2, 4}}));
  // A combining mark or a joiner after a space belongs with the space: no word starts there.
  EXPECT_EQ(wordsOf(U"a \u0301b c"), (Words{{0, 5}, {5, 6}}));
  EXPECT_EQ(wordsOf(U"a \u200Db"), (Words{{0, 4}}));
  EXPECT_TRUE(wordsOf(U"").empty());
}

TEST(WordShapes, AWordStandsAloneOnlyBetweenSpacesOrTheParagraphsEnds) {
  const std::u32string text = U"one two three";
  EXPECT_TRUE(Orb::WordShapes::standsAlone(text, 0, 4));
  EXPECT_TRUE(Orb::WordShapes::standsAlone(text, 4, 8));
  EXPECT_TRUE(Orb::WordShapes::standsAlone(text, 8, 13));
  EXPECT_FALSE(Orb::WordShapes::standsAlone(text, 5, 8)) << "a letter before it";
  EXPECT_FALSE(Orb::WordShapes::standsAlone(text, 4, 7)) << "a letter after it";
}

TEST(WordShapes, KeepsWhatItIsGivenPerFaceSizeDirectionScriptAndText) {
  Orb::WordShapes words;
  const Orb::WordShapes::Key key{7, 49, HB_DIRECTION_LTR, HB_SCRIPT_LATIN, U"word "};
  Orb::ShapedGlyph glyph;
  glyph.glyph = 42;
  words.keep(key, {glyph});
  ASSERT_NE(words.find(key), nullptr);
  EXPECT_EQ(words.find(key)->at(0).glyph, 42u);
  std::vector<Orb::WordShapes::Key> others(5, key);
  others[0].faceSerial = 8;
  others[1].size = 50;
  others[2].direction = HB_DIRECTION_RTL;
  others[3].script = HB_SCRIPT_ARABIC;
  others[4].text = U"word";
  for (const Orb::WordShapes::Key& other : others) EXPECT_EQ(words.find(other), nullptr);
  // Nothing longer than a real word is kept, and nothing at all once turned off.
  const std::u32string longest(Orb::WordShapes::kLongestWord, U'x');
  const std::u32string longer = longest + U'x';
  for (const std::u32string* text : {&longest, &longer}) {
    Orb::WordShapes::Key word = key;
    word.text = *text;
    words.keep(word, {glyph});
    EXPECT_EQ(words.find(word) != nullptr, text == &longest);
  }
  words.limit(0);
  EXPECT_EQ(words.find(key), nullptr);
  words.keep(key, {glyph});
  EXPECT_EQ(words.find(key), nullptr);
}

class KeptWords : public ::testing::Test {
 protected:
  Orb::FullLayout layOut(Orb::FullLayoutEngine& engine, const std::string& subtitle,
                         const std::string& path) {
    Orb::MarkupBase base;
    base.style.size = 49;
    texts.push_back(std::make_unique<Orb::StyledText>(Orb::readClassicMarkup(decoded(subtitle), base)));
    auto& record = records[path];
    if (!record) record = bench.open(path);
    resolved.push_back(std::make_unique<Orb::ResolvedFonts>(
        Orb::resolveFonts(texts.back()->fonts, record, bench.resolver)));
    return engine.layOut(*texts.back(), *resolved.back(), 1728, 2);
  }

  // Every subtitle laid out by an engine that has seen all of them, words and all, is laid
  // out as by an engine that never saw any.
  void expectAlike(const std::string& path, const std::vector<std::string>& subtitles) {
    Orb::FullLayoutEngine seasoned;
    for (int round = 0; round < 2; ++round) {
      for (const std::string& subtitle : subtitles) layOut(seasoned, subtitle, path);
    }
    for (const std::string& subtitle : subtitles) {
      Orb::FullLayoutEngine fresh;
      const Orb::FullLayout expected = layOut(fresh, subtitle, path);
      const Orb::FullLayout got = layOut(seasoned, subtitle, path);
      ASSERT_EQ(got.glyphs.size(), expected.glyphs.size()) << subtitle;
      for (std::size_t i = 0; i < got.glyphs.size(); ++i) {
        EXPECT_EQ(got.glyphs[i].glyph.glyph, expected.glyphs[i].glyph.glyph) << subtitle << " #" << i;
        EXPECT_EQ(got.glyphs[i].x, expected.glyphs[i].x) << subtitle << " #" << i;
        EXPECT_EQ(got.glyphs[i].y, expected.glyphs[i].y) << subtitle << " #" << i;
        EXPECT_EQ(got.glyphs[i].character, expected.glyphs[i].character) << subtitle << " #" << i;
      }
    }
  }

  TestFonts::FontBench bench;
  std::map<std::string, std::shared_ptr<Orb::FontRecord>> records;
  std::vector<std::unique_ptr<Orb::StyledText>> texts;
  std::vector<std::unique_ptr<Orb::ResolvedFonts>> resolved;
};

const std::string kNoto = "/usr/share/fonts/truetype/noto/";

TEST_F(KeptWords, LatinKernsAsOneLine) {
  expectAlike(TestFonts::kSans, {"To AV Wa Ty yo. Vo", "Wa Ty To yo. AV", "AV AV To To Wa",
                                 "<b>To</b> AV<i>Wa</i> Ty", "Vo  Wa   To"});
}

TEST_F(KeptWords, ArabicJoinsAndTakesItsMarksAsOneLine) {
  // Words of the bench's corpus in new orders, a mark after a space, and digits.
  const std::string hello = "\xD9\x85\xD8\xB1\xD8\xAD\xD8\xA8\xD8\xA7";
  const std::string night = "\xD8\xA7\xD9\x84\xD9\x84\xD9\x8A\xD9\x84\xD8\xA9";
  const std::string where = "\xD8\xA3\xD9\x8A\xD9\x86";
  for (const std::string& path : {TestFonts::kSans, kNoto + "NotoSansArabic-Regular.ttf"}) {
    expectAlike(path, {hello + " " + night + " " + where, where + " " + hello + " " + night,
                       night + " \xD9\x8E" + where + " " + hello, hello + " 42 " + where,
                       "Sarah " + hello + " London " + night});
  }
}

TEST_F(KeptWords, HebrewAndDevanagariAsOneLine) {
  const std::string shalom = "\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D";
  const std::string ani = "\xD7\x90\xD7\xA0\xD7\x99";
  expectAlike(TestFonts::kSans, {shalom + " " + ani + " 10:30 (3)", ani + " BBC " + shalom,
                                 "abc " + ani + " " + shalom + " 123"});
  const std::string hindi = "\xE0\xA4\xB9\xE0\xA4\xBF\xE0\xA4\xA8\xE0\xA5\x8D\xE0\xA4\xA6\xE0\xA5\x80";
  const std::string kshatriya =
      "\xE0\xA4\x95\xE0\xA5\x8D\xE0\xA4\xB7\xE0\xA4\xA4\xE0\xA5\x8D\xE0\xA4\xB0\xE0\xA4\xBF\xE0\xA4\xAF";
  expectAlike(kNoto + "NotoSansDevanagari-Regular.ttf",
              {hindi + " " + kshatriya, kshatriya + " " + hindi + " " + hindi});
}

}  // namespace
