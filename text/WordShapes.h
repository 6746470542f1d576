#pragma once
// Shaped words remembered between subtitles. Subtitles repeat their words far more than
// their lines. A word with its trailing spaces, standing after a space or at the start of
// its paragraph, is shaped alike wherever it stands when HarfBuzz marks neither its start
// nor the start of what follows it as unsafe to concatenate: its glyphs are kept then,
// and a run made only of such words is put together from them without shaping.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include <hb.h>

#include "text/ShapedGlyph.h"

namespace Orb {

class WordShapes {
 public:
  /// Words kept at most, in all fonts together; when one more comes, all are forgotten.
  static constexpr std::size_t kWordsKept = 2048;
  /// Longer words (spaces after them included) are not kept: real words are shorter, and
  /// the words of a hostile subtitle must not fill memory.
  static constexpr std::size_t kLongestWord = 32;

  /// What a word's glyphs depend on besides its neighbours: face, size, direction, script,
  /// and its code points.
  struct Key {
    std::uint64_t faceSerial = 0;
    std::int32_t size = 0;
    hb_direction_t direction = HB_DIRECTION_LTR;
    hb_script_t script = HB_SCRIPT_COMMON;
    std::u32string_view text;
  };

  /// The words of [begin, end) of `paragraph`, in order: each runs up to and with the spaces
  /// after it, and the next starts at a character that is neither a space nor one that
  /// belongs with what precedes it (a mark, a joiner). Calls `visit(begin, end)` for each.
  template <typename Visit>
  static void forEachWord(std::u32string_view paragraph, std::size_t begin, std::size_t end,
                          Visit&& visit) {
    for (std::size_t word = begin; word < end;) {
      std::size_t next = word + 1;
      while (next < end && !startsWord(paragraph, next)) ++next;
      visit(word, next);
      word = next;
    }
  }

  /// Whether a word at [begin, end) of `paragraph` has no neighbour its glyphs could depend
  /// on: a space or nothing before it, and after it a space of its own or nothing.
  static bool standsAlone(std::u32string_view paragraph, std::size_t begin, std::size_t end);

  /// The glyphs kept for `key` in logical order, clusters counted from the word's start;
  /// null when none are.
  const std::vector<ShapedGlyph>* find(const Key& key) const;

  /// Keeps `glyphs` (as `find` answers them) for `key`, unless it keeps none or the word is
  /// longer than kLongestWord.
  void keep(const Key& key, std::vector<ShapedGlyph> glyphs);

  /// Forgets every word, and keeps at most `words` from now on (kWordsKept at first).
  void limit(std::size_t words);

  /// Whether a word of `length` code points would be kept.
  bool wouldKeep(std::size_t length) const { return capacity > 0 && length <= kLongestWord; }

 private:
  struct Entry {
    std::uint64_t faceSerial;
    std::int32_t size;
    hb_direction_t direction;
    hb_script_t script;
    std::u32string text;
    std::vector<ShapedGlyph> glyphs;

    bool matches(const Key& key) const;
  };
  static bool startsWord(std::u32string_view paragraph, std::size_t at);
  static std::uint64_t hashOf(const Key& key);

  std::unordered_multimap<std::uint64_t, Entry> entries;
  std::size_t capacity = kWordsKept;
};

}  // namespace Orb
