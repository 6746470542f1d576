#include "fontcache/CachedFile.h"

#include "fontcache/CacheDatabase.h"
#include "fontcache/FaceLookup.h"
#include "fontcache/FontFiles.h"

namespace Orb {

bool LocateCachedFile(void* context, const char* path, FileInCache& file) {
  auto* cache = static_cast<CacheDatabase*>(context);
  if (!cache || !cache->isOpen() || !path) return false;
  file.database = &cache->database();
  const PathParts parts = SplitPath(path);
  file.fileName = parts.fileName;
  if (const auto pinned = cache->pinnedFolderId(parts.folder)) {
    file.folderId = *pinned;
    return true;
  }
  return GetFontPathId(*file.database, parts.folder, file.folderId);
}

}  // namespace Orb
