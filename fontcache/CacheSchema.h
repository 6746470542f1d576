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

/// The part of the schema script that applies to the connection rather than to the file.
extern const char* const kCacheConnectionScript;

/// One object the schema script creates, as sqlite_master lists it.
struct SchemaObject {
  const char* type;
  const char* name;
};

/// Everything the schema script creates, names in lower case.
extern const SchemaObject kCacheSchemaObjects[];
extern const std::size_t kCacheSchemaObjectCount;
/// The table the schema script drops.
extern const char* const kOldFaceTable;

/// Statements the cache prepares when it first needs them, beside the ones above.
/// Lists the file's objects: columns type and name, the name in lower case since SQLite
/// compares object names without regard to ASCII case.
extern const NamedStatement kListSchemaObjects;
/// The number of folder rows (num_items) when no row of either table is left unmarked,
/// else 0: a refresh that finds every folder unchanged then has nothing to do.
extern const NamedStatement kCountPathsIfAllMarked;
/// The faces (path, file_name, face_index) of family FAMILY in the order of the four style
/// combinations the lookup tries, BOLD and ITALIC given as 0/1: as asked, bold flipped,
/// italic flipped, both flipped; within each, in the order "FIND_FACE" yields them.
extern const NamedStatement kFindFaceInStyleOrder;

/// Plain statements of the refresh's mark-and-sweep.
extern const char* const kUntouchAllPaths;
extern const char* const kSweepPaths;
extern const char* const kSweepFaces;

}  // namespace Orb
