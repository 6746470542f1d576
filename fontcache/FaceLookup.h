#pragma once
// The record-level operations on the face cache: the callback table through which the
// folder scan records faces and the text renderer looks them up, and the lookup of a
// folder's row. Every callback's context is the `CacheDatabase*` it runs on.
#include <cstdint>
#include <string>

#include "fontcache/FaceCacheCallbacks.h"

namespace KTDSOLD {
class Database;
}

namespace Orb {

/// The process-wide, read-only callback table over a `CacheDatabase`. A null context, a
/// closed cache or a missing statement makes every entry answer -1.
extern const FaceCacheCallbacks kFaceCacheCallbacks;

/// The `font_path_id` of the row whose path is exactly `folder` (a folder-list entry, or
/// the folder part SplitPath gives). False when there is no such row, more than one, or
/// the query fails; `id` is then unchanged.
bool GetFontPathId(KTDSOLD::Database& database, const std::string& folder, std::int64_t& id);

}  // namespace Orb
