#pragma once
// Line breaking for the full layout: which break opportunities a paragraph is broken at.
// Lines are balanced: as few as fit the width, then as even as they can be made with the
// upper lines the wider, as subtitles are set. A word is broken inside only when it is
// longer than a whole line, and then between clusters.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "text/LineBreaks.h"

namespace Orb {

/// What wrapping knows of each code point of a paragraph.
struct WrapInput {
  std::vector<std::int64_t> advances;  ///< 26.6; a cluster's whole advance on its first code point
  std::vector<BreakKind> breaks;       ///< where a line may or must start
  std::vector<bool> clusterStarts;     ///< where a word longer than a line may be broken
  std::vector<bool> whitespace;        ///< taken off the end of a line before measuring
};

/// Code points [begin, end) of a paragraph on one line; [begin, visibleBegin) and
/// [visibleEnd, end) are the whitespace the line starts and ends with, which is neither
/// measured nor drawn.
struct WrappedLine {
  std::size_t begin = 0;
  std::size_t end = 0;
  std::size_t visibleBegin = 0;
  std::size_t visibleEnd = 0;
};

/// Breaks the paragraph into balanced lines no wider than `maxWidth` (26.6) where it can.
/// An empty paragraph is one empty line.
std::vector<WrappedLine> wrapBalanced(const WrapInput& input, std::int64_t maxWidth);

}  // namespace Orb
