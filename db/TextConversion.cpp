#include "db/TextConversion.h"

#include <utility>

namespace kttl {
namespace {

bool isContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// Decodes one well-formed sequence starting at `at`, moving `at` past it.
// Answers false for anything the Unicode standard calls ill-formed.
bool decodeUtf8(const std::string& text, std::size_t& at, char32_t& codePoint) {
  const auto lead = static_cast<unsigned char>(text[at]);
  std::size_t length;
  unsigned char secondMin = 0x80, secondMax = 0xBF;
  if (lead < 0x80) {
    codePoint = lead;
    ++at;
    return true;
  } else if (lead < 0xC2) {
    return false;  // a continuation byte as lead, or an over-long two-byte form
  } else if (lead < 0xE0) {
    length = 2;
    codePoint = lead & 0x1F;
  } else if (lead < 0xF0) {
    length = 3;
    codePoint = lead & 0x0F;
    if (lead == 0xE0) secondMin = 0xA0;  // over-long
    if (lead == 0xED) secondMax = 0x9F;  // surrogates
  } else if (lead < 0xF5) {
    length = 4;
    codePoint = lead & 0x07;
    if (lead == 0xF0) secondMin = 0x90;  // over-long
    if (lead == 0xF4) secondMax = 0x8F;  // above U+10FFFF
  } else {
    return false;
  }
  if (text.size() - at < length) return false;
  const auto second = static_cast<unsigned char>(text[at + 1]);
  if (second < secondMin || second > secondMax) return false;
  for (std::size_t i = 1; i < length; ++i) {
    const auto byte = static_cast<unsigned char>(text[at + i]);
    if (!isContinuation(byte)) return false;
    codePoint = (codePoint << 6) | (byte & 0x3F);
  }
  at += length;
  return true;
}

void appendUtf8(std::string& out, char32_t codePoint) {
  if (codePoint < 0x80) {
    out += static_cast<char>(codePoint);
  } else if (codePoint < 0x800) {
    out += static_cast<char>(0xC0 | (codePoint >> 6));
    out += static_cast<char>(0x80 | (codePoint & 0x3F));
  } else if (codePoint < 0x10000) {
    out += static_cast<char>(0xE0 | (codePoint >> 12));
    out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (codePoint & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (codePoint >> 18));
    out += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (codePoint & 0x3F));
  }
}

bool isHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool isLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// The whole input is checked first; only a well-formed text is then cut at its first zero.
template <class String>
String untilFirstZero(String text) {
  const auto zero = text.find(typename String::value_type(0));
  if (zero != String::npos) text.resize(zero);
  return text;
}

}  // namespace

Utf16String ToUtf16(const std::string& text) {
  Utf16String out;
  out.reserve(text.size());
  for (std::size_t at = 0; at < text.size();) {
    char32_t codePoint;
    if (!decodeUtf8(text, at, codePoint)) return {};
    if (codePoint < 0x10000) {
      out += static_cast<char16_t>(codePoint);
    } else {
      codePoint -= 0x10000;
      out += static_cast<char16_t>(0xD800 + (codePoint >> 10));
      out += static_cast<char16_t>(0xDC00 + (codePoint & 0x3FF));
    }
  }
  return untilFirstZero(std::move(out));
}

std::string ToUtf8(const Utf16String& text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t at = 0; at < text.size(); ++at) {
    char32_t codePoint = text[at];
    if (isHighSurrogate(text[at])) {
      if (at + 1 == text.size()) return {};
      if (isLowSurrogate(text[at + 1])) {
        codePoint = 0x10000 + ((codePoint - 0xD800) << 10) + (text[at + 1] - 0xDC00);
        ++at;
      }
    }
    appendUtf8(out, codePoint);
  }
  return untilFirstZero(std::move(out));
}

}  // namespace kttl
