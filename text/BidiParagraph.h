#pragma once
// The Unicode bidirectional algorithm over one paragraph, by FriBidi: the embedding level
// of every character (odd levels run right to left) and, per line, the visual order.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include <fribidi.h>

namespace Orb {

class BidiParagraph {
 public:
  /// Resolves the levels of `text`, one paragraph (no U+000A), with the base direction
  /// taken from its first strong character (left to right when it has none). Should FriBidi
  /// fail, every level is the base level.
  explicit BidiParagraph(std::u32string_view text);

  std::uint8_t level(std::size_t index) const { return static_cast<std::uint8_t>(levels[index]); }
  bool rightToLeft() const { return FRIBIDI_IS_RTL(direction); }

  /// The indices [begin, end) of one line in visual order, left to right. Whitespace at the
  /// line's end takes the paragraph's level, as the algorithm asks for lines.
  std::vector<std::size_t> visualOrder(std::size_t begin, std::size_t end) const;

 private:
  std::vector<FriBidiCharType> types;
  std::vector<FriBidiLevel> levels;
  FriBidiParType direction = FRIBIDI_PAR_LTR;
  bool leftToRightOnly = true;  // every level 0: nothing to resolve or reorder
};

}  // namespace Orb
