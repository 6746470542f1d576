#pragma once
// Opening a face from a font file by reading it, not by mapping it into memory. A file
// that shrinks while a face is open (a new version copied over it in place) then makes
// FreeType's reads come up short, which it reports as an error; a mapping would instead
// raise a bus error at the first glyph read from a page that is gone.
#include <ft2build.h>
#include FT_FREETYPE_H

namespace Orb {

/// FT_New_Face for `path` through a reading stream. The stream belongs to the face and
/// closes the file when the face is done, or at once when the open fails.
FT_Error openFaceFromFile(FT_Library library, const char* path, FT_Long faceIndex, FT_Face* face);

}  // namespace Orb
