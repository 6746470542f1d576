#include "text/BidiParagraph.h"

#include <algorithm>
#include <numeric>

namespace Orb {

namespace {

// Below the Hebrew block no character is right to left, an Arabic number or a directional
// control, so a paragraph of them has every level 0 whatever the algorithm would do (numbers
// follow the left-to-right start of the paragraph). Most subtitles are such paragraphs.
constexpr char32_t kFirstRightToLeftBlock = 0x0590;

}  // namespace

BidiParagraph::BidiParagraph(std::u32string_view text) : levels(text.size(), 0) {
  leftToRightOnly = std::all_of(text.begin(), text.end(),
                                [](char32_t c) { return c < kFirstRightToLeftBlock; });
  if (text.empty() || leftToRightOnly) return;
  types.resize(text.size());
  static_assert(sizeof(FriBidiChar) == sizeof(char32_t), "FriBidi reads UTF-32");
  const auto* characters = reinterpret_cast<const FriBidiChar*>(text.data());
  const auto length = static_cast<FriBidiStrIndex>(text.size());
  std::vector<FriBidiBracketType> brackets(text.size());
  fribidi_get_bidi_types(characters, length, types.data());
  fribidi_get_bracket_types(characters, length, types.data(), brackets.data());
  FriBidiParType resolved = FRIBIDI_PAR_ON;
  if (fribidi_get_par_embedding_levels_ex(types.data(), brackets.data(), length, &resolved,
                                          levels.data()) == 0) {
    std::fill(levels.begin(), levels.end(), 0);
    resolved = FRIBIDI_PAR_LTR;
  }
  direction = resolved;
}

std::vector<std::size_t> BidiParagraph::visualOrder(std::size_t begin, std::size_t end) const {
  std::vector<std::size_t> order(end - begin);
  std::iota(order.begin(), order.end(), begin);
  if (end <= begin || leftToRightOnly) return order;
  // FriBidi rewrites the levels of trailing whitespace, so it works on a copy.
  std::vector<FriBidiLevel> lineLevels(levels.begin() + static_cast<std::ptrdiff_t>(begin),
                                       levels.begin() + static_cast<std::ptrdiff_t>(end));
  std::vector<FriBidiStrIndex> map(order.size());
  std::iota(map.begin(), map.end(), 0);
  if (fribidi_reorder_line(0, types.data() + begin, static_cast<FriBidiStrIndex>(order.size()), 0,
                           direction, lineLevels.data(), nullptr, map.data()) == 0) {
    return order;
  }
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = begin + static_cast<std::size_t>(map[i]);
  return order;
}

}  // namespace Orb
