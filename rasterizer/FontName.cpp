#include "rasterizer/FontName.h"

namespace Orb {

namespace {

void applyField(std::string_view field, std::string_view keyword, bool& flag) {
  if (!field.empty()) flag = (field == keyword);
}

}  // namespace

bool parseFontName(std::string_view text, FontStyle& style) {
  const std::size_t familyEnd = text.find(':');
  if (familyEnd == std::string_view::npos || familyEnd == 0) return false;
  style.family.assign(text.substr(0, familyEnd));

  const std::size_t skippedEnd = text.find(':', familyEnd + 1);
  if (skippedEnd == std::string_view::npos) return true;
  std::size_t start = skippedEnd + 1;

  // Bold, italic and underline count only when a ":" closes them; the last field, the
  // strike-out word, runs to the end of the text.
  struct Field {
    std::string_view keyword;
    bool& flag;
  };
  const Field closedFields[] = {
      {"Bold", style.bold}, {"Italic", style.italic}, {"Underline", style.underline}};
  for (const Field& field : closedFields) {
    const std::size_t end = text.find(':', start);
    if (end == std::string_view::npos) return true;
    applyField(text.substr(start, end - start), field.keyword, field.flag);
    start = end + 1;
  }
  const std::size_t end = text.find(':', start);
  applyField(text.substr(start, end == std::string_view::npos ? end : end - start), "StrikeOut",
             style.strikeOut);
  return true;
}

}  // namespace Orb
