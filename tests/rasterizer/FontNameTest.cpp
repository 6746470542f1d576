#include "rasterizer/FontName.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "rasterizer/FamilyList.h"

namespace {

struct Case {
  std::string_view text;
  bool startSet;  // every style flag on before parsing
  const char* family;
  bool bold, italic, underline, strikeOut;
};

// A style word counts only when a colon closes its field; other words switch the flag
// off, empty or missing fields keep what was there.
TEST(FontName, EachClosedFieldSetsOrClearsItsFlag) {
  const Case cases[] = {
      {"Arial:x:Bold:Italic:Underline:StrikeOut", false, "Arial", true, true, true, true},
      {"Georgia:1:Bold:Italic", false, "Georgia", true, false, false, false},
      {"Georgia:1:Bold:Italic:", false, "Georgia", true, true, false, false},
      {"Times New Roman:0:Bold:::", false, "Times New Roman", true, false, false, false},
      {"Verdana:", false, "Verdana", false, false, false, false},
      {"Serif:0:bold:Italic :x:StrikeOut:more", true, "Serif", false, false, false, true},
      {"Serif:0::", true, "Serif", true, true, true, true},
  };
  for (const Case& test : cases) {
    Orb::FontStyle style;
    style.bold = style.italic = style.underline = style.strikeOut = test.startSet;
    ASSERT_TRUE(Orb::parseFontName(test.text, style)) << test.text;
    EXPECT_EQ(style.family, test.family) << test.text;
    EXPECT_EQ(style.bold, test.bold) << test.text;
    EXPECT_EQ(style.italic, test.italic) << test.text;
    EXPECT_EQ(style.underline, test.underline) << test.text;
    EXPECT_EQ(style.strikeOut, test.strikeOut) << test.text;
  }
}

TEST(FontName, TextWithoutFamilyFailsAndChangesNothing) {
  for (std::string_view text : {"", "Georgia", ":Bold:Bold:Italic:", ":"}) {
    Orb::FontStyle style;
    EXPECT_FALSE(Orb::parseFontName(text, style)) << text;
    EXPECT_EQ(style.family, "Arial") << text;
    EXPECT_FALSE(style.bold) << text;
  }
}

TEST(FontName, EmbeddedZeroStaysInsideTheText) {
  // A counted string may hold a 0 byte; the parser must neither stop at it nor read past
  // the count.
  const char text[] = {'A', '\0', 'B', ':', '0', ':', 'B', 'o', 'l', 'd', ':'};
  Orb::FontStyle style;
  ASSERT_TRUE(Orb::parseFontName(std::string_view(text, sizeof text), style));
  EXPECT_EQ(style.family, std::string("A\0B", 3));
  EXPECT_TRUE(style.bold);
}

}  // namespace

TEST(FamilyList, NamesBetweenCommasWithoutTheirBlanks) {
  const std::pair<std::string_view, std::vector<std::string>> cases[] = {
      {"", {}},
      {" , ,\t", {}},
      {"Noto Sans CJK JP", {"Noto Sans CJK JP"}},
      {" Noto Sans Arabic ,DejaVu Sans,\tWenQuanYi Zen Hei\t", {"Noto Sans Arabic", "DejaVu Sans", "WenQuanYi Zen Hei"}},
      {"A,,B,", {"A", "B"}},
  };
  for (const auto& [text, families] : cases) EXPECT_EQ(Orb::parseFamilyList(text), families) << text;
}
