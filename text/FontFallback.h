#pragma once
// Per-character font fallback, the last step of face resolution: a character that the face
// of its run lacks is drawn with the first face that has it, so that text in a script the
// chosen font does not cover shows rather than empty boxes. It works on the styled runs
// and the resolved fonts, so every layout after it draws the fallen-back characters
// without knowing about fallback.
#include <cstddef>
#include <memory>

#include "text/FaceResolver.h"
#include "text/FontResolution.h"
#include "text/StyledText.h"

namespace Orb {

struct FontFallbackLimits {
  /// Characters not seen before in a subtitle that are looked up at most per subtitle:
  /// each lookup may be a face-index query, and a megabyte of distinct code points must
  /// not cost a million of them. Later ones keep their run's face.
  static constexpr std::size_t kLookupsPerSubtitle = 256;
};

/// Gives every character of `text` that the face of its run (`fonts.ofRequest[font]`)
/// lacks a face that has it: `embedded` (the renderer's own font file or bytes, when it
/// has one; may be null) when it has the character, else the face `resolver`'s lookup
/// finds for the run's bold and italic. Runs are split where the face changes; the pieces
/// point at fonts appended to `fonts.ofRequest` after those of the requests. Characters
/// no face has keep their run's face, and so does everything in a run whose face has no
/// Unicode character map. Controls and default-ignorable characters are never looked up
/// and stay with the face before them; a combining character stays with the face of the
/// character it combines with when that face has it, so a cluster is not torn apart.
/// Characters from `characterLimit` on, which the layout will not take, are not examined.
void applyFontFallback(StyledText& text, ResolvedFonts& fonts, FaceResolver& resolver,
                       const std::shared_ptr<const FontRecord>& embedded,
                       std::size_t characterLimit);

}  // namespace Orb
