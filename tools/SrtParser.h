#pragma once
// Reads the blocks of an SRT file (already UTF-8) into timed events. Blocks are
// separated by blank lines; each is an optional number, a timing line and the text. A
// block that cannot be read is reported with its line and skipped, so one bad block never
// costs the others. The text keeps its markup exactly as written; its lines are joined
// with "\n" whatever line ends the file used.
#include <cstdint>
#include <string_view>

#include "tools/SubtitleDocument.h"

namespace QuillRender {

/// Parses `utf8` (LF, CRLF or CR line ends). Never fails as a whole.
SubtitleDocument parseSrt(std::string_view utf8);

/// Parses "HH:MM:SS,mmm" into milliseconds: "." also before the milliseconds, 1 to 3 of
/// them, 1 to 9 hour digits, blanks in place of leading zeros and around
/// each number (" 0: 1: 2, 50" is 00:01:02,050). False when it is not such a time or its
/// numbers could be read more than one way (", 5": 5 or 50 ms?).
bool parseSrtTime(std::string_view text, std::int64_t& milliseconds);

}  // namespace QuillRender
