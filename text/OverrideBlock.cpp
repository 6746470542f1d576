#include "text/OverrideBlock.h"

#include <cstdint>

#include "text/MarkupCharacters.h"

namespace Orb {

namespace {

using Kind = OverrideTag::Kind;

// Digits read of a number at most: more cannot change what the number means here.
constexpr std::size_t kMaxDigits = 9;

bool startsWith(std::u32string_view text, std::u32string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
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
    const int digit = hexDigitValue(c);
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

// The tags that switch a style on or off, by their one-letter names.
struct Switch {
  char32_t name;
  Kind kind;
  std::optional<int> (*read)(std::u32string_view value);
};

constexpr Switch kSwitches[] = {
    {U'b', Kind::Bold, boldValue},
    {U'i', Kind::Italic, switchValue},
    {U'u', Kind::Underline, switchValue},
    {U's', Kind::StrikeOut, switchValue},
};

std::optional<OverrideTag> interpret(std::u32string_view tag) {
  OverrideTag read;
  if (startsWith(tag, U"an")) {
    const auto value = decimal(trimBlanks(tag.substr(2)));
    if (!value || *value < 1 || *value > 9) return std::nullopt;
    read.kind = Kind::Alignment;
    read.value = static_cast<int>(*value);
    return read;
  }
  if (startsWith(tag, U"1c") || startsWith(tag, U"c")) {
    const std::u32string_view value = trimBlanks(tag.substr(tag.front() == U'c' ? 1 : 2));
    read.kind = Kind::Colour;
    if (value.empty()) return read;
    read.colour = assColour(value);
    if (!read.colour) return std::nullopt;
    return read;
  }
  if (tag.empty()) return std::nullopt;
  for (const Switch& known : kSwitches) {
    if (tag.front() != known.name) continue;
    const std::optional<int> switched = known.read(trimBlanks(tag.substr(1)));
    if (!switched) return std::nullopt;
    read.kind = known.kind;
    read.value = *switched;
    return read;
  }
  return std::nullopt;
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
      if (const auto tag = interpret(trimBlanks(content.substr(begin, at - begin)))) tags.push_back(*tag);
    }
    ++at;  // past the backslash (or the end)
  }
  return tags;
}

}  // namespace Orb
