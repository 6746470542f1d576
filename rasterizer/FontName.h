#pragma once
// The text of the "Font"/"Name" setting and of font-name messages:
//   family ":" (ignored) ":" "Bold" ":" "Italic" ":" "Underline" ":" "StrikeOut"
// A host writes the style words it wants in their fields and anything else (or nothing)
// where it does not; the field after the family is the host's own and is never read.
#include <string>
#include <string_view>

namespace Orb {

/// A font family with the four style switches the component passes to its renderer.
struct FontStyle {
  std::string family = "Arial";
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
};

/// Parses `text` into `style`. Fails, leaving `style` untouched, when the text is empty or
/// has no family before a first ":". A style field that is present and not empty switches
/// its flag on when it holds the exact keyword and off otherwise; a field that is missing
/// (no ":" closes the one before it) or empty leaves its flag as `style` had it.
bool parseFontName(std::string_view text, FontStyle& style);

}  // namespace Orb
