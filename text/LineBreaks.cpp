#include "text/LineBreaks.h"

#include <unicode/brkiter.h>
#include <unicode/locid.h>
#include <unicode/unistr.h>
#include <unicode/utext.h>

namespace Orb {

namespace {

// ICU guards its locale and service caches with its own atomics, which a race detector
// cannot see, and renderers are made on many threads at once (one per component). So the
// rules are loaded once, under the language's own once-only initialisation, and every
// renderer takes a clone: cloning is a const operation ICU allows from any thread.
const icu::BreakIterator* lineBreakPrototype() {
  static const std::unique_ptr<icu::BreakIterator> prototype = [] {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::BreakIterator> made(
        icu::BreakIterator::createLineInstance(icu::Locale::getRoot(), status));
    if (U_FAILURE(status)) made.reset();
    return made;
  }();
  return prototype.get();
}

}  // namespace

LineBreaks::LineBreaks() {
  if (const icu::BreakIterator* prototype = lineBreakPrototype()) iterator.reset(prototype->clone());
}

LineBreaks::~LineBreaks() = default;

std::vector<BreakKind> LineBreaks::find(std::u32string_view paragraph) {
  std::vector<BreakKind> breaks(paragraph.size(), BreakKind::None);
  if (!iterator || paragraph.empty()) return breaks;
  // ICU counts in UTF-16 units: the text as units, and each unit's code point, to map
  // breaks back.
  std::vector<UChar> units;
  std::vector<std::int32_t> codePointAt;
  units.reserve(paragraph.size() + 8);
  codePointAt.reserve(paragraph.size() + 8);
  for (std::size_t i = 0; i < paragraph.size(); ++i) {
    const char32_t c = paragraph[i];
    if (c >= 0x10000) {
      units.push_back(static_cast<UChar>(0xD7C0 + (c >> 10)));
      units.push_back(static_cast<UChar>(0xDC00 + (c & 0x3FF)));
      codePointAt.push_back(static_cast<std::int32_t>(i));
    } else {
      units.push_back(static_cast<UChar>(c));
    }
    codePointAt.push_back(static_cast<std::int32_t>(i));
  }
  UErrorCode status = U_ZERO_ERROR;
  UText* text = utext_openUChars(nullptr, units.data(), static_cast<std::int64_t>(units.size()), &status);
  if (U_FAILURE(status)) return breaks;
  iterator->setText(text, status);
  const auto length = static_cast<std::int32_t>(units.size());
  for (std::int32_t unit = iterator->next();
       U_SUCCESS(status) && unit != icu::BreakIterator::DONE && unit < length;
       unit = iterator->next()) {
    const std::size_t at = static_cast<std::size_t>(codePointAt[static_cast<std::size_t>(unit)]);
    const bool hard = iterator->getRuleStatus() >= UBRK_LINE_HARD;
    breaks[at] = hard ? BreakKind::Mandatory : BreakKind::Allowed;
  }
  // The iterator keeps a shallow clone of the text; it is given an empty one before the
  // units it points into go.
  iterator->setText(icu::UnicodeString());
  utext_close(text);
  return breaks;
}

}  // namespace Orb
