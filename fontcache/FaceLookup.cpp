#include "fontcache/FaceLookup.h"

#include <cstdlib>
#include <cstring>

#include "db/Database.h"
#include "fontcache/CacheDatabase.h"
#include "fontcache/CachedFile.h"
#include "fontcache/CacheSchema.h"
#include "fontcache/CacheValues.h"

namespace Orb {
namespace {

using KTDSOLD::ColumnTable;
using KTDSOLD::Variant;
using KTDSOLD::VariantMap;

KTDSOLD::Database* databaseOf(void* context) {
  auto* cache = static_cast<CacheDatabase*>(context);
  return cache && cache->isOpen() ? &cache->database() : nullptr;
}

Variant textOrNull(const char* text) { return text ? Variant(text) : Variant(); }

// A flag byte counts as set only when it is exactly 1.
Variant flag(unsigned char value) { return IntegerValue(value == 1 ? 1 : 0); }

int isFaceCached(const char* path, std::int64_t timestamp, void* context) {
  FileInCache file;
  if (!LocateCachedFile(context, path, file)) return -1;
  VariantMap args{{"ID", IntegerValue(file.folderId)}, {"FILE", Variant(file.fileName.c_str())},
                  {"TIMESTAMP", IntegerValue(timestamp)}};
  ColumnTable table;
  if (!file.database->Query("IS_FACE_CACHED", &args, &table)) return -1;
  const std::int64_t count = ItemCount(table);
  if (count == 0) return -1;
  args.erase("TIMESTAMP");
  file.database->Execute("TOUCH_FACE", &args);
  return static_cast<int>(static_cast<std::uint32_t>(count));
}

int insertFace(const char* path, std::int64_t timestamp, const char* family, std::int64_t faceIndex,
               unsigned char bold, unsigned char italic, void* context) {
  FileInCache file;
  if (!LocateCachedFile(context, path, file)) return -1;
  VariantMap args{{"PATH_ID", IntegerValue(file.folderId)}, {"FILE", Variant(file.fileName.c_str())},
                  {"TIMESTAMP", IntegerValue(timestamp)},   {"FAMILY", textOrNull(family)},
                  {"INDEX", IntegerValue(faceIndex)},       {"BOLD", flag(bold)},
                  {"ITALIC", flag(italic)}};
  return file.database->Execute("INSERT_FACE", &args) ? 1 : -1;
}

// Takes the first row of the bound lookup that names a file and a face.
bool takeFirstFace(KTDSOLD::Database& database, char** path, std::int64_t* faceIndex) {
  VariantMap record;
  while (database.FetchRecord(kFindFaceInStyleOrder.name, &record)) {
    const auto folder = record.find("path");
    const auto file = record.find("file_name");
    const auto index = record.find("face_index");
    if (folder == record.end() || file == record.end() || index == record.end()) continue;
    const std::string full = folder->second.GetText() + file->second.GetText();
    char* copy = ::strdup(full.c_str());
    if (!copy) return false;
    *path = copy;
    *faceIndex = index->second.GetInt64();
    return true;
  }
  return false;
}

int findFace(const char* family, unsigned char bold, unsigned char italic, void* context,
             char** path, std::int64_t* faceIndex) {
  if (!path || !faceIndex) return -1;
  *path = nullptr;
  KTDSOLD::Database* database = databaseOf(context);
  if (!database || !family) return -1;
  // The family must match; only the style gives way, bold first, then italic, then both.
  // One statement ranks the four combinations: each step of its own would start a read of
  // the file (locks and a look for a journal) and a miss costs all four.
  if (!database->PrepareStatement(kFindFaceInStyleOrder.name, kFindFaceInStyleOrder.sql, false))
    return -1;
  VariantMap args{{"FAMILY", Variant(family)}, {"BOLD", flag(bold)}, {"ITALIC", flag(italic)}};
  const bool found = database->BindArgs(kFindFaceInStyleOrder.name, &args) &&
                     takeFirstFace(*database, path, faceIndex);
  // A statement left in the middle of its rows keeps a read transaction open on the file,
  // which would stall every other process's refresh.
  database->ResetStatement(kFindFaceInStyleOrder.name);
  return found ? 1 : -1;
}

}  // namespace

const FaceCacheCallbacks kFaceCacheCallbacks{&isFaceCached, &insertFace, &findFace};

bool GetFontPathId(KTDSOLD::Database& database, const std::string& folder, std::int64_t& id) {
  const VariantMap key{{"path", Variant(folder.c_str())}};
  ColumnTable table;
  if (!database.GetRecord(key, table) || KTDSOLD::GetRowCount(table) != 1) return false;
  VariantMap row;
  if (!KTDSOLD::GetRow(table, 0, row)) return false;
  const auto column = row.find("font_path_id");
  if (column == row.end()) return false;
  id = column->second.GetInt64();
  return true;
}

}  // namespace Orb
