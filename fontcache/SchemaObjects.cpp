#include "fontcache/SchemaObjects.h"

#include "db/Database.h"

namespace Orb {

std::optional<SchemaObjectSet> ListSchemaObjects(KTDSOLD::Database& database) {
  KTDSOLD::ColumnTable table;
  if (!database.PrepareStatement(kListSchemaObjects.name, kListSchemaObjects.sql, false) ||
      !database.Query(kListSchemaObjects.name, nullptr, &table))
    return std::nullopt;
  const auto types = table.find("type");
  const auto names = table.find("name");
  if (types == table.end() || names == table.end()) return std::nullopt;
  SchemaObjectSet present;
  for (std::size_t row = 0; row < names->second.size() && row < types->second.size(); ++row)
    present.emplace(types->second[row].GetText(), names->second[row].GetText());
  return present;
}

bool HoldsEvery(const SchemaObjectSet& present, const SchemaObject* objects, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i)
    if (!present.count({objects[i].type, objects[i].name})) return false;
  return true;
}

}  // namespace Orb
