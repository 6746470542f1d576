#pragma once
// The settings after a WebVTT cue's timings ("align:start line:0 size:50%"), read as
// WebVTT defines them and turned into the one placement the component can honour: an
// alignment on the frame, numbered as on a numeric keypad (7 8 9 top, 4 5 6 middle,
// 1 2 3 bottom). A setting WebVTT defines but the component has no counterpart for
// (position, size, vertical, region, a line's own alignment) is read and left unused; a
// setting with a name or value WebVTT does not define is ignored, as WebVTT says, and
// reported.
#include <string>
#include <string_view>
#include <vector>

namespace QuillRender {

struct VttCueSettings {
  /// 1 to 9, from "align" (start and left are the left column, end and right the right,
  /// center the middle) and "line" (a line number from the top or a percentage up to a
  /// third is the top row, a negative line number or a percentage beyond two thirds the
  /// bottom row, a percentage between the middle row); 0 when the cue gives neither.
  int alignment = 0;
  /// One sentence for each setting ignored as malformed, quoting it.
  std::vector<std::string> ignored;
};

/// Reads the settings in `text`, the part of a timing line after the end time.
VttCueSettings parseVttCueSettings(std::string_view text);

}  // namespace QuillRender
