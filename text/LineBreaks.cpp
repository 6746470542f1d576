#include "text/LineBreaks.h"

#include <unicode/brkiter.h>
#include <unicode/locid.h>
#include <unicode/unistr.h>

namespace Orb {

LineBreaks::LineBreaks() {
  UErrorCode status = U_ZERO_ERROR;
  iterator.reset(icu::BreakIterator::createLineInstance(icu::Locale::getRoot(), status));
  if (U_FAILURE(status)) iterator.reset();
}

LineBreaks::~LineBreaks() = default;

std::vector<BreakKind> LineBreaks::find(std::u32string_view paragraph) {
  std::vector<BreakKind> breaks(paragraph.size(), BreakKind::None);
  if (!iterator || paragraph.empty()) return breaks;
  // ICU counts in UTF-16 units: each code point's unit index, to map breaks back.
  std::vector<std::int32_t> codePointAt;
  codePointAt.reserve(paragraph.size() * 2 + 1);
  icu::UnicodeString units;
  for (std::size_t i = 0; i < paragraph.size(); ++i) {
    units.append(static_cast<UChar32>(paragraph[i]));
    codePointAt.resize(static_cast<std::size_t>(units.length()), static_cast<std::int32_t>(i));
  }
  iterator->setText(units);
  for (std::int32_t unit = iterator->next(); unit != icu::BreakIterator::DONE && unit < units.length();
       unit = iterator->next()) {
    const std::size_t at = static_cast<std::size_t>(codePointAt[static_cast<std::size_t>(unit)]);
    const bool hard = iterator->getRuleStatus() >= UBRK_LINE_HARD;
    breaks[at] = hard ? BreakKind::Mandatory : BreakKind::Allowed;
  }
  return breaks;
}

}  // namespace Orb
