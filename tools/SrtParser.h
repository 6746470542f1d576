#pragma once
// Reads the blocks of an SRT file (already UTF-8) into timed events. Blocks are
// separated by blank lines; each is an optional number, a timing line and the text. A
// block that cannot be read is reported with its line and skipped, so one bad block never
// costs the others. The text keeps its markup exactly as written; its lines are joined
// with "\n" whatever line ends the file used.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace QuillRender {

struct SubtitleEvent {
  std::size_t index = 0;    ///< 1-based position among the events read, without gaps
  std::string number;       ///< the block's own number as written; empty when it had none
  std::int64_t startMs = 0;
  std::int64_t endMs = 0;
  std::string text;         ///< lines joined with "\n"; may be empty
  std::size_t line = 0;     ///< 1-based line the block starts on
};

struct SrtProblem {
  std::size_t line = 0;  ///< 1-based line where the block went wrong
  std::string message;   ///< what was wrong, one sentence
};

struct SrtDocument {
  std::vector<SubtitleEvent> events;
  std::vector<SrtProblem> problems;  ///< one per skipped block, in file order
};

/// Parses `utf8` (LF, CRLF or CR line ends). Never fails as a whole.
SrtDocument parseSrt(std::string_view utf8);

/// Parses "HH:MM:SS,mmm" into milliseconds: "." also before the milliseconds, 1 to 3 of
/// them, 1 to 9 hour digits, blanks in place of leading zeros and around
/// each number (" 0: 1: 2, 50" is 00:01:02,050). False when it is not such a time or its
/// numbers could be read more than one way (", 5": 5 or 50 ms?).
bool parseSrtTime(std::string_view text, std::int64_t& milliseconds);

}  // namespace QuillRender
