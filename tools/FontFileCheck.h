#pragma once
// Whether the component draws with the font file it was handed. It takes any bytes as a
// font sample and, when it cannot make a face of them (not a font, truncated, damaged),
// quietly draws with the configured family instead, saying nothing a host could see. A
// host can see the effect, though: a font it takes is used whatever family is configured,
// while without one the family decides. So the same text is drawn by the session given
// and by a second component with the same font file and a family that looks different;
// the two drawings are the same exactly when the font file is in use.
#include <string>

#include "tools/ComponentSession.h"

namespace QuillRender {

enum class FontFileVerdict {
  Used,     ///< the component draws with the font file
  Refused,  ///< it draws with a family instead
  Unknown,  ///< no second family could be had to tell (the fonts folder holds only one)
};

/// Tells whether `session`, set up from `module` with `settings` (whose font file is not
/// empty and whose fonts are not overridden), draws with the font file. The second
/// component lives only for the call.
FontFileVerdict checkFontFile(const ModuleLibrary& module, const SessionSettings& settings,
                              ComponentSession& session);

}  // namespace QuillRender
