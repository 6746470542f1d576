#pragma once
// What a cache file already holds, so that opening it need not run a script that would
// create nothing and still write.
#include <cstddef>
#include <optional>
#include <set>
#include <string>
#include <utility>

#include "fontcache/CacheSchema.h"

namespace KTDSOLD {
class Database;
}

namespace Orb {

/// The objects of the open database as (type, lower-case name) pairs; empty when they
/// cannot be listed.
using SchemaObjectSet = std::set<std::pair<std::string, std::string>>;
std::optional<SchemaObjectSet> ListSchemaObjects(KTDSOLD::Database& database);

/// Whether `present` holds each of the `count` objects.
bool HoldsEvery(const SchemaObjectSet& present, const SchemaObject* objects, std::size_t count);

}  // namespace Orb
