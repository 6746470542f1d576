// The strict and lenient UTF conversions, compared with an independent reference
// decoder: the same input is read as UTF-8, as little-endian UTF-16 units and as
// little-endian 32-bit values, and every production conversion must give exactly what the
// reference gives, refusals included. Round trips through both directions must be exact.
#include <cstdint>
#include <string>
#include <vector>

#include "db/TextConversion.h"
#include "fuzz/FuzzCheck.h"
#include "fuzz/ReferenceUtf.h"
#include "text/Utf.h"

namespace {

using QuillFuzz::require;

// The database conversions hand their results on as zero-terminated text.
template <class String>
String untilZero(String text) {
  const auto zero = text.find(typename String::value_type(0));
  if (zero != String::npos) text.resize(zero);
  return text;
}

template <class Unit>
std::basic_string<Unit> littleEndianUnits(const std::uint8_t* data, std::size_t size) {
  std::basic_string<Unit> units;
  for (std::size_t at = 0; at + sizeof(Unit) <= size; at += sizeof(Unit)) {
    std::uint32_t value = 0;
    for (std::size_t k = 0; k < sizeof(Unit); ++k) value |= std::uint32_t{data[at + k]} << (8 * k);
    units += static_cast<Unit>(value);
  }
  return units;
}

void checkUtf8(const std::string& bytes) {
  const auto expected = QuillFuzz::referenceDecodeUtf8(bytes);

  const kttl::Utf16String wide = kttl::ToUtf16(bytes);
  require(wide == (expected ? untilZero(QuillFuzz::referenceEncodeUtf16(*expected))
                            : kttl::Utf16String()),
          "ToUtf16 agrees with the reference");

  std::vector<char32_t> codePoints{U'x'};
  const bool decoded = Orb::decodeUtf8(bytes.data(), bytes.size(), codePoints);
  require(decoded == expected.has_value(), "decodeUtf8 accepts what the reference accepts");
  require(std::u32string(codePoints.begin(), codePoints.end()) ==
              (expected ? *expected : std::u32string()),
          "decodeUtf8 agrees with the reference");

  if (!expected) return;
  std::string again;
  require(Orb::encodeUtf8(codePoints.data(), codePoints.size(), again) && again == bytes,
          "decoded UTF-8 encodes back to the same bytes");
  require(kttl::ToUtf8(wide) == untilZero(bytes), "ToUtf16 then ToUtf8 gives the text back");
}

void checkUtf16(const kttl::Utf16String& units) {
  const auto expected = QuillFuzz::referenceDecodeUtf16Leniently(units);
  const std::string narrow = kttl::ToUtf8(units);
  require(narrow == (expected ? untilZero(QuillFuzz::referenceEncodeUtf8Leniently(*expected))
                              : std::string()),
          "ToUtf8 agrees with the reference");
  // Lenient output holds a surrogate exactly when the input had an unpaired one, and the
  // strict direction must then refuse it.
  if (expected) {
    require(kttl::ToUtf16(narrow) ==
                (QuillFuzz::referenceDecodeUtf8(narrow) ? untilZero(units) : kttl::Utf16String()),
            "ToUtf8 then ToUtf16 gives the text back or refuses a lone surrogate");
  }
}

void checkCodePoints(const std::u32string& values) {
  const auto expected = QuillFuzz::referenceEncodeUtf8(values);
  std::string bytes{"x"};
  const bool encoded = Orb::encodeUtf8(values.data(), values.size(), bytes);
  require(encoded == expected.has_value(), "encodeUtf8 accepts what the reference accepts");
  require(bytes == (expected ? *expected : std::string()), "encodeUtf8 agrees with the reference");
}

// The reference judges everything else, so it is held to vectors from the Unicode
// standard's table of well-formed sequences before it judges anything.
bool referenceHoldsToKnownVectors() {
  using QuillFuzz::referenceDecodeUtf8;
  const char* const illFormed[] = {"\x80", "\xC1\xBF", "\xE0\x9F\xBF", "\xED\xA0\x80",
                                   "\xF0\x8F\xBF\xBF", "\xF4\x90\x80\x80", "\xF5\x80\x80\x80",
                                   "\xE2\x82", "\xE2\x28\xA1"};
  for (const char* bytes : illFormed) {
    if (referenceDecodeUtf8(bytes)) return false;
  }
  return referenceDecodeUtf8("\xC2\x80\xED\x9F\xBF\xEE\x80\x80\xF4\x8F\xBF\xBF") ==
             std::u32string{0x80, 0xD7FF, 0xE000, 0x10FFFF} &&
         QuillFuzz::referenceEncodeUtf16(U"\U0001F600") == u"\xD83D\xDE00" &&
         QuillFuzz::referenceDecodeUtf16Leniently(u"\xDC00\xD83D") == std::nullopt &&
         QuillFuzz::referenceEncodeUtf8Leniently(std::u32string{0xDC00}) == "\xED\xB0\x80";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool referenceSound = referenceHoldsToKnownVectors();
  require(referenceSound, "the reference decoder holds to the known vectors");
  checkUtf8(std::string(reinterpret_cast<const char*>(data), size));
  checkUtf16(littleEndianUnits<char16_t>(data, size));
  checkCodePoints(littleEndianUnits<char32_t>(data, size));
  return 0;
}
