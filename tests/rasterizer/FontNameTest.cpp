#include "rasterizer/FontName.h"

#include <gtest/gtest.h>

namespace {

Orb::FontStyle parsed(std::string_view text, bool expectParsed = true) {
  Orb::FontStyle style;
  EXPECT_EQ(Orb::parseFontName(text, style), expectParsed) << text;
  return style;
}

TEST(FontName, EveryStyleWordSwitchesItsFlag) {
  const Orb::FontStyle style = parsed("Arial:x:Bold:Italic:Underline:StrikeOut");
  EXPECT_EQ(style.family, "Arial");
  EXPECT_TRUE(style.bold);
  EXPECT_TRUE(style.italic);
  EXPECT_TRUE(style.underline);
  EXPECT_TRUE(style.strikeOut);
}

TEST(FontName, AFieldCountsOnlyWhenAColonClosesIt) {
  Orb::FontStyle style = parsed("Georgia:1:Bold:Italic");
  EXPECT_EQ(style.family, "Georgia");
  EXPECT_TRUE(style.bold);
  EXPECT_FALSE(style.italic);

  style = parsed("Georgia:1:Bold:Italic:");
  EXPECT_TRUE(style.bold);
  EXPECT_TRUE(style.italic);
  EXPECT_FALSE(style.underline);
  EXPECT_FALSE(style.strikeOut);
}

TEST(FontName, FamilyWithSpacesAndEmptyFields) {
  Orb::FontStyle style = parsed("Times New Roman:0:Bold:::");
  EXPECT_EQ(style.family, "Times New Roman");
  EXPECT_TRUE(style.bold);
  EXPECT_FALSE(style.italic || style.underline || style.strikeOut);

  style = parsed("Verdana:");
  EXPECT_EQ(style.family, "Verdana");
  EXPECT_FALSE(style.bold || style.italic || style.underline || style.strikeOut);
}

TEST(FontName, WordsAreExactAndOtherWordsSwitchOff) {
  Orb::FontStyle style;
  style.bold = style.italic = style.underline = style.strikeOut = true;
  ASSERT_TRUE(Orb::parseFontName("Serif:0:bold:Italic :x:StrikeOut:more", style));
  EXPECT_FALSE(style.bold);
  EXPECT_FALSE(style.italic);
  EXPECT_FALSE(style.underline);
  EXPECT_TRUE(style.strikeOut);
}

TEST(FontName, EmptyFieldsAndMissingFieldsKeepWhatWasThere) {
  Orb::FontStyle style;
  style.bold = style.italic = style.underline = style.strikeOut = true;
  ASSERT_TRUE(Orb::parseFontName("Serif:0::", style));
  EXPECT_TRUE(style.bold && style.italic && style.underline && style.strikeOut);
}

TEST(FontName, TextWithoutFamilyFailsAndChangesNothing) {
  for (std::string_view text : {"", "Georgia", ":Bold:Bold:Italic:", ":"}) {
    const Orb::FontStyle style = parsed(text, false);
    EXPECT_EQ(style.family, "Arial") << text;
    EXPECT_FALSE(style.bold) << text;
  }
}

TEST(FontName, EmbeddedZeroStaysInsideTheText) {
  // A counted string may hold a 0 byte; the parser must neither stop at it nor read past
  // the count.
  const char text[] = {'A', '\0', 'B', ':', '0', ':', 'B', 'o', 'l', 'd', ':'};
  const Orb::FontStyle style = parsed(std::string_view(text, sizeof text));
  EXPECT_EQ(style.family, std::string("A\0B", 3));
  EXPECT_TRUE(style.bold);
}

}  // namespace
