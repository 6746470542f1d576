#pragma once
// The text of a WebVTT cue in the markup the component reads. Bold, italic and underline
// keep their tags; classes, voices, languages and ruby keep their text and lose the tag
// (a ruby's annotation goes with it); timestamps inside the cue are dropped; character
// references are decoded. The component's markup has no escape for "<": one that the
// cue writes as "&lt;" is shown as U+2039 SINGLE LEFT-POINTING ANGLE QUOTATION MARK,
// which looks like it, rather than starting a tag that would swallow the text after it.
#include <string>
#include <string_view>

namespace QuillRender {

/// The component's markup for cue text `text` (UTF-8, lines joined with "\n"). Tags left
/// open at the end are closed.
std::string vttCueTextToMarkup(std::string_view text);

}  // namespace QuillRender
