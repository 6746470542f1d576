// Per-character font fallback at the face-resolution stage: which face each character ends
// up with, what the lookup is asked, and what stays as it was.
#include "text/FontFallback.h"

#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "tests/text/TestFonts.h"

namespace {

// Finds the collection's first face for every character from U+2E80 on and nothing else,
// recording each question.
struct CharacterLookupStub : Orb::FaceLookup {
  std::vector<std::tuple<char32_t, bool, bool>> asked;

  bool findFace(const std::string&, bool, bool, Orb::FaceLocation&) override { return false; }
  bool findFaceWithCharacter(char32_t codePoint, bool bold, bool italic,
                             Orb::FaceLocation& location) override {
    asked.emplace_back(codePoint, bold, italic);
    if (codePoint < 0x2E80) return false;
    location.path = TestFonts::kCollection;
    location.faceIndex = 0;
    return true;
  }
};

class FontFallback : public ::testing::Test {
 protected:
  // `text` in one run of `base`, after fallback: each run as "text@font", every character
  // beyond ASCII shown as "*", the font as "base" or its family.
  std::vector<std::string> fallBack(const std::u32string& text,
                                    std::shared_ptr<Orb::FontRecord> base,
                                    const std::shared_ptr<const Orb::FontRecord>& embedded = nullptr,
                                    std::size_t limit = 1000) {
    styled = Orb::StyledText{};
    styled.text = text;
    styled.fonts.push_back(Orb::FontRequest{});
    styled.runs.push_back(Orb::StyledRun{0, text.size(), Orb::TextStyle{}});
    resolved = Orb::ResolvedFonts{{base}};
    Orb::applyFontFallback(styled, resolved, fonts.resolver, embedded, limit);
    std::vector<std::string> runs;
    for (const Orb::StyledRun& run : styled.runs) {
      std::string utf8;
      for (std::size_t i = run.begin; i < run.end; ++i) utf8 += static_cast<char>(text[i] < 0x80 ? text[i] : '*');
      const Orb::FontRecord& font = *resolved.ofRequest.at(run.style.font);
      const std::string file = font.face->handle()->family_name;
      runs.push_back(utf8 + "@" + (run.style.font == 0 ? "base" : file));
    }
    return runs;
  }

  using Asked = std::vector<std::tuple<char32_t, bool, bool>>;
  CharacterLookupStub lookup;
  TestFonts::FontBench fonts{&lookup};
  Orb::StyledText styled;
  Orb::ResolvedFonts resolved;
};

TEST_F(FontFallback, MissingCharactersTakeTheFoundFaceOnceEachAndTheRestStays) {
  const auto sans = fonts.open(TestFonts::kSans);
  EXPECT_EQ(fallBack(U"a日本日b\u0378", sans),
            (std::vector<std::string>{"a@base", "***@WenQuanYi Zen Hei", "b*@base"}))
      << "U+0378 no face has stays with the run";
  EXPECT_EQ(lookup.asked, (Asked{{U'日', false, false}, {U'本', false, false}, {0x378, false, false}}));
  EXPECT_EQ(resolved.ofRequest.size(), 2u) << "one font added for both characters";
  EXPECT_EQ(fallBack(U"日日本", sans, nullptr, 2), (std::vector<std::string>{"**@WenQuanYi Zen Hei", "*@base"}))
      << "past the limit nothing is looked at";
}

TEST_F(FontFallback, InvisibleAndCombiningCharactersStayWithTheFaceBeforeThem) {
  const auto sans = fonts.open(TestFonts::kSans);
  // U+3099 combines with the kana before it; U+2066 and the line feed draw nothing.
  EXPECT_EQ(fallBack(U"\u304B\u3099\u2066\n\u672C", sans),
            (std::vector<std::string>{"***\n*@WenQuanYi Zen Hei"}));
  EXPECT_EQ(lookup.asked, (Asked{{U'\u304B', false, false}, {U'\u672C', false, false}}));
  EXPECT_EQ(fallBack(U"\u2066a\u3099", sans), (std::vector<std::string>{"*a@base", "*@WenQuanYi Zen Hei"}))
      << "a combining character the base lacks is looked up when its base has no other face";
}

TEST_F(FontFallback, TheEmbeddedFontComesFirstAndStyleIsAskedAndShearedAsTheRunIs) {
  const auto sans = fonts.open(TestFonts::kSans);
  const auto embedded = fonts.open(TestFonts::kCollection);
  EXPECT_EQ(fallBack(U"日", sans, embedded), (std::vector<std::string>{"*@WenQuanYi Zen Hei"}));
  EXPECT_TRUE(lookup.asked.empty());
  EXPECT_EQ(resolved.ofRequest[1], embedded);

  auto boldItalic = std::make_shared<Orb::FontRecord>();
  boldItalic->path = TestFonts::kDir + "DejaVuSans-BoldOblique.ttf";
  ASSERT_TRUE(fonts.resolver.resolve(*boldItalic));
  boldItalic->bold = boldItalic->italic = 1;
  fallBack(U"日", boldItalic);
  EXPECT_EQ(lookup.asked, (Asked{{U'日', true, true}}));
  EXPECT_EQ(resolved.ofRequest.at(1)->transform.xy, Orb::kSyntheticItalicShear) << "the face is upright";
}

TEST_F(FontFallback, LookupsPerSubtitleAreBounded) {
  std::u32string manyMissing;
  for (char32_t c = 0x0530; c < 0x0530 + 2 * Orb::FontFallbackLimits::kLookupsPerSubtitle; ++c) manyMissing += c;
  fallBack(manyMissing, fonts.open(TestFonts::kSans));
  EXPECT_LE(lookup.asked.size(), Orb::FontFallbackLimits::kLookupsPerSubtitle);
  EXPECT_EQ(styled.runs.size(), 1u);
}

}  // namespace
