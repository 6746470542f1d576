#pragma once
// Bringing the face cache up to date with the font folders: once per process for the
// shared cache file, on every call for a private in-memory cache.
#include <string>
#include <vector>

namespace Orb {

class CacheDatabase;

/// Opens `cache` as `databaseName` (falling back to an in-memory database), prepares its
/// statements and, unless the cache file was already refreshed in this process and still
/// records every folder of `folders` (it may have been emptied or replaced since), scans
/// every folder of `folders` (entries ending in "/") whose modification time changed, in
/// one transaction, removing what is no longer there. Answers true at once, opening
/// nothing, for an empty folder list or name; false when no database could be opened or
/// the refresh could not be completed, in which case nothing of it is kept and a later
/// call tries again.
bool RefreshFontCache(CacheDatabase& cache, const std::vector<std::string>& folders,
                      const std::string& databaseName);

/// Forgets that the cache file was refreshed, as if in a new process. For tests only.
void ForgetFontCacheRefreshForTesting();

}  // namespace Orb
