#include "fontcache/CoverageStore.h"

#include <optional>
#include <string>
#include <vector>

#include "db/Database.h"
#include "fontcache/CacheDatabase.h"
#include "fontcache/CacheValues.h"
#include "fontcache/CachedFile.h"
#include "fontcache/CoverageSchema.h"
#include "fontcache/FaceCoverage.h"
#include "fontcache/ScanFreeType.h"
#include "fontcache/SchemaObjects.h"

namespace Orb {
namespace {

using KTDSOLD::Variant;
using KTDSOLD::VariantMap;

// Statements other than the start's own check are compiled when first needed: a start
// that finds everything in place should not pay for them.
bool prepared(KTDSOLD::Database& database, const NamedStatement& statement) {
  return database.PrepareStatement(statement.name, statement.sql, false);
}

bool holdsCoverageTables(KTDSOLD::Database& database) {
  const std::optional<SchemaObjectSet> present = ListSchemaObjects(database);
  return present && HoldsEvery(*present, kCoverageSchemaObjects, kCoverageSchemaObjectCount);
}

Variant bitsValue(std::uint64_t bits) {
  Variant value;
  value.Set(bits);  // stored as the signed integer of the same 64 bits
  return value;
}

// A face as the cache keys it.
struct FaceKey {
  std::int64_t folderId = 0;
  std::string fileName;
  std::int64_t faceIndex = 0;
};

VariantMap keyArguments(const FaceKey& face) {
  return VariantMap{{"ID", IntegerValue(face.folderId)},
                    {"FILE", Variant(face.fileName.c_str())},
                    {"INDEX", IntegerValue(face.faceIndex)}};
}

// The face's row, then its pages. A face whose pages could not all be stored loses its row
// again, so that the next refresh reads it once more; pages left without a row are swept.
// False when the face has no row.
bool recordCoverage(KTDSOLD::Database& database, const FaceKey& face, std::int64_t timestamp,
                    const std::vector<CoveragePage>& pages) {
  if (!prepared(database, kDeleteFaceCoverage) || !prepared(database, kInsertFaceCoverage) ||
      !prepared(database, kInsertCoveragePage))
    return false;
  const VariantMap key = keyArguments(face);
  VariantMap row = key;
  row.emplace("TIMESTAMP", IntegerValue(timestamp));
  if (!database.Execute(kDeleteFaceCoverage.name, &key) ||
      !database.Execute(kInsertFaceCoverage.name, &row))
    return false;
  const auto insertPage = database.GetStatement(kInsertCoveragePage.name);
  VariantMap page{{"PAGE", Variant()},
                  {"FACE", IntegerValue(database.GetLastInsertRowId())},
                  {"BITS0", Variant()},
                  {"BITS1", Variant()},
                  {"BITS2", Variant()},
                  {"BITS3", Variant()}};
  Variant* const bits[] = {&page["BITS0"], &page["BITS1"], &page["BITS2"], &page["BITS3"]};
  Variant& number = page["PAGE"];
  for (const CoveragePage& covered : pages) {
    number = IntegerValue(covered.page);
    for (std::size_t word = 0; word < covered.bits.size(); ++word) *bits[word] = bitsValue(covered.bits[word]);
    if (!database.Execute(&*insertPage, &page)) {
      database.Execute(kDeleteFaceCoverage.name, &key);
      return false;
    }
  }
  return true;
}

struct UncoveredFace {
  FaceKey key;
  std::string path;
  std::int64_t timestamp = 0;
};

// False when they cannot be listed.
bool facesWithoutCoverage(KTDSOLD::Database& database, std::vector<UncoveredFace>& faces) {
  if (!prepared(database, kFacesWithoutCoverage) || !database.BindArgs(kFacesWithoutCoverage.name))
    return false;
  VariantMap record;
  while (database.FetchRecord(kFacesWithoutCoverage.name, &record)) {
    UncoveredFace face;
    face.key.folderId = record["font_path_id"].GetInt64();
    face.key.fileName = record["file_name"].GetText();
    face.key.faceIndex = record["face_index"].GetInt64();
    face.path = record["path"].GetText() + face.key.fileName;
    face.timestamp = record["timestamp"].GetInt64();
    faces.push_back(std::move(face));
  }
  database.ResetStatement(kFacesWithoutCoverage.name);
  return true;
}

// Reads and records the coverage of every face that lacks it; false when one was left
// without.
bool readMissingCoverage(KTDSOLD::Database& database) {
  std::vector<UncoveredFace> faces;
  if (!facesWithoutCoverage(database, faces)) return false;
  if (faces.empty()) return true;
  const ScanLibrary library;
  // Without FreeType every face would be recorded as covering nothing for good.
  if (!library.get()) return false;
  bool complete = true;
  for (const UncoveredFace& uncovered : faces) {
    const ScannedFace face(library.get(), uncovered.path, static_cast<FT_Long>(uncovered.key.faceIndex));
    complete = recordCoverage(database, uncovered.key, uncovered.timestamp,
                              face.get() ? ReadCoverage(face.get()) : std::vector<CoveragePage>{}) &&
               complete;
  }
  return complete;
}

}  // namespace

void PrepareCoverage(CacheDatabase& cache) {
  KTDSOLD::Database& database = cache.database();
  // Asked first: the script, though it would create nothing, would still write.
  cache.setHasCoverage((holdsCoverageTables(database) || database.ExecSQL(kCoverageSchemaScript)) &&
                       prepared(database, kFoldersWithoutCoverage));
}

void RecordFaceCoverage(const char* path, std::int64_t timestamp, std::int64_t faceIndex,
                        FT_Face face, void* context) {
  FileInCache file;
  if (!face || !LocateCachedFile(context, path, file)) return;
  if (!static_cast<CacheDatabase*>(context)->hasCoverage()) return;
  recordCoverage(*file.database, FaceKey{file.folderId, file.fileName, faceIndex}, timestamp,
                 ReadCoverage(face));
}

bool IsCoverageIncomplete(CacheDatabase& cache) {
  KTDSOLD::ColumnTable table;
  return cache.hasCoverage() &&
         cache.database().Query(kFoldersWithoutCoverage.name, nullptr, &table) && ItemCount(table) > 0;
}

void CompleteCoverage(CacheDatabase& cache) {
  if (!cache.hasCoverage()) return;
  KTDSOLD::Database& database = cache.database();
  const bool complete = readMissingCoverage(database);
  database.ExecSQL(kSweepCoverage);
  // Only a folder whose every face has its coverage may be passed over by the next start.
  if (complete) database.ExecSQL(kMarkFoldersCovered);
}

}  // namespace Orb
