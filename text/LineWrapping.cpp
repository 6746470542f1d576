#include "text/LineWrapping.h"

#include <algorithm>
#include <cstdint>

namespace Orb {

namespace {

class Wrapper {
 public:
  explicit Wrapper(const WrapInput& wrapped) : input(wrapped), prefix(wrapped.advances.size() + 1, 0) {
    for (std::size_t i = 0; i < input.advances.size(); ++i) prefix[i + 1] = prefix[i] + input.advances[i];
    for (std::size_t i = 1; i < size(); ++i) {
      if (input.breaks[i] != BreakKind::None) stops.push_back(i);
    }
    stops.push_back(size());
  }

  std::size_t size() const { return input.advances.size(); }

  // Moves the first word of a line up onto the line above while the upper line is the
  // shorter and the word fits it within `hardLimit`; lines keep at least one word.
  // A line that grows may leave the one above it the shorter, so passes repeat until
  // nothing moves; every move takes a boundary forward, so they end.
  void raiseWords(std::vector<WrappedLine>& lines, std::int64_t hardLimit) const {
    for (bool moved = true; moved;) {
      moved = false;
      for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
        WrappedLine& upper = lines[i];
        WrappedLine& lower = lines[i + 1];
        while (lineWidth(upper) < lineWidth(lower) &&
               input.breaks[lower.begin] != BreakKind::Mandatory) {
          const std::size_t next = nextBreak(lower.begin);
          if (next >= lower.end ||
              width(upper.visibleBegin, visibleEnd(upper.visibleBegin, next)) > hardLimit) {
            break;
          }
          upper.end = next;
          upper.visibleEnd = visibleEnd(upper.visibleBegin, next);
          lower.begin = next;
          lower.visibleBegin = visibleBegin(next, lower.end);
          moved = true;
        }
      }
    }
  }

  // Greedy lines no wider than `limit` into `lines`: each takes as much as fits. False when
  // a word that fits `hardLimit` does not fit `limit` (such a word is never broken), or as
  // soon as it takes more than `maxLines`.
  bool greedy(std::int64_t limit, std::int64_t hardLimit, std::vector<WrappedLine>& lines,
              std::size_t maxLines = SIZE_MAX) const {
    lines.clear();
    std::size_t start = 0;
    while (start < size()) {
      const std::size_t shown = visibleBegin(start, size());
      std::size_t end = 0;
      std::size_t firstBreak = size();
      for (auto stop = std::upper_bound(stops.begin(), stops.end(), start); stop != stops.end(); ++stop) {
        const std::size_t candidate = *stop;
        if (firstBreak == size()) firstBreak = candidate;
        if (width(shown, visibleEnd(shown, candidate)) > limit) break;
        end = candidate;
        if (candidate < size() && input.breaks[candidate] == BreakKind::Mandatory) break;
      }
      if (end == 0) {
        // The first word does not fit: unless it is longer than a whole line, this limit
        // is too narrow.
        if (limit < hardLimit && width(shown, visibleEnd(shown, firstBreak)) <= hardLimit) {
          return false;
        }
        end = insideWord(shown, firstBreak, limit);
      }
      const std::size_t from = std::min(shown, end);
      lines.push_back(WrappedLine{start, end, from, visibleEnd(from, end)});
      if (lines.size() > maxLines) return false;
      start = end;
    }
    if (lines.empty()) lines.push_back(WrappedLine{});
    return true;
  }

 private:
  std::int64_t width(std::size_t begin, std::size_t end) const { return prefix[end] - prefix[begin]; }
  std::int64_t lineWidth(const WrappedLine& line) const {
    return width(line.visibleBegin, line.visibleEnd);
  }

  // The first place after `from` where a line may start, or the end.
  std::size_t nextBreak(std::size_t from) const {
    std::size_t at = from + 1;
    while (at < size() && input.breaks[at] == BreakKind::None) ++at;
    return at;
  }

  std::size_t visibleEnd(std::size_t begin, std::size_t end) const {
    while (end > begin && input.whitespace[end - 1]) --end;
    return end;
  }

  std::size_t visibleBegin(std::size_t begin, std::size_t end) const {
    while (begin < end && input.whitespace[begin]) ++begin;
    return begin;
  }

  // The furthest cluster boundary inside [start, wordEnd) that keeps the piece within
  // `limit`; at least one cluster.
  std::size_t insideWord(std::size_t start, std::size_t wordEnd, std::int64_t limit) const {
    std::size_t end = 0;
    for (std::size_t at = start + 1; at < wordEnd; ++at) {
      if (!input.clusterStarts[at]) continue;
      if (end != 0 && width(start, at) > limit) break;
      end = at;
    }
    return end != 0 ? end : wordEnd;
  }

  const WrapInput& input;
  std::vector<std::int64_t> prefix;
  // Where a line may end: every break opportunity, then the end of the text. Greedy passes
  // walk these rather than every code point, since the balancing search makes many.
  std::vector<std::size_t> stops;
};

}  // namespace

std::vector<WrappedLine> wrapBalanced(const WrapInput& input, std::int64_t maxWidth) {
  const Wrapper wrapper(input);
  std::vector<WrappedLine> lines;
  wrapper.greedy(maxWidth, maxWidth, lines);  // never refused at the hard limit itself
  if (lines.size() < 2) return lines;
  // The narrowest width that still gives no more lines; greedy lines at it are balanced.
  std::int64_t narrow = 0;
  std::int64_t wide = maxWidth;
  std::vector<WrappedLine> tried;
  tried.reserve(lines.size() + 1);
  while (narrow < wide) {
    const std::int64_t middle = narrow + (wide - narrow) / 2;
    if (wrapper.greedy(middle, maxWidth, tried, lines.size())) {
      wide = middle;
    } else {
      narrow = middle + 1;
    }
  }
  wrapper.greedy(wide, maxWidth, lines);
  // Subtitles are set with the upper lines the wider where the words allow it.
  wrapper.raiseWords(lines, maxWidth);
  return lines;
}

}  // namespace Orb
