#include "fontcache/CacheSchema.h"

namespace Orb {

const char* const kCacheSchemaScript =
    "PRAGMA auto_vacuum = full;PRAGMA temp_store = MEMORY;BEGIN;DROP TABLE IF EXISTS face;"
    "CREATE TABLE IF NOT EXISTS font_path (    font_path_id INTEGER PRIMARY KEY AUTOINCREMENT NOT NULL,"
    "    path TEXT NOT NULL, timestamp INTEGER NOT NULL default 0,    touched INTEGER NOT NULL default 1,"
    "    UNIQUE(path, timestamp));"
    "CREATE TABLE IF NOT EXISTS face_v2 (    font_path_id INTEGER NOT NULL,    file_name TEXT NOT NULL,"
    "    timestamp INTEGER NOT NULL default 0,    family TEXT, face_index INTEGER NOT NULL default -1,"
    " bold INTEGER NOT NULL default 0, italic INTEGER NOT NULL default 0, touched INTEGER NOT NULL default 1);"
    "CREATE INDEX IF NOT EXISTS face_path ON face_v2 (font_path_id, file_name);"
    "CREATE INDEX IF NOT EXISTS face_family ON face_v2 (family, bold, italic);"
    "CREATE TRIGGER IF NOT EXISTS on_font_path_delete AFTER DELETE ON font_path    BEGIN"
    "        DELETE FROM font_path WHERE font_path_id = old.font_path_id;    END;"
    "CREATE TRIGGER IF NOT EXISTS face_v2_fkc BEFORE INSERT ON face_v2    FOR EACH ROW BEGIN"
    "        SELECT RAISE(ROLLBACK, 'face_v2_fkc violation')"
    "            WHERE (SELECT font_path_id FROM font_path WHERE font_path_id = NEW.font_path_id) IS NULL;"
    "    END;COMMIT;";

const NamedStatement kCacheStatements[] = {
    {"IS_PATH_CACHED",
     "SELECT count(font_path_id) AS num_items FROM font_path WHERE path = :PATH AND timestamp = :TIMESTAMP;"},
    {"GET_PATH", "SELECT font_path_id AS font_path_id FROM font_path WHERE path = :PATH;"},
    {"INSERT_PATH", "INSERT INTO font_path (path, timestamp)     VALUES (:PATH, :TIMESTAMP);"},
    {"UPDATE_PATH", "UPDATE font_path SET timestamp = :TIMESTAMP, touched = 1 WHERE font_path_id = :ID"},
    {"TOUCH_PATH", "UPDATE font_path SET touched = 1 WHERE path = :PATH;"},
    {"IS_FACE_CACHED",
     "SELECT count(face_index) AS num_items FROM face_v2 WHERE font_path_id = :ID AND file_name = :FILE"
     " AND timestamp = :TIMESTAMP;"},
    {"FIND_FACE",
     "SELECT path AS path, file_name AS file_name, face_index AS face_index FROM face_v2, font_path"
     " WHERE face_v2.font_path_id = font_path.font_path_id AND family = :FAMILY AND bold = :BOLD"
     " AND italic = :ITALIC;"},
    {"INSERT_FACE",
     "INSERT INTO face_v2 (font_path_id, file_name, timestamp, family, face_index, bold, italic)"
     "     VALUES (:PATH_ID, :FILE, :TIMESTAMP, :FAMILY, :INDEX, :BOLD, :ITALIC);"},
    {"TOUCH_FACE", "UPDATE face_v2 SET touched = 1 WHERE file_name = :FILE AND font_path_id = :ID;"},
    {"RESET_TOUCHED_FACE", "UPDATE face_v2 SET touched = 0 WHERE font_path_id = :ID;"},
};
const std::size_t kCacheStatementCount = sizeof(kCacheStatements) / sizeof(kCacheStatements[0]);

const char* const kCacheConnectionScript = "PRAGMA temp_store = MEMORY;";

const SchemaObject kCacheSchemaObjects[] = {
    {"table", "font_path"},   {"table", "face_v2"},
    {"index", "face_path"},   {"index", "face_family"},
    {"trigger", "on_font_path_delete"}, {"trigger", "face_v2_fkc"},
};
const std::size_t kCacheSchemaObjectCount = sizeof(kCacheSchemaObjects) / sizeof(kCacheSchemaObjects[0]);
const char* const kOldFaceTable = "face";

const NamedStatement kListSchemaObjects = {"LIST_SCHEMA_OBJECTS",
                                           "SELECT type AS type, lower(name) AS name FROM sqlite_master;"};
const NamedStatement kCountPathsIfAllMarked = {
    "COUNT_PATHS_IF_ALL_MARKED",
    "SELECT count(*) AS num_items FROM font_path WHERE NOT EXISTS (SELECT 1 FROM font_path WHERE touched <> 1)"
    " AND NOT EXISTS (SELECT 1 FROM face_v2 WHERE touched = 0);"};
// The four runs of "FIND_FACE" the lookup would make, one after another in one statement;
// each part yields its faces as "FIND_FACE" does, and the lookup takes the first.
#define QUILL_FACE_IN_STYLE(bold, italic)                                                       \
  "SELECT path AS path, file_name AS file_name, face_index AS face_index FROM face_v2, font_path" \
  " WHERE face_v2.font_path_id = font_path.font_path_id AND family = :FAMILY AND bold = " bold    \
  " AND italic = " italic
const NamedStatement kFindFaceInStyleOrder = {
    "FIND_FACE_IN_STYLE_ORDER",
    QUILL_FACE_IN_STYLE(":BOLD", ":ITALIC") " UNION ALL " QUILL_FACE_IN_STYLE("1 - :BOLD", ":ITALIC")
    " UNION ALL " QUILL_FACE_IN_STYLE(":BOLD", "1 - :ITALIC")
    " UNION ALL " QUILL_FACE_IN_STYLE("1 - :BOLD", "1 - :ITALIC") ";"};
#undef QUILL_FACE_IN_STYLE

const char* const kUntouchAllPaths = "UPDATE font_path SET touched = 0;";
const char* const kSweepPaths = "DELETE FROM font_path WHERE touched = 0;";
const char* const kSweepFaces = "DELETE FROM face_v2 WHERE touched = 0;";

}  // namespace Orb
