#pragma once
// The layout of the face cache database and the statements run on it. Files written by
// earlier releases are read with this same text, so none of it may change.
#include <cstddef>

namespace Orb {

/// Run every time the cache is opened: creates what is missing, drops the old `face` table.
extern const char* const kCacheSchemaScript;

/// One statement prepared under its name on every open.
struct NamedStatement {
  const char* name;
  const char* sql;
};

/// The prepared statements, in the order they are prepared.
extern const NamedStatement kCacheStatements[];
extern const std::size_t kCacheStatementCount;

/// Plain statements of the refresh's mark-and-sweep.
extern const char* const kUntouchAllPaths;
extern const char* const kSweepPaths;
extern const char* const kSweepFaces;

}  // namespace Orb
