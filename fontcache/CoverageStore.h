#pragma once
// Keeping the record of which characters each face has (see CoverageSchema.h) in step
// with the faces the cache records: written by the folder scan for the faces it reads,
// completed by the refresh for faces recorded without it (by an earlier release, say), and
// swept with the faces.
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstdint>

namespace Orb {

class CacheDatabase;

/// On a freshly opened cache: creates the coverage tables when the file lacks them and
/// prepares the statement a start needs (the others are prepared when first used), and
/// records in `cache.hasCoverage()` whether that worked.
/// A cache without them works as before; only the search by character finds nothing.
void PrepareCoverage(CacheDatabase& cache);

/// A FaceCoverageRecorder for the folder scan: records which characters `face`, face
/// `faceIndex` of `path` read at file time `timestamp`, has, in the cache `context` (a
/// `CacheDatabase*`), replacing what was recorded for that face before. Does nothing when
/// the cache has no coverage or the file's folder is not recorded.
void RecordFaceCoverage(const char* path, std::int64_t timestamp, std::int64_t faceIndex,
                        FT_Face face, void* context);

/// Whether a recorded folder has changed since every one of its faces had its coverage
/// read (or never had it read, as in a file an earlier release wrote). False when the cache
/// has no coverage.
bool IsCoverageIncomplete(CacheDatabase& cache);

/// Inside the refresh's transaction, after its sweep: reads the coverage of every face
/// that lacks it (opening the files with FreeType; a face that no longer opens is recorded
/// as covering nothing until its file changes), drops what no face uses any more and, when
/// no face was left without, marks every folder complete at its present time.
void CompleteCoverage(CacheDatabase& cache);

}  // namespace Orb
