#include "fontcache/CacheDatabase.h"

#include <cstring>
#include <fstream>

#include "fontcache/CacheSchema.h"
#include "fontcache/SchemaObjects.h"
#include "platform/Files.h"
#include "platform/Folders.h"

namespace Orb {
namespace {

constexpr const char* kSqliteInMemory = ":memory:";
constexpr const char* kDataSubFolders[] = {"Omra", "Omra Stream Engine", "v3.1"};

bool exists(const std::string& path) {
  std::int64_t ignored = 0;
  return Platform::modificationTime(path, ignored);
}

// A file that is there but does not start as every SQLite database does. A missing or
// unreadable file, or an empty one (which SQLite fills), is not foreign.
bool isForeignFile(const std::string& path) {
  static const char kHeader[] = "SQLite format 3";  // with its zero byte: 16 bytes
  std::ifstream in(path, std::ios::binary);
  char start[sizeof kHeader] = {};
  if (!in.read(start, sizeof start) && in.gcount() == 0) return false;
  return std::memcmp(start, kHeader, sizeof kHeader) != 0;
}

// Whether the file holds every object of the cache's schema and not the old face table,
// so that the schema script would create and drop nothing. False when it cannot be told.
bool holdsCacheSchema(KTDSOLD::Database& db) {
  const std::optional<SchemaObjectSet> present = ListSchemaObjects(db);
  if (!present) return false;
  for (const auto& object : *present)
    if (object.second == kOldFaceTable) return false;
  return HoldsEvery(*present, kCacheSchemaObjects, kCacheSchemaObjectCount);
}

}  // namespace

CacheDatabase::~CacheDatabase() { db.Close(); }

bool CacheDatabase::isFileBacked() const { return open && target != kSqliteInMemory; }

bool CacheDatabase::OpenInDataFolder(const std::string& name, const std::string& schemaScript) {
  coverage = false;
  if (name.empty() || name == kInMemoryCacheName) {
    target = kSqliteInMemory;
  } else {
    std::string folder = Platform::userDataFolder();
    if (folder.empty()) return false;
    for (const char* level : kDataSubFolders) {
      folder += Platform::kPathSeparator;
      folder += level;
    }
    // On a fresh account even the data folder itself may be missing. A failure shows
    // when the file cannot be opened.
    Platform::createPrivateFolders(folder);
    target = folder + Platform::kPathSeparator + name;
  }
  if (schemaScript.empty()) return true;
  const OpenResult result = openAndRunSchema(schemaScript);
  if (result == OpenResult::Ready) return true;
  if (target == kSqliteInMemory) return false;
  // A malformed file (one cut short, say) fails already on open; left in place, it would
  // send every later process to an in-memory cache that must scan all fonts again.
  const bool damaged = result == OpenResult::SchemaFailed || isForeignFile(target) ||
                       db.LastOpenFoundDamage();
  return damaged && replaceDamagedFile(schemaScript);
}

CacheDatabase::OpenResult CacheDatabase::openAndRunSchema(const std::string& schemaScript) {
  open = db.Open(target);
  if (!open) return OpenResult::OpenFailed;
  // On a file that already has it all, the cache's own script would still rewrite the
  // auto-vacuum flag: a write transaction, with its journal and syncs, on every start.
  const bool settled = schemaScript == kCacheSchemaScript && holdsCacheSchema(db);
  if (db.ExecSQL(settled ? kCacheConnectionScript : schemaScript)) return OpenResult::Ready;
  // Holding on to a connection the schema failed on would refuse every later open.
  db.Close();
  open = false;
  return OpenResult::SchemaFailed;
}

bool CacheDatabase::replaceDamagedFile(const std::string& schemaScript) {
  // A journal beside the file means some connection is writing to it: the failure may be
  // passing, and moving the file away would pair that journal with a stranger.
  if (exists(target + "-journal") || exists(target + "-wal")) return false;
  if (!Platform::renameFile(target, target + ".damaged")) return false;
  return openAndRunSchema(schemaScript) == OpenResult::Ready;
}

void CacheDatabase::PrepareStatements() {
  for (std::size_t i = 0; i < kCacheStatementCount; ++i)
    db.PrepareStatement(kCacheStatements[i].name, kCacheStatements[i].sql, true);
}

void CacheDatabase::pinFolder(const std::string& folder, std::int64_t id) {
  pinnedFolder = folder;
  pinnedId = id;
}

void CacheDatabase::unpinFolder() {
  pinnedFolder.clear();
  pinnedId.reset();
}

std::optional<std::int64_t> CacheDatabase::pinnedFolderId(const std::string& folder) const {
  if (pinnedId && folder == pinnedFolder) return pinnedId;
  return std::nullopt;
}

}  // namespace Orb
