#pragma once
// The lines of a subtitle as the component laid them out, for hosts that show or check
// them: the text of each line (markup removed, in logical order) and where its ink lies
// on the frame. Delivered downstream with MESSAGE_SUBTITLE_LINES just before the image it
// describes, only to hosts that set "Layout"/"Lines"; the records are the component's and
// valid only during that call.
#include <cstdint>

namespace Orb {

struct SubtitleLine {
  const char* text;  ///< UTF-8, 0-terminated
  /// Where the line's ink lies, frame pixels, right and bottom exclusive; all 0 when it
  /// drew nothing.
  std::int32_t left, top, right, bottom;
};

struct SubtitleLines {
  std::uint32_t count;
  const SubtitleLine* lines;
};

}  // namespace Orb
