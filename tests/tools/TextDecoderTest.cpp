#include "tools/TextDecoder.h"

#include <gtest/gtest.h>

#include "EncodedText.h"

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
  // A mark added to a file that had one already, in any form, leaves no mark in the text
  // (it would stand before the first block's number).
  for (const auto& [bytes, charset] :
       {std::pair<std::string, std::string>{"\xEF\xBB\xBF\xEF\xBB\xBF" + text, ""},
        {"\xEF\xBB\xBF\xEF\xBB\xBF" + text, "UTF-8"},
        {utf16(u"\uFEFF\uFEFF1\r\n00:00:01,000 --> 00:00:02,000\r\nCr\u00E8me \U0001F600\r\n", false), "UTF-16"}}) {
    const DecodedText twice = decodeSubtitleText(bytes, charset);
    ASSERT_TRUE(twice.ok) << twice.error;
    EXPECT_EQ(twice.utf8, text) << charset;
  }
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

TEST(TextDecoder, EveryByteOrderMarkIsHonoured) {
  const struct {
    const char* charset;
    const char* mark;
    std::size_t markLength;
  } forms[] = {{"UTF-8", "\xEF\xBB\xBF", 3}, {"UTF-16LE", "\xFF\xFE", 2}, {"UTF-16BE", "\xFE\xFF", 2},
               {"UTF-32LE", "\xFF\xFE\0\0", 4}, {"UTF-32BE", "\0\0\xFE\xFF", 4}};
  for (const auto& form : forms) {
    const std::string bytes = std::string(form.mark, form.markLength) + encodeAs(kSerbian, form.charset);
    const DecodedText decoded = decodeSubtitleText(bytes, "");
    ASSERT_TRUE(decoded.ok) << form.charset << ": " << decoded.error;
    EXPECT_EQ(decoded.utf8, kSerbian) << form.charset;
    EXPECT_EQ(decoded.charset, form.charset);
    EXPECT_EQ(decoded.source, EncodingSource::ByteOrderMark) << form.charset;
  }
}

TEST(TextDecoder, LegacyFilesAreDetectedAndDecoded) {
  const struct {
    const std::string& text;
    const char* charset;
  } files[] = {{kSerbian, "WINDOWS-1251"}, {kRussian, "KOI8-R"},    {kRussian, "WINDOWS-1251"},
               {kCzech, "WINDOWS-1250"},   {kPolish, "ISO-8859-2"}, {kFrench, "WINDOWS-1252"},
               {kJapanese, "SHIFT_JIS"}};
  for (const auto& file : files) {
    const DecodedText decoded = decodeSubtitleText(encodeAs(file.text, file.charset), "");
    ASSERT_TRUE(decoded.ok) << file.charset << ": " << decoded.error;
    EXPECT_EQ(decoded.utf8, file.text) << file.charset << " read as " << decoded.charset;
    EXPECT_EQ(decoded.source, EncodingSource::Detected);
  }
  const DecodedText utf8 = decodeSubtitleText(kSerbian, "");
  EXPECT_EQ(utf8.charset, "UTF-8");
  EXPECT_EQ(utf8.source, EncodingSource::Detected);
}

TEST(TextDecoder, UnsureDetectionNamesTheLineTheBytesAndTheCandidates) {
  // 0x98 is the one byte Windows-1251 leaves undefined: either the guess falls on it, or
  // (as uchardet does) the guess moves to a set that decodes it, which the halves of the
  // file contradict.
  std::string cyrillic = encodeAs(kSerbian, "WINDOWS-1251");
  cyrillic.insert(cyrillic.find("\r\n3\r\n") - 3, "\x98");
  const DecodedText decoded = decodeSubtitleText(cyrillic, "");
  EXPECT_FALSE(decoded.ok);
  EXPECT_TRUE(decoded.utf8.empty());
  EXPECT_TRUE(decoded.badLine == 3 || decoded.badLine == 7) << decoded.badLine;
  EXPECT_NE(decoded.error.find(decoded.badLine == 3 ? "0xC4" : "byte 0x98"), std::string::npos)
      << decoded.error;
  EXPECT_NE(decoded.error.find("WINDOWS-1251"), std::string::npos) << decoded.error;
  EXPECT_NE(decoded.error.find("KOI8-R"), std::string::npos) << decoded.error;
  EXPECT_EQ(decoded.error.find("WINDOWS-1252"), std::string::npos) << decoded.error;

  const DecodedText noise = decodeSubtitleText("1\n00:00:01,000 --> 00:00:02,000\n\xFF\xFE\xFD\xFC\xFB\n", "");
  EXPECT_FALSE(noise.ok);
  EXPECT_EQ(noise.badLine, 3u);
  EXPECT_NE(noise.error.find("bytes 0xFF 0xFE 0xFD 0xFC"), std::string::npos) << noise.error;
  EXPECT_NE(noise.error.find("--charset"), std::string::npos) << noise.error;
}

TEST(TextDecoder, DamagedUtf8IsRefusedRatherThanReadAsALegacySet) {
  const DecodedText cut = decodeSubtitleText(kSerbian + "\xD0", "");
  EXPECT_FALSE(cut.ok);
  EXPECT_EQ(cut.badLine, 17u);
  EXPECT_NE(cut.error.find("ends inside a UTF-8 character (byte 0xD0)"), std::string::npos) << cut.error;

  const DecodedText broken = decodeSubtitleText("Cr\xC3\xA8me\nbr\xFBl\xE9" "e\n", "");
  EXPECT_FALSE(broken.ok);
  EXPECT_EQ(broken.badLine, 2u);
  EXPECT_NE(broken.error.find("not valid UTF-8 (byte 0xFB)"), std::string::npos) << broken.error;
}

TEST(TextDecoder, AMarkOverOtherTextIsRefusedWithAdviceThatWorks) {
  const std::string windows = encodeAs(kFrench, "WINDOWS-1252");
  const std::string cases[] = {"\xEF\xBB\xBF" + windows, "\xFF\xFE" + kFrench};
  for (const std::string& bytes : cases) {
    const DecodedText refused = decodeSubtitleText(bytes, "");
    ASSERT_FALSE(refused.ok);
    const std::string advice = "--charset ";
    const std::size_t named = refused.error.rfind(advice);
    ASSERT_NE(named, std::string::npos) << refused.error;
    const std::string charset = refused.error.substr(named + advice.size());
    const DecodedText followed = decodeSubtitleText(bytes, charset);
    ASSERT_TRUE(followed.ok) << charset << ": " << followed.error;
    EXPECT_EQ(followed.utf8, kFrench);
    EXPECT_EQ(followed.source, EncodingSource::Given);
  }
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

TEST(TextDecoder, CharactersBeyondUnicodeAreRefusedWhicheverWayTheSetWasChosen) {
  // A four-byte form of a code point above U+10FFFF, which iconv's UTF-8 lets through.
  const std::string beyond = "ok\nso \xF6\x8C\x90\x97 far\n";
  for (const auto& [bytes, charset] : {std::pair<std::string, std::string>{"\xEF\xBB\xBF" + beyond, ""},
                                       {beyond, "UTF-8"}, {beyond, ""}}) {
    const DecodedText decoded = decodeSubtitleText(bytes, charset);
    EXPECT_FALSE(decoded.ok) << charset;
    EXPECT_TRUE(decoded.utf8.empty());
    EXPECT_EQ(decoded.badLine, 2u) << decoded.error;
    EXPECT_NE(decoded.error.find("0xF6 0x8C 0x90 0x97"), std::string::npos) << decoded.error;
  }
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
