// The "Font"/"Name" setting text through parseFontName, compared with a reading of the
// format by splitting on every ":" first: the family is field 0, field 1 is never read,
// fields 2 to 4 count only when a ":" closes them, and field 5 is the strike-out word.
// A refused text must leave the style exactly as it was.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/FuzzCheck.h"
#include "rasterizer/FontName.h"

namespace {

std::vector<std::string_view> fieldsOf(std::string_view text) {
  std::vector<std::string_view> fields;
  std::size_t start = 0;
  for (std::size_t at = 0; at <= text.size(); ++at) {
    if (at == text.size() || text[at] == ':') {
      fields.push_back(text.substr(start, at - start));
      start = at + 1;
    }
  }
  return fields;
}

bool sameStyle(const Orb::FontStyle& a, const Orb::FontStyle& b) {
  return a.family == b.family && a.bold == b.bold && a.italic == b.italic &&
         a.underline == b.underline && a.strikeOut == b.strikeOut;
}

// The expected result of parsing `text` over `style`, or false for a refusal.
bool referenceParse(std::string_view text, Orb::FontStyle& style) {
  const std::vector<std::string_view> fields = fieldsOf(text);
  if (fields.size() < 2 || fields[0].empty()) return false;
  style.family = std::string(fields[0]);
  const std::string_view keywords[] = {"Bold", "Italic", "Underline", "StrikeOut"};
  bool* flags[] = {&style.bold, &style.italic, &style.underline, &style.strikeOut};
  for (std::size_t k = 0; k < 4; ++k) {
    const std::size_t field = k + 2;
    // Only the last field may run to the end of the text.
    const bool present = k == 3 ? field < fields.size() : field + 1 < fields.size();
    if (present && !fields[field].empty()) *flags[k] = fields[field] == keywords[k];
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The first byte chooses the flags the style starts with, so both directions of every
  // switch are reached.
  Orb::FontStyle before;
  std::string_view text(reinterpret_cast<const char*>(data), size);
  if (!text.empty()) {
    const auto start = static_cast<unsigned char>(text.front());
    before.bold = start & 1;
    before.italic = start & 2;
    before.underline = start & 4;
    before.strikeOut = start & 8;
    text.remove_prefix(1);
  }
  Orb::FontStyle parsed = before;
  Orb::FontStyle expected = before;
  const bool accepted = Orb::parseFontName(text, parsed);
  QuillFuzz::require(accepted == referenceParse(text, expected), "parseFontName accepts what the reference accepts");
  QuillFuzz::require(sameStyle(parsed, expected), "parseFontName agrees with the reference");
  return 0;
}
