#pragma once
// Character tests the markup readers share.
#include <string_view>

namespace Orb {

/// The value of the hexadecimal digit `c` (either case), or -1.
constexpr int hexDigitValue(char32_t c) {
  if (c >= U'0' && c <= U'9') return static_cast<int>(c - U'0');
  if (c >= U'a' && c <= U'f') return static_cast<int>(c - U'a') + 10;
  if (c >= U'A' && c <= U'F') return static_cast<int>(c - U'A') + 10;
  return -1;
}

/// `text` without the spaces and tabs at either end.
inline std::u32string_view trimBlanks(std::u32string_view text) {
  const auto blank = [](char32_t c) { return c == U' ' || c == U'\t'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

}  // namespace Orb
