#include "tools/TextDecoder.h"

#include <gtest/gtest.h>

namespace QuillRender {
namespace {

std::string utf16(const std::u16string& text, bool bigEndian) {
  std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (const char16_t unit : text) {
    const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
    bytes += bigEndian ? high : low;
    bytes += bigEndian ? low : high;
  }
  return bytes;
}

TEST(TextDecoder, Utf8PassesWithOrWithoutMark) {
  const std::string text = "1\r\n00:00:01,000 --> 00:00:02,000\r\nCr\xC3\xA8me \xF0\x9F\x98\x80\r\n";
  const DecodedText plain = decodeSubtitleText(text, "");
  const DecodedText marked = decodeSubtitleText("\xEF\xBB\xBF" + text, "");
  ASSERT_TRUE(plain.ok);
  ASSERT_TRUE(marked.ok);
  EXPECT_EQ(plain.utf8, text);
  EXPECT_EQ(marked.utf8, text);
}

TEST(TextDecoder, Utf16WithMarkIsRecognisedInEitherByteOrder) {
  const std::u16string text = u"1\r\nCr\u00E8me \U0001F600\n";
  const std::string expected = "1\r\nCr\xC3\xA8me \xF0\x9F\x98\x80\n";
  for (const bool bigEndian : {false, true}) {
    const DecodedText decoded = decodeSubtitleText(utf16(text, bigEndian), "");
    ASSERT_TRUE(decoded.ok) << decoded.error;
    EXPECT_EQ(decoded.utf8, expected);
  }
}

TEST(TextDecoder, InvalidUtf8NamesTheLineAndSuggestsACharset) {
  const DecodedText decoded = decodeSubtitleText("1\n00:00:01,000 --> 00:00:02,000\nCr\xE8me\n", "");
  EXPECT_FALSE(decoded.ok);
  EXPECT_TRUE(decoded.utf8.empty());
  EXPECT_EQ(decoded.badLine, 3u);
  EXPECT_NE(decoded.error.find("0xE8"), std::string::npos);
  EXPECT_NE(decoded.error.find("--charset"), std::string::npos);
}

TEST(TextDecoder, NamedCharsetIsConverted) {
  const DecodedText decoded = decodeSubtitleText("Cr\xE8me br\xFBl\xE9" "e \x80", "WINDOWS-1252");
  ASSERT_TRUE(decoded.ok) << decoded.error;
  EXPECT_EQ(decoded.utf8, "Cr\xC3\xA8me br\xC3\xBBl\xC3\xA9" "e \xE2\x82\xAC");
}

TEST(TextDecoder, NamedCharsetFailuresAreReported) {
  const DecodedText unknown = decodeSubtitleText("text", "NO-SUCH-CHARSET-AT-ALL");
  EXPECT_FALSE(unknown.ok);
  EXPECT_NE(unknown.error.find("NO-SUCH-CHARSET-AT-ALL"), std::string::npos);

  const DecodedText bad = decodeSubtitleText("one\ntwo \x80\n", "ASCII");
  EXPECT_FALSE(bad.ok);
  EXPECT_EQ(bad.badLine, 2u);
}

TEST(TextDecoder, BrokenUtf16IsRefusedNotGuessed) {
  const std::string loneSurrogate = utf16(u"ok\n", false) + std::string("\x00\xD8" "A\x00", 4);
  const DecodedText decoded = decodeSubtitleText(loneSurrogate, "");
  EXPECT_FALSE(decoded.ok);
  EXPECT_EQ(decoded.badLine, 2u);

  const DecodedText oddLength = decodeSubtitleText(utf16(u"ok", true) + std::string(1, '\0'), "");
  EXPECT_FALSE(oddLength.ok);
}

TEST(TextDecoder, NulMeansUtf16WithoutAMark) {
  const DecodedText decoded = decodeSubtitleText(std::string("1\x00\n\x00", 4), "");
  EXPECT_FALSE(decoded.ok);
  EXPECT_EQ(decoded.badLine, 1u);
  EXPECT_NE(decoded.error.find("UTF-16"), std::string::npos);
}

TEST(TextDecoder, Utf8ValidationRejectsEveryIllFormedSequence) {
  struct Case {
    const char* bytes;
    std::size_t badOffset;
  };
  const Case cases[] = {
      {"ab\xC0\xAF", 2},          // overlong "/"
      {"\xE0\x80\xAF", 0},        // overlong in three bytes
      {"x\xED\xA0\x80", 1},       // surrogate
      {"\xF4\x90\x80\x80", 0},    // above U+10FFFF
      {"abc\xE2\x82", 3},         // truncated at the end
      {"\xC3" "a", 0},            // missing continuation
      {"\x80", 0},                // stray continuation
      {"\xFF", 0},
  };
  for (const Case& c : cases) {
    std::size_t offset = 99;
    EXPECT_FALSE(isValidUtf8(c.bytes, &offset)) << c.bytes;
    EXPECT_EQ(offset, c.badOffset) << c.bytes;
  }
  EXPECT_TRUE(isValidUtf8("\x7F\xC2\x80\xEF\xBF\xBF\xF4\x8F\xBF\xBF"));
  EXPECT_TRUE(isValidUtf8(""));
}

}  // namespace
}  // namespace QuillRender
