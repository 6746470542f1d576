#pragma once
// Reads a WebVTT file (already UTF-8) into timed events, as the W3C WebVTT parser
// collects blocks: the "WEBVTT" line and the header after it, then blocks separated by
// blank lines. A block whose first or second line is a timing line is a cue (the first
// line then being its identifier); NOTE, STYLE and REGION blocks are skipped. A cue whose
// timings cannot be read, or that ends before it starts, is reported with its line and
// skipped, and so is a block that is no cue and none of the others. A file that does
// not start with "WEBVTT" is not read at all.
#include <cstdint>
#include <string_view>

#include "tools/SubtitleDocument.h"
#include "tools/VttCueText.h"

namespace QuillRender {

/// Parses `utf8` (LF, CRLF or CR line ends). An event's number is the cue's identifier,
/// its text the cue text in the component's `markup` (see VttCueText.h), its alignment
/// what the cue settings ask for (see VttCueSettings.h).
SubtitleDocument parseVtt(std::string_view utf8, CueMarkup markup);

/// Parses a WebVTT timestamp, "[H:]MM:SS.mmm" with exactly three decimals, into
/// milliseconds, as WebVTT's parser reads one: a first field that is not two digits, or
/// is above 59, is hours (up to nine digits here). Reads from the front of `text` and
/// leaves the rest in it; false when there is no timestamp there.
bool takeVttTimestamp(std::string_view& text, std::int64_t& milliseconds);

}  // namespace QuillRender
