#include "fontcache/CoverageSchema.h"

namespace Orb {

const char* const kCoverageSchemaScript =
    "BEGIN;"
    "CREATE TABLE IF NOT EXISTS face_coverage (    face_coverage_id INTEGER PRIMARY KEY AUTOINCREMENT NOT NULL,"
    "    font_path_id INTEGER NOT NULL,    file_name TEXT NOT NULL,    face_index INTEGER NOT NULL,"
    "    timestamp INTEGER NOT NULL,    UNIQUE(font_path_id, file_name, face_index));"
    "CREATE TABLE IF NOT EXISTS face_coverage_page (    page INTEGER NOT NULL,"
    "    face_coverage_id INTEGER NOT NULL,    bits0 INTEGER NOT NULL,    bits1 INTEGER NOT NULL,"
    "    bits2 INTEGER NOT NULL,    bits3 INTEGER NOT NULL,"
    "    PRIMARY KEY (page, face_coverage_id)) WITHOUT ROWID;"
    "CREATE TABLE IF NOT EXISTS face_coverage_folder (    font_path_id INTEGER PRIMARY KEY NOT NULL,"
    "    timestamp INTEGER NOT NULL);"
    "DELETE FROM face_coverage_folder;"
    "COMMIT;";

const SchemaObject kCoverageSchemaObjects[] = {
    {"table", "face_coverage"},
    {"table", "face_coverage_page"},
    {"table", "face_coverage_folder"},
};
const std::size_t kCoverageSchemaObjectCount =
    sizeof(kCoverageSchemaObjects) / sizeof(kCoverageSchemaObjects[0]);

const NamedStatement kDeleteFaceCoverage = {
    "DELETE_FACE_COVERAGE",
    "DELETE FROM face_coverage WHERE font_path_id = :ID AND file_name = :FILE AND face_index = :INDEX;"};

const NamedStatement kInsertFaceCoverage = {
    "INSERT_FACE_COVERAGE",
    "INSERT INTO face_coverage (font_path_id, file_name, face_index, timestamp)"
    " VALUES (:ID, :FILE, :INDEX, :TIMESTAMP);"};

const NamedStatement kInsertCoveragePage = {
    "INSERT_COVERAGE_PAGE",
    "INSERT INTO face_coverage_page (page, face_coverage_id, bits0, bits1, bits2, bits3)"
    " VALUES (:PAGE, :FACE, :BITS0, :BITS1, :BITS2, :BITS3);"};

const NamedStatement kFacesWithoutCoverage = {
    "FACES_WITHOUT_COVERAGE",
    "SELECT path AS path, file_name AS file_name, face_index AS face_index,"
    " face_v2.timestamp AS timestamp, face_v2.font_path_id AS font_path_id FROM face_v2, font_path"
    " WHERE face_v2.font_path_id = font_path.font_path_id AND family IS NOT NULL AND NOT EXISTS"
    " (SELECT 1 FROM face_coverage WHERE face_coverage.font_path_id = face_v2.font_path_id"
    " AND face_coverage.file_name = face_v2.file_name AND face_coverage.face_index = face_v2.face_index"
    " AND face_coverage.timestamp = face_v2.timestamp);"};

// CROSS JOIN keeps the pages of the one page first, so that the query never walks faces.
const NamedStatement kFindFaceWithCharacter = {
    "FIND_FACE_WITH_CHARACTER",
    "SELECT path AS path, face_v2.file_name AS file_name, face_v2.face_index AS face_index"
    " FROM face_coverage_page CROSS JOIN face_coverage CROSS JOIN face_v2 CROSS JOIN font_path"
    " WHERE face_coverage_page.page = :PAGE"
    " AND ((CASE :WORD WHEN 0 THEN bits0 WHEN 1 THEN bits1 WHEN 2 THEN bits2 ELSE bits3 END"
    " >> :BIT) & 1) = 1"
    " AND face_coverage.face_coverage_id = face_coverage_page.face_coverage_id"
    " AND face_v2.font_path_id = face_coverage.font_path_id AND face_v2.file_name = face_coverage.file_name"
    " AND face_v2.face_index = face_coverage.face_index AND face_v2.timestamp = face_coverage.timestamp"
    " AND font_path.font_path_id = face_v2.font_path_id AND family IS NOT NULL"
    " ORDER BY (bold <> :BOLD OR italic <> :ITALIC),"
    " coalesce(nullif(instr(:FAMILIES, char(10) || lower(family) || char(10)), 0), 2147483647),"
    " CASE WHEN family LIKE 'Noto Sans%' THEN 0 WHEN family LIKE 'Noto Serif%' THEN 1"
    " WHEN family LIKE 'Noto %' THEN 2 WHEN family LIKE 'DejaVu Sans%' THEN 3"
    " WHEN family LIKE 'DejaVu %' THEN 4 ELSE 5 END,"
    " family, (bold <> :BOLD) + 2 * (italic <> :ITALIC), path, face_v2.file_name, face_v2.face_index"
    " LIMIT 1;"};

const NamedStatement kFoldersWithoutCoverage = {
    "FOLDERS_WITHOUT_COVERAGE",
    "SELECT count(*) AS num_items FROM font_path WHERE NOT EXISTS (SELECT 1 FROM face_coverage_folder"
    " WHERE face_coverage_folder.font_path_id = font_path.font_path_id"
    " AND face_coverage_folder.timestamp = font_path.timestamp);"};

const char* const kMarkFoldersCovered =
    "DELETE FROM face_coverage_folder;"
    "INSERT INTO face_coverage_folder (font_path_id, timestamp) SELECT font_path_id, timestamp FROM font_path;";

const char* const kSweepCoverage =
    "DELETE FROM face_coverage WHERE NOT EXISTS (SELECT 1 FROM face_v2"
    " WHERE face_v2.font_path_id = face_coverage.font_path_id AND face_v2.file_name = face_coverage.file_name"
    " AND face_v2.face_index = face_coverage.face_index AND face_v2.timestamp = face_coverage.timestamp);"
    "DELETE FROM face_coverage_page WHERE face_coverage_id NOT IN (SELECT face_coverage_id FROM face_coverage);";

}  // namespace Orb
