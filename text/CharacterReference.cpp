#include "text/CharacterReference.h"

#include <cstdint>

#include "text/MarkupCharacters.h"

namespace Orb {

namespace {

constexpr std::size_t kMaxDigits = 8;
constexpr char32_t kReplacement = 0xFFFD;

struct NamedReference {
  std::u32string_view name;
  char32_t character;
};

constexpr NamedReference kNamed[] = {
    {U"amp", U'&'}, {U"lt", U'<'},    {U"gt", U'>'},
    {U"quot", U'"'}, {U"apos", U'\''}, {U"nbsp", 0xA0},
};

std::optional<char32_t> numeric(std::u32string_view text, std::size_t at, std::size_t& end) {
  std::uint32_t base = 10;
  if (at < text.size() && (text[at] == U'x' || text[at] == U'X')) {
    base = 16;
    ++at;
  }
  std::uint32_t value = 0;
  std::size_t digits = 0;
  for (; at < text.size() && digits <= kMaxDigits; ++at, ++digits) {
    const int digit = hexDigitValue(text[at]);
    if (digit < 0 || digit >= static_cast<int>(base)) break;
    value = value * base + static_cast<std::uint32_t>(digit);
  }
  if (digits == 0 || digits > kMaxDigits || at >= text.size() || text[at] != U';') {
    return std::nullopt;
  }
  end = at + 1;
  if (value == 0 || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return kReplacement;
  return static_cast<char32_t>(value);
}

}  // namespace

std::optional<char32_t> readCharacterReference(std::u32string_view text, std::size_t at,
                                               std::size_t& end) {
  const std::u32string_view rest = text.substr(at + 1);
  if (!rest.empty() && rest.front() == U'#') return numeric(text, at + 2, end);
  for (const NamedReference& named : kNamed) {
    if (rest.size() > named.name.size() && rest.substr(0, named.name.size()) == named.name &&
        rest[named.name.size()] == U';') {
      end = at + 2 + named.name.size();
      return named.character;
    }
  }
  return std::nullopt;
}

}  // namespace Orb
