#pragma once
// HarfBuzz faces of font files, shared by every renderer of the process. A HarfBuzz face
// holds the font's layout tables and the shaping plans compiled for it; made per renderer,
// each new renderer (a new component, or a font change) read the tables again and compiled
// the same plans before its first subtitle. Shared ones are made once, from the file read
// into memory (a renderer's FreeType face is not for other threads, and font files are
// read, not mapped: see FontFileStream).
#include <cstddef>

#include <hb.h>

#include "text/SharedFace.h"

namespace Orb {

/// Faces kept for later renderers while none uses them, and the bytes they may hold.
constexpr std::size_t kShapingFacesKept = 16;
constexpr std::size_t kShapingFaceBytesKept = std::size_t{64} << 20;

/// A new reference (for hb_face_destroy) to the shared HarfBuzz face of `file` with
/// `glyphCount` glyphs, as FreeType opened it; null when the file cannot be read or is no
/// longer that file, or HarfBuzz sees another glyph count: the caller then makes a face of
/// its own. Safe to call from any thread.
hb_face_t* sharedShapingFace(const FaceFile& file, unsigned glyphCount);

}  // namespace Orb
