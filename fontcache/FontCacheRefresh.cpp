#include "fontcache/FontCacheRefresh.h"

#include <atomic>
#include <set>

#include "db/Database.h"
#include "fontcache/CacheDatabase.h"
#include "fontcache/CacheSchema.h"
#include "fontcache/CacheValues.h"
#include "fontcache/CoverageStore.h"
#include "fontcache/FaceLookup.h"
#include "fontcache/FolderScan.h"
#include "fontcache/FontFiles.h"

namespace Orb {
namespace {

using KTDSOLD::ColumnTable;
using KTDSOLD::Variant;
using KTDSOLD::VariantMap;

// Whether the shared cache file has been brought up to date by this process.
std::atomic<bool> fileRefreshed{false};

// One transaction that is rolled back unless it is committed.
class RefreshTransaction {
 public:
  explicit RefreshTransaction(KTDSOLD::Database& database)
      : db(database), begun(database.BeginTransaction(KTDSOLD::Deferred)) {}
  ~RefreshTransaction() {
    if (begun) db.RollbackTransaction();
  }
  RefreshTransaction(const RefreshTransaction&) = delete;
  RefreshTransaction& operator=(const RefreshTransaction&) = delete;

  bool isBegun() const { return begun; }
  /// True when the work is stored; on false the destructor throws it away.
  bool commit() {
    if (!db.CommitTransaction()) return false;
    begun = false;
    return true;
  }

 private:
  KTDSOLD::Database& db;
  bool begun;
};

// Pins the folder's row, found as the callbacks would find it, for one scan.
class FolderPin {
 public:
  FolderPin(CacheDatabase& cache, const std::string& folder, bool writing) : pinned(cache) {
    std::int64_t id = 0;
    if (writing && GetFontPathId(cache.database(), folder, id)) cache.pinFolder(folder, id);
  }
  ~FolderPin() { pinned.unpinFolder(); }
  FolderPin(const FolderPin&) = delete;
  FolderPin& operator=(const FolderPin&) = delete;

 private:
  CacheDatabase& pinned;
};

bool isFolderCached(KTDSOLD::Database& database, const std::string& folder, std::int64_t time) {
  VariantMap args{{"PATH", Variant(folder.c_str())}, {"TIMESTAMP", IntegerValue(time)}};
  ColumnTable table;
  return database.Query("IS_PATH_CACHED", &args, &table) && ItemCount(table) >= 1;
}

// The row of `folder`, stamped with `time` and marked seen; false when it cannot be made.
bool markFolderChanged(KTDSOLD::Database& database, const std::string& folder, std::int64_t time,
                       std::int64_t& id) {
  if (GetFontPathId(database, folder, id)) {
    VariantMap args{{"ID", IntegerValue(id)}, {"TIMESTAMP", IntegerValue(time)}};
    database.Execute("UPDATE_PATH", &args);
    return true;
  }
  VariantMap args{{"PATH", Variant(folder.c_str())}, {"TIMESTAMP", IntegerValue(time)}};
  if (!database.Execute("INSERT_PATH", &args)) return false;
  id = database.GetLastInsertRowId();
  return true;
}

// Scans `folder` when it changed since it was recorded; false only when the scan could
// not run at all. `writing`: the transaction holds the write lock, so that no other
// connection can change the folder rows while the scan runs.
bool refreshFolder(CacheDatabase& cache, const std::string& folder, bool writing) {
  KTDSOLD::Database& database = cache.database();
  const std::int64_t time = FolderModificationTime(folder);
  if (isFolderCached(database, folder, time)) {
    VariantMap args{{"PATH", Variant(folder.c_str())}};
    database.Execute("TOUCH_PATH", &args);
    return true;
  }
  std::int64_t id = 0;
  if (!markFolderChanged(database, folder, time, id)) return true;
  VariantMap args{{"ID", IntegerValue(id)}};
  database.Execute("RESET_TOUCHED_FACE", &args);
  // The scan's callbacks find the folder as GetFontPathId does; a folder it would not find
  // is not pinned, and its files are refused as before.
  const FolderPin pin(cache, folder, writing);
  return InitTextRendererFaceCache(folder.c_str(), &kFaceCacheCallbacks, &cache,
                                   &RecordFaceCoverage);
}

// The file this process refreshed may since have been deleted, emptied or set aside as
// damaged and made afresh: only a file that still records every folder can be trusted.
bool recordsEveryFolder(KTDSOLD::Database& database, const std::vector<std::string>& folders) {
  std::int64_t ignored = 0;
  for (const std::string& folder : folders)
    if (!GetFontPathId(database, folder, ignored)) return false;
  return true;
}

// Whether every folder is recorded with its present time, no other folder is, no row of
// either table is left unmarked and every face's coverage is read: the mark-and-sweep
// would then change nothing.
bool isRecordedAsItIs(CacheDatabase& cache, const std::vector<std::string>& folders) {
  KTDSOLD::Database& database = cache.database();
  for (const std::string& folder : folders)
    if (!isFolderCached(database, folder, FolderModificationTime(folder))) return false;
  ColumnTable table;
  if (!database.PrepareStatement(kCountPathsIfAllMarked.name, kCountPathsIfAllMarked.sql, false) ||
      !database.Query(kCountPathsIfAllMarked.name, nullptr, &table))
    return false;
  const std::set<std::string> distinct(folders.begin(), folders.end());
  return ItemCount(table) == static_cast<std::int64_t>(distinct.size()) &&
         !IsCoverageIncomplete(cache);
}

// Asked in a read transaction of its own: one that later turned into the refresh's write
// would not wait for another process's write lock but fail at once.
bool isUpToDate(CacheDatabase& cache, const std::vector<std::string>& folders) {
  RefreshTransaction reading(cache.database());
  if (!reading.isBegun()) return false;
  const bool upToDate = isRecordedAsItIs(cache, folders);
  return reading.commit() && upToDate;
}

// The mark-and-sweep over every folder, as one transaction.
bool refreshFolders(CacheDatabase& cache, const std::vector<std::string>& folders) {
  KTDSOLD::Database& database = cache.database();
  RefreshTransaction transaction(database);
  if (!transaction.isBegun()) return false;
  const bool writing = database.ExecSQL(kUntouchAllPaths);
  for (const std::string& folder : folders)
    if (!refreshFolder(cache, folder, writing)) return false;
  database.ExecSQL(kSweepPaths);
  database.ExecSQL(kSweepFaces);
  CompleteCoverage(cache);
  return transaction.commit();
}

bool openCache(CacheDatabase& cache, const std::string& databaseName) {
  if (!cache.OpenInDataFolder(databaseName, kCacheSchemaScript) &&
      !cache.OpenInDataFolder(kInMemoryCacheName, kCacheSchemaScript))
    return false;
  if (!cache.isOpen()) return false;
  cache.PrepareStatements();
  PrepareCoverage(cache);
  return true;
}

}  // namespace

bool RefreshFontCache(CacheDatabase& cache, const std::vector<std::string>& folders,
                      const std::string& databaseName) {
  if (folders.empty() || databaseName.empty()) return true;
  if (!openCache(cache, databaseName)) return false;
  // An in-memory cache starts empty on every connection, so only the file can be skipped.
  const bool fileBacked = cache.isFileBacked();
  KTDSOLD::Database& database = cache.database();
  if (fileBacked && fileRefreshed.load() && recordsEveryFolder(database, folders)) return true;
  // Nothing changed is the usual start: it must not cost a write, with its journal and syncs.
  if (!isUpToDate(cache, folders) && !refreshFolders(cache, folders)) return false;
  if (fileBacked) fileRefreshed.store(true);
  return true;
}

void ForgetFontCacheRefreshForTesting() { fileRefreshed.store(false); }

}  // namespace Orb
