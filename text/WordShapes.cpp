#include "text/WordShapes.h"

#include <unicode/uchar.h>

namespace Orb {

namespace {

bool isSpace(char32_t c) { return c == U' '; }

}  // namespace

bool WordShapes::startsWord(std::u32string_view paragraph, std::size_t at) {
  if (!isSpace(paragraph[at - 1]) || isSpace(paragraph[at])) return false;
  // Marks and format characters (joiners, direction marks) go with what precedes them.
  return (U_GET_GC_MASK(static_cast<UChar32>(paragraph[at])) & (U_GC_M_MASK | U_GC_CF_MASK)) == 0;
}

bool WordShapes::standsAlone(std::u32string_view paragraph, std::size_t begin, std::size_t end) {
  return (begin == 0 || isSpace(paragraph[begin - 1])) &&
         (end == paragraph.size() || isSpace(paragraph[end - 1]));
}

bool WordShapes::Entry::matches(const Key& key) const {
  return faceSerial == key.faceSerial && size == key.size && direction == key.direction &&
         script == key.script && text == key.text;
}

std::uint64_t WordShapes::hashOf(const Key& key) {
  // FNV-1a over the key's parts.
  std::uint64_t hash = 0xcbf29ce484222325ull;
  const auto mix = [&hash](std::uint64_t value) {
    hash ^= value;
    hash *= 0x100000001b3ull;
  };
  mix(key.faceSerial);
  mix(static_cast<std::uint32_t>(key.size));
  mix(std::uint64_t{static_cast<std::uint32_t>(key.direction)} << 32 |
      static_cast<std::uint32_t>(key.script));
  for (const char32_t c : key.text) mix(c);
  return hash;
}

const std::vector<ShapedGlyph>* WordShapes::find(const Key& key) const {
  if (key.text.size() > kLongestWord) return nullptr;
  const auto [first, last] = entries.equal_range(hashOf(key));
  for (auto entry = first; entry != last; ++entry) {
    if (entry->second.matches(key)) return &entry->second.glyphs;
  }
  return nullptr;
}

void WordShapes::keep(const Key& key, std::vector<ShapedGlyph> glyphs) {
  if (!wouldKeep(key.text.size())) return;
  if (entries.size() >= capacity) entries.clear();
  entries.emplace(hashOf(key), Entry{key.faceSerial, key.size, key.direction, key.script,
                                     std::u32string(key.text), std::move(glyphs)});
}

void WordShapes::limit(std::size_t words) {
  entries.clear();
  capacity = words;
}

}  // namespace Orb
