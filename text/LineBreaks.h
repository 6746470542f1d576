#pragma once
// Where a paragraph may be broken into lines: Unicode line breaking (UAX #14) by ICU's line
// break iterator, with its dictionaries for scripts written without spaces between words
// (Thai, Lao, Khmer, Burmese) and breaks between ideographs.
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include <unicode/uversion.h>

U_NAMESPACE_BEGIN
class BreakIterator;
U_NAMESPACE_END

namespace Orb {

enum class BreakKind : std::uint8_t {
  None,       ///< a line may not start here
  Allowed,    ///< a line may start here
  Mandatory,  ///< a line must start here (after a line or paragraph separator)
};

class LineBreaks {
 public:
  /// Line breaking by the rules of no particular language. Without ICU's data no break is
  /// found, so lines only break where they must fit.
  LineBreaks();
  ~LineBreaks();
  LineBreaks(const LineBreaks&) = delete;
  LineBreaks& operator=(const LineBreaks&) = delete;

  /// For every code point of `paragraph`, whether a line may start before it (never at 0).
  std::vector<BreakKind> find(std::u32string_view paragraph);

 private:
  std::unique_ptr<icu::BreakIterator> iterator;
};

}  // namespace Orb
