#include "tools/TextLines.h"

namespace QuillRender {
namespace {

constexpr std::size_t kQuotedLimit = 40;

}  // namespace

std::vector<std::string_view> splitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\n' && text[i] != '\r') continue;
    lines.push_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

std::string quotedLine(std::string_view line) {
  if (line.size() <= kQuotedLimit) return "\"" + std::string(line) + "\"";
  // Cut before a character, never inside one: the message goes into the manifest, whose
  // text must stay valid UTF-8.
  std::size_t cut = kQuotedLimit;
  while (cut > 0 && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80) --cut;
  return "\"" + std::string(line.substr(0, cut)) + "...\"";
}

}  // namespace QuillRender
