#pragma once
// What a subtitle file reader makes of a file: timed events, the blocks it skipped and
// the things it worked around, each with the line it is on.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace QuillRender {

struct SubtitleEvent {
  std::size_t index = 0;    ///< 1-based position among the events read, without gaps
  std::string number;       ///< the block's own number or identifier as written; may be empty
  std::int64_t startMs = 0;
  std::int64_t endMs = 0;
  std::string text;         ///< in the component's markup, lines joined with "\n"; may be empty
  std::size_t line = 0;     ///< 1-based line the block starts on
  int alignment = 0;        ///< 1-9 as on a numeric keypad, asked by the file; 0: none asked
};

struct SubtitleProblem {
  std::size_t line = 0;  ///< 1-based line where the block went wrong
  std::string message;   ///< what was wrong, one sentence
};

struct SubtitleDocument {
  std::vector<SubtitleEvent> events;
  std::vector<SubtitleProblem> problems;  ///< one per skipped block, in file order
  std::vector<SubtitleProblem> warnings;  ///< what was ignored in events kept, in file order
  /// Set when the file as a whole is not of the format read; nothing else is then read.
  std::optional<SubtitleProblem> unreadable;
};

}  // namespace QuillRender
