#pragma once
// The line handling the subtitle readers share.
#include <string>
#include <string_view>
#include <vector>

namespace QuillRender {

/// The lines of `text`, split at LF, CRLF or CR (mixed as they come), without their
/// ends. A last line without an end counts; an end at the very end adds no empty line.
std::vector<std::string_view> splitLines(std::string_view text);

/// `line` in double quotes for a message; a longer one is cut after at most 40 bytes, at
/// a character boundary, and ends in "...".
std::string quotedLine(std::string_view line);

}  // namespace QuillRender
