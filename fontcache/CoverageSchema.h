#pragma once
// The face index's record of which characters each face has, kept in tables of the cache
// file beside the face cache's own: the cache's own tables and statements stay exactly as
// they are, so that any release reading the file finds what it expects and leaves these
// alone.
//
// face_coverage holds one row per face whose character map was read (even an empty one),
// keyed as face_v2 keys its faces and stamped with the file time it was read at: a row
// whose face_v2 row has another time is stale. face_coverage_page holds, per such face,
// one row for each page of 256 code points it has any character of, with the page's
// 256-bit map in four integers. face_coverage_folder holds, per folder, the folder time at
// which every face of the folder had its coverage read: a start that finds every folder
// at that time need not look at the faces.
#include <cstddef>

#include "fontcache/CacheSchema.h"

namespace Orb {

/// Creates the coverage tables; run only when the file lacks one of them, and so forgets
/// which folders were complete: what the other tables hold may not match.
extern const char* const kCoverageSchemaScript;

/// The tables kCoverageSchemaScript creates, names in lower case.
extern const SchemaObject kCoverageSchemaObjects[];
extern const std::size_t kCoverageSchemaObjectCount;

/// Removes the face's coverage row (its pages are left to kSweepCoverage): ID, FILE, INDEX.
extern const NamedStatement kDeleteFaceCoverage;
/// Records that the face's map was read: ID, FILE, INDEX, TIMESTAMP.
extern const NamedStatement kInsertFaceCoverage;
/// One page of a face's map: PAGE, FACE (its face_coverage_id), BITS0 to BITS3.
extern const NamedStatement kInsertCoveragePage;
/// The faces of recorded folders, with a family, whose map has not been read at their
/// present file time: path, file_name, face_index, timestamp, font_path_id.
extern const NamedStatement kFacesWithoutCoverage;
/// The face with character CODE_POINT (given as PAGE, WORD 0..3 and BIT 0..63) that text
/// in style BOLD, ITALIC (0/1) should draw with: path, file_name, face_index; see
/// FindFaceWithCharacter for the ranking. FAMILIES lists the preferred families in lower
/// case, each between line feeds.
extern const NamedStatement kFindFaceWithCharacter;

/// The number of recorded folders (num_items) whose faces' coverage was not completed at
/// the folder's present time.
extern const NamedStatement kFoldersWithoutCoverage;

/// Records every folder's present time as the one its faces' coverage is complete at.
extern const char* const kMarkFoldersCovered;

/// Drops the coverage of faces face_v2 no longer holds at that time, and pages of no face.
extern const char* const kSweepCoverage;

}  // namespace Orb
