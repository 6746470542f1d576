#pragma once
// Face resolution, the stage between markup and layout: every font request of a subtitle
// is given an open face before layout starts, so that no face is opened and no face cache
// asked in the middle of laying out.
#include <memory>
#include <vector>

#include "text/FaceResolver.h"
#include "text/StyledText.h"

namespace Orb {

/// What each font request of one subtitle draws with. Holds the records (and so their
/// faces) for as long as the layout of the subtitle needs them.
struct ResolvedFonts {
  /// `ofRequest[i]` draws request i: its own face when it could be had, else the font its
  /// parent draws with. Never null, and every record has a face. Font fallback appends the
  /// fonts it found after those of the requests (see applyFontFallback).
  std::vector<std::shared_ptr<const FontRecord>> ofRequest;
};

/// Resolves `requests` (request 0 being `base`, which must have a face) in order. Equal
/// requests are resolved once.
ResolvedFonts resolveFonts(const std::vector<FontRequest>& requests,
                           const std::shared_ptr<const FontRecord>& base, FaceResolver& resolver);

}  // namespace Orb
