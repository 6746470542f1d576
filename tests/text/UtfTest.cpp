#include "text/Utf.h"

#include <gtest/gtest.h>

namespace {

std::vector<char32_t> decode(const std::string& bytes) {
  std::vector<char32_t> out{U'x'};
  const bool ok = Orb::decodeUtf8(bytes.data(), bytes.size(), out);
  EXPECT_EQ(ok, !out.empty() || bytes.empty()) << "a refusal must leave nothing behind";
  return out;
}

TEST(Utf8Decoding, DecodesEveryLengthOfSequence) {
  EXPECT_EQ(decode("a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"),
            (std::vector<char32_t>{U'a', 0xE9, 0x20AC, 0x1F600}));
  EXPECT_EQ(decode("\xF4\x8F\xBF\xBF"), std::vector<char32_t>{0x10FFFF});
  EXPECT_EQ(decode(std::string("a\0b", 3)), (std::vector<char32_t>{U'a', 0, U'b'}));
}

TEST(Utf8Decoding, RefusesIllFormedInputAsAWhole) {
  const char* bad[] = {
      "ok\xC0\x80",          // overlong NUL
      "\xC1\xBF",            // overlong lead
      "\xE0\x9F\xBF",        // overlong three-byte form
      "\xF0\x8F\xBF\xBF",    // overlong four-byte form
      "\xED\xA0\x80",        // surrogate
      "\xF4\x90\x80\x80",    // above U+10FFFF
      "\xF5\x80\x80\x80",    // lead above F4
      "\x80",                // stray continuation
      "\xC3",                // cut off
      "\xE2\x82",            // cut off
      "\xE2\x28\xA1",        // missing continuation
      "abc\xFF",
  };
  for (const char* bytes : bad) EXPECT_TRUE(decode(bytes).empty()) << bytes;
}

TEST(Utf8Encoding, RoundTripsAndRefusesNonScalarValues) {
  const char32_t good[] = {U'A', 0x7FF, 0xFFFF, 0x10000, 0x10FFFF};
  std::string utf8;
  ASSERT_TRUE(Orb::encodeUtf8(good, 5, utf8));
  std::vector<char32_t> back;
  ASSERT_TRUE(Orb::decodeUtf8(utf8.data(), utf8.size(), back));
  EXPECT_EQ(back, std::vector<char32_t>(good, good + 5));

  const char32_t surrogate[] = {U'A', 0xDC00};
  EXPECT_FALSE(Orb::encodeUtf8(surrogate, 2, utf8));
  EXPECT_TRUE(utf8.empty());
  const char32_t tooBig[] = {0x110000};
  EXPECT_FALSE(Orb::encodeUtf8(tooBig, 1, utf8));
}

}  // namespace
