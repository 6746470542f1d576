#include "text/OverrideBlock.h"

#include <cstdint>

namespace Orb {

namespace {

using Kind = OverrideTag::Kind;

// Digits read of a number at most: more cannot change what the number means here.
constexpr std::size_t kMaxDigits = 9;

bool isBlank(char32_t c) { return c == U' ' || c == U'\t'; }

std::u32string_view trimmed(std::u32string_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

bool startsWith(std::u32string_view text, std::u32string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

int hexDigit(char32_t c) {
  if (c >= U'0' && c <= U'9') return static_cast<int>(c - U'0');
  if (c >= U'a' && c <= U'f') return static_cast<int>(c - U'a') + 10;
  if (c >= U'A' && c <= U'F') return static_cast<int>(c - U'A') + 10;
  return -1;
}

std::optional<std::uint32_t> decimal(std::u32string_view digits) {
  if (digits.empty() || digits.size() > kMaxDigits) return std::nullopt;
  std::uint32_t value = 0;
  for (const char32_t c : digits) {
    if (c < U'0' || c > U'9') return std::nullopt;
    value = value * 10 + static_cast<std::uint32_t>(c - U'0');
  }
  return value;
}

// "&HBBGGRR&" with every part but one digit optional.
std::optional<Colour> assColour(std::u32string_view value) {
  if (!value.empty() && value.front() == U'&') value.remove_prefix(1);
  if (!value.empty() && (value.front() == U'H' || value.front() == U'h')) value.remove_prefix(1);
  if (!value.empty() && value.back() == U'&') value.remove_suffix(1);
  if (value.empty() || value.size() > 8) return std::nullopt;
  std::uint32_t bgr = 0;
  for (const char32_t c : value) {
    const int digit = hexDigit(c);
    if (digit < 0) return std::nullopt;
    bgr = bgr << 4 | static_cast<std::uint32_t>(digit);
  }
  return Colour{static_cast<std::uint8_t>(bgr), static_cast<std::uint8_t>(bgr >> 8),
                static_cast<std::uint8_t>(bgr >> 16), 0};
}

// A switch's value: 1 or 0, or kBase without one.
std::optional<int> switchValue(std::u32string_view value) {
  if (value.empty()) return OverrideTag::kBase;
  if (value == U"1") return 1;
  if (value == U"0") return 0;
  return std::nullopt;
}

std::optional<int> boldValue(std::u32string_view value) {
  if (value.empty()) return OverrideTag::kBase;
  const auto weight = decimal(value);
  if (!weight) return std::nullopt;
  return *weight == 1 || *weight >= 700 ? 1 : 0;
}

std::optional<OverrideTag> interpret(std::u32string_view tag) {
  OverrideTag read;
  if (startsWith(tag, U"an")) {
    const auto value = decimal(trimmed(tag.substr(2)));
    if (!value || *value < 1 || *value > 9) return std::nullopt;
    read.kind = Kind::Alignment;
    read.value = static_cast<int>(*value);
    return read;
  }
  if (startsWith(tag, U"1c") || startsWith(tag, U"c")) {
    const std::u32string_view value = trimmed(tag.substr(tag.front() == U'c' ? 1 : 2));
    read.kind = Kind::Colour;
    if (value.empty()) return read;
    read.colour = assColour(value);
    if (!read.colour) return std::nullopt;
    return read;
  }
  if (tag.empty()) return std::nullopt;
  const std::u32string_view value = trimmed(tag.substr(1));
  std::optional<int> switched;
  switch (tag.front()) {
    case U'b':
      read.kind = Kind::Bold;
      switched = boldValue(value);
      break;
    case U'i':
      read.kind = Kind::Italic;
      switched = switchValue(value);
      break;
    case U'u':
      read.kind = Kind::Underline;
      switched = switchValue(value);
      break;
    case U's':
      read.kind = Kind::StrikeOut;
      switched = switchValue(value);
      break;
    default:
      return std::nullopt;
  }
  if (!switched) return std::nullopt;
  read.value = *switched;
  return read;
}

}  // namespace

std::vector<OverrideTag> readOverrideBlock(std::u32string_view content) {
  std::vector<OverrideTag> tags;
  if (content.empty() || content.front() != U'\\') return tags;
  std::size_t at = 1;
  while (at <= content.size()) {
    // A tag runs to the next backslash outside parentheses.
    const std::size_t begin = at;
    int depth = 0;
    bool hadParentheses = false;
    for (; at < content.size(); ++at) {
      const char32_t c = content[at];
      if (c == U'(') {
        ++depth;
        hadParentheses = true;
      } else if (c == U')' && depth > 0) {
        --depth;
      } else if (c == U'\\' && depth == 0) {
        break;
      }
    }
    if (!hadParentheses) {
      if (const auto tag = interpret(trimmed(content.substr(begin, at - begin)))) tags.push_back(*tag);
    }
    ++at;  // past the backslash (or the end)
  }
  return tags;
}

}  // namespace Orb
