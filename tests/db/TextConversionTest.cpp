// Strict UTF-8 decoding refuses every ill-formed input as a whole; lenient UTF-16
// encoding keeps lone surrogates; both end at an encoded U+0000.
#include "db/TextConversion.h"

#include <gtest/gtest.h>

namespace {

using kttl::ToUtf16;
using kttl::ToUtf8;

TEST(TextConversionTest, WellFormedTextRoundTripsThroughEveryLength) {
  const std::string text = "A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80\xF4\x8F\xBF\xBF";  // A é € 😀 U+10FFFF
  const kttl::Utf16String wide = ToUtf16(text);
  EXPECT_EQ(wide, (kttl::Utf16String{u'A', 0xE9, 0x20AC, 0xD83D, 0xDE00, 0xDBFF, 0xDFFF}));
  EXPECT_EQ(ToUtf8(wide), text);
  EXPECT_EQ(ToUtf16(""), kttl::Utf16String());
  EXPECT_EQ(ToUtf8(kttl::Utf16String()), "");
}

TEST(TextConversionTest, StrictDecodingRejectsIllFormedSequences) {
  const char* const illFormed[] = {
      "\x80",              // continuation byte as lead
      "\xC0\xAF",          // over-long '/'
      "\xC1\xBF",          // over-long two-byte form
      "\xE0\x80\xAF",      // over-long three-byte form
      "\xF0\x80\x80\xAF",  // over-long four-byte form
      "\xED\xA0\x80",      // encoded high surrogate
      "\xED\xBF\xBF",      // encoded low surrogate
      "\xF4\x90\x80\x80",  // U+110000
      "\xF5\x80\x80\x80",  // lead above F4
      "\xFF",              //
      "\xC3(",             // bad continuation
      "ok\xE2\x82",        // cut off by the end
      "\xF0\x9F\x98",      // cut off by the end
  };
  for (const char* text : illFormed) EXPECT_EQ(ToUtf16(text), kttl::Utf16String()) << text;
}

TEST(TextConversionTest, EncodedZeroEndsTheResultButLaterErrorsStillCount) {
  EXPECT_EQ(ToUtf16(std::string("ab\0cd", 5)), u"ab");
  EXPECT_EQ(ToUtf16(std::string("ab\0\xFF", 4)), kttl::Utf16String());
  EXPECT_EQ(ToUtf8(kttl::Utf16String(u"ab\0cd", 5)), "ab");
  EXPECT_EQ(ToUtf8(kttl::Utf16String{u'a', 0, 0xD800}), "");
}

TEST(TextConversionTest, EncodingWritesEachUnitAtItsLengthAndLoneSurrogatesAsThreeBytes) {
  const std::pair<kttl::Utf16String, std::string> cases[] = {
      {{0x7F}, "\x7F"},
      {{0x80}, "\xC2\x80"},
      {{0x7FF}, "\xDF\xBF"},
      {{0x800}, "\xE0\xA0\x80"},
      {{0xFFFF}, "\xEF\xBF\xBF"},
      {{0xD800, 0xDC00}, "\xF0\x90\x80\x80"},
      {{u'a', 0xDC00, u'b'}, "a\xED\xB0\x80" "b"},
      {{0xD800, u'x'}, "\xED\xA0\x80x"},
      {{0xD800, 0xD800, 0xDC00}, "\xED\xA0\x80\xF0\x90\x80\x80"},
      {{u'a', 0xD800}, ""},  // a high surrogate cut off by the end fails the whole text
  };
  for (const auto& [wide, narrow] : cases) EXPECT_EQ(ToUtf8(wide), narrow) << narrow;
}

}  // namespace
