#include "text/Utf.h"

namespace Orb {

namespace {

bool isContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

}  // namespace

bool decodeUtf8(const char* utf8, std::size_t byteLength, std::vector<char32_t>& codePoints) {
  codePoints.clear();
  if (byteLength == 0) return true;
  if (utf8 == nullptr) return false;
  codePoints.reserve(byteLength);
  const auto* bytes = reinterpret_cast<const unsigned char*>(utf8);
  std::size_t i = 0;
  while (i < byteLength) {
    const unsigned char lead = bytes[i];
    if (lead < 0x80) {
      codePoints.push_back(lead);
      ++i;
      continue;
    }
    std::size_t extra = 0;
    char32_t value = 0;
    // The allowed range of the second byte removes overlong forms, surrogates and values
    // above U+10FFFF in one test, as in the well-formed byte sequence table of Unicode.
    unsigned char secondLow = 0x80;
    unsigned char secondHigh = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
      extra = 1;
      value = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      extra = 2;
      value = lead & 0x0F;
      if (lead == 0xE0) secondLow = 0xA0;
      if (lead == 0xED) secondHigh = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      extra = 3;
      value = lead & 0x07;
      if (lead == 0xF0) secondLow = 0x90;
      if (lead == 0xF4) secondHigh = 0x8F;
    } else {
      codePoints.clear();
      return false;
    }
    if (byteLength - i <= extra || bytes[i + 1] < secondLow || bytes[i + 1] > secondHigh) {
      codePoints.clear();
      return false;
    }
    for (std::size_t k = 1; k <= extra; ++k) {
      if (!isContinuation(bytes[i + k])) {
        codePoints.clear();
        return false;
      }
      value = (value << 6) | (bytes[i + k] & 0x3F);
    }
    codePoints.push_back(value);
    i += extra + 1;
  }
  return true;
}

bool encodeUtf8(const char32_t* codePoints, std::size_t count, std::string& utf8) {
  utf8.clear();
  for (std::size_t i = 0; i < count; ++i) {
    const char32_t c = codePoints[i];
    if ((c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) {
      utf8.clear();
      return false;
    }
    if (c < 0x80) {
      utf8.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
      utf8.push_back(static_cast<char>(0xC0 | (c >> 6)));
      utf8.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
      utf8.push_back(static_cast<char>(0xE0 | (c >> 12)));
      utf8.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      utf8.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
      utf8.push_back(static_cast<char>(0xF0 | (c >> 18)));
      utf8.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
      utf8.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      utf8.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  return true;
}

}  // namespace Orb
