#pragma once
// Subtitle text in the languages and character sets files in the wild come in, written
// by iconv at test time as another system's subtitle tool would have saved it.
#include <string>
#include <vector>

namespace QuillRender {

/// `utf8` in `charset` (a test failure when iconv cannot write it).
std::string encodeAs(const std::string& utf8, const char* charset);

/// A small SRT file (CRLF line ends) of one block per line of `lines`.
std::string subtitles(const std::vector<std::string>& lines);

/// Sample files of four blocks each, in UTF-8.
extern const std::string kSerbian;   // Cyrillic
extern const std::string kRussian;
extern const std::string kCzech;     // with letters Windows-1250 puts in 0x80-0x9F
extern const std::string kPolish;
extern const std::string kFrench;    // with typographic quotes and an ellipsis
extern const std::string kJapanese;

}  // namespace QuillRender
