#pragma once
// Where a font file stands in the face cache: the connection it is recorded on, its file
// name and its folder's row. Shared by the callbacks that record faces and by the record
// of what the faces cover.
#include <cstdint>
#include <string>

namespace KTDSOLD {
class Database;
}

namespace Orb {

struct FileInCache {
  KTDSOLD::Database* database = nullptr;
  std::string fileName;
  std::int64_t folderId = 0;
};

/// Finds `path` (UTF-8) in the cache `context` (a `CacheDatabase*`): the folder pinned by
/// the refresh, else the folder's single row. False when the context is null or closed,
/// the path null, or its folder has no single row.
bool LocateCachedFile(void* context, const char* path, FileInCache& file);

}  // namespace Orb
