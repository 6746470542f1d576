#pragma once
// Whether the component draws with the font file it was handed. It takes any bytes as a
// font sample and, when it cannot make a face of them (not a font, truncated, damaged),
// quietly draws with the configured family instead, saying nothing a host could see. A
// host can see the effect, though: a font it takes is used whatever family is configured,
// while without one the family decides. So the same text is drawn by a component with
// the font file and the configured family, and by one with the font file and a family that
// looks different: the two drawings are the same when the font file is in use (a third
// component, the other family without the file, rules out that the two families look
// alike).
#include <string>

#include "tools/ComponentSession.h"

namespace QuillRender {

enum class FontFileVerdict {
  Used,     ///< the component draws with the font file
  Refused,  ///< it draws with a family instead
  Unknown,  ///< no second family could be had to tell (the fonts folder holds only one)
};

/// Tells whether a component from `module` set up with `settings` (whose font file is not
/// empty and whose fonts are not overridden) draws with the font file. The components it
/// makes to tell live only for the call.
FontFileVerdict checkFontFile(const Host::PluginModule& module, const SessionSettings& settings);

}  // namespace QuillRender
