#pragma once
// Reading one font folder into the face cache: every font file of the folder that the
// cache does not already hold as unreadable is opened with FreeType and each of its faces
// recorded through the callback table.
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstdint>

#include "fontcache/FaceCacheCallbacks.h"

namespace Orb {

/// The most faces read from one file. A collection holds a few dozen at most; a file
/// claiming more is damaged or hostile and must not cost an open per claimed face.
constexpr std::int64_t kMaxFacesPerFile = 256;

/// Told of each face the scan records, while it is open, with what insertFace was given.
using FaceCoverageRecorder = void (*)(const char* path, std::int64_t timestamp,
                                      std::int64_t faceIndex, FT_Face face, void* context);

/// Scans the font files directly inside `folder` (a folder-list entry ending in "/") and
/// records their faces through `callbacks` with `context`. A file FreeType rejects is
/// recorded once as unreadable (no family, face index -1, timestamp 0) and skipped from
/// then on. Answers false only when FreeType could not start, in which case nothing was
/// recorded; a null folder or table, or a folder without font files, answers true.
bool InitTextRendererFaceCache(const char* folder, const FaceCacheCallbacks* callbacks,
                               void* context, FaceCoverageRecorder recordCoverage = nullptr);

}  // namespace Orb
