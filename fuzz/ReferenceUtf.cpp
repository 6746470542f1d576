#include "fuzz/ReferenceUtf.h"

namespace QuillFuzz {

namespace {

bool isSurrogate(char32_t value) { return value >= 0xD800 && value <= 0xDFFF; }

// Bytes a sequence takes from the count of leading one bits of its lead byte; 0 when the
// lead byte cannot start a sequence.
std::size_t sequenceLength(unsigned char lead) {
  std::size_t ones = 0;
  while (ones < 8 && (lead & (0x80u >> ones)) != 0) ++ones;
  if (ones == 0) return 1;
  if (ones == 1 || ones > 4) return 0;
  return ones;
}

std::size_t encodedLength(char32_t value) {
  if (value < 0x80) return 1;
  if (value < 0x800) return 2;
  if (value < 0x10000) return 3;
  return 4;
}

void appendEncoded(std::string& out, char32_t value) {
  const std::size_t length = encodedLength(value);
  if (length == 1) {
    out += static_cast<char>(value);
    return;
  }
  static const unsigned char kLeadMarks[5] = {0, 0, 0xC0, 0xE0, 0xF0};
  std::string sequence(length, '\0');
  for (std::size_t i = length - 1; i > 0; --i) {
    sequence[i] = static_cast<char>(0x80 | (value & 0x3F));
    value >>= 6;
  }
  sequence[0] = static_cast<char>(kLeadMarks[length] | value);
  out += sequence;
}

}  // namespace

std::optional<std::u32string> referenceDecodeUtf8(const std::string& bytes) {
  std::u32string out;
  for (std::size_t i = 0; i < bytes.size();) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    const std::size_t length = sequenceLength(lead);
    if (length == 0 || bytes.size() - i < length) return std::nullopt;
    char32_t value = length == 1 ? lead : lead & (0xFFu >> (length + 1));
    for (std::size_t k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(bytes[i + k]);
      if ((next >> 6) != 2) return std::nullopt;
      value = (value << 6) | (next & 0x3F);
    }
    // The shortest form is the only well-formed one.
    if (encodedLength(value) != length || isSurrogate(value) || value > 0x10FFFF) {
      return std::nullopt;
    }
    out += value;
    i += length;
  }
  return out;
}

std::optional<std::string> referenceEncodeUtf8(const std::u32string& codePoints) {
  for (const char32_t value : codePoints) {
    if (isSurrogate(value) || value > 0x10FFFF) return std::nullopt;
  }
  return referenceEncodeUtf8Leniently(codePoints);
}

std::u16string referenceEncodeUtf16(const std::u32string& codePoints) {
  std::u16string out;
  for (const char32_t value : codePoints) {
    if (value < 0x10000) {
      out += static_cast<char16_t>(value);
    } else {
      const char32_t above = value - 0x10000;
      out += static_cast<char16_t>(0xD800 | (above >> 10));
      out += static_cast<char16_t>(0xDC00 | (above & 0x3FF));
    }
  }
  return out;
}

std::optional<std::u32string> referenceDecodeUtf16Leniently(const std::u16string& units) {
  if (!units.empty() && units.back() >= 0xD800 && units.back() <= 0xDBFF) return std::nullopt;
  std::u32string out;
  for (std::size_t i = 0; i < units.size(); ++i) {
    const char32_t unit = units[i];
    const char32_t next = i + 1 < units.size() ? units[i + 1] : 0;
    if (unit >= 0xD800 && unit <= 0xDBFF && next >= 0xDC00 && next <= 0xDFFF) {
      out += 0x10000 + (((unit & 0x3FF) << 10) | (next & 0x3FF));
      ++i;
    } else {
      out += unit;
    }
  }
  return out;
}

std::string referenceEncodeUtf8Leniently(const std::u32string& values) {
  std::string out;
  for (const char32_t value : values) appendEncoded(out, value);
  return out;
}

}  // namespace QuillFuzz
