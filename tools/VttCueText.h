#pragma once
// The text of a WebVTT cue in the markup the component reads. Bold, italic and underline
// keep their tags; classes, voices, languages and ruby keep their text and lose the tag
// (a ruby's annotation goes with it); timestamps inside the cue are dropped; character
// references are decoded. What the cue says as text must reach the viewer as text, and
// the two layouts read markup differently, so the text is written for the one drawing it.
#include <string>
#include <string_view>

namespace QuillRender {

/// The markup a cue's text is written in.
enum class CueMarkup {
  /// The classic layout's: every "<" opens a tag and nothing escapes one, so a "<" of the
  /// cue is shown as U+2039 SINGLE LEFT-POINTING ANGLE QUOTATION MARK, which looks like
  /// it, rather than starting a tag that would swallow the text after it.
  Classic,
  /// The full layout's, which decodes character references and also reads "{\...}"
  /// override blocks and "\N" breaks: "&", "<", ">", "{" and "\" of the cue are written
  /// as references, so that each is drawn as itself.
  Full,
};

/// The component's markup for cue text `text` (UTF-8, lines joined with "\n"), written
/// in `markup`. Tags left open at the end are closed.
std::string vttCueTextToMarkup(std::string_view text, CueMarkup markup);

}  // namespace QuillRender
