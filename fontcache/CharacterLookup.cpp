#include "fontcache/CharacterLookup.h"

#include "db/Database.h"
#include "fontcache/CacheDatabase.h"
#include "fontcache/CacheValues.h"
#include "fontcache/CoverageSchema.h"
#include "fontcache/FaceCoverage.h"

namespace Orb {
namespace {

using KTDSOLD::Variant;
using KTDSOLD::VariantMap;

// The families as the query finds them: each in ASCII lower case between line feeds. A
// name holding a line feed could match across two names and is left out.
std::string familyListArgument(const std::vector<std::string>& families) {
  std::string list = "\n";
  for (const std::string& family : families) {
    if (family.find('\n') != std::string::npos) continue;
    for (char c : family) list += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    list += '\n';
  }
  return list;
}

}  // namespace

bool FindFaceWithCharacter(CacheDatabase& cache, char32_t codePoint, bool bold, bool italic,
                           const std::vector<std::string>& families, FoundFace& found) {
  if (!cache.isOpen() || !cache.hasCoverage()) return false;
  KTDSOLD::Database& database = cache.database();
  const CoverageBit at = CoverageBitOf(codePoint);
  const std::string familyList = familyListArgument(families);
  const VariantMap args{{"PAGE", IntegerValue(at.page)},
                        {"WORD", IntegerValue(at.word)},
                        {"BIT", IntegerValue(at.bit)},
                        {"BOLD", IntegerValue(bold ? 1 : 0)},
                        {"ITALIC", IntegerValue(italic ? 1 : 0)},
                        {"FAMILIES", Variant(familyList.c_str())}};
  VariantMap record;
  if (!database.PrepareStatement(kFindFaceWithCharacter.name, kFindFaceWithCharacter.sql, false))
    return false;
  const bool fetched = database.BindArgs(kFindFaceWithCharacter.name, &args) &&
                       database.FetchRecord(kFindFaceWithCharacter.name, &record);
  // A statement left on its row would keep a read of the file open.
  database.ResetStatement(kFindFaceWithCharacter.name);
  if (!fetched) return false;
  found.path = record["path"].GetText() + record["file_name"].GetText();
  found.faceIndex = record["face_index"].GetInt64();
  return true;
}

}  // namespace Orb
