#pragma once
// One connection to the face cache: the file "Font Cache" in the per-user data folder, or
// a private in-memory database when that file cannot be used. Each component owns one,
// opens it once and closes it when it goes; the file stays for the next process.
#include <cstdint>
#include <optional>
#include <string>

#include "db/Database.h"

namespace Orb {

/// The cache file's name, and the name that asks for a private in-memory cache instead.
constexpr const char* kFontCacheName = "Font Cache";
constexpr const char* kInMemoryCacheName = ":memory";

class CacheDatabase {
 public:
  /// A closed cache.
  CacheDatabase() = default;
  /// Closes the connection; the file is left as it is.
  ~CacheDatabase();
  CacheDatabase(const CacheDatabase&) = delete;
  CacheDatabase& operator=(const CacheDatabase&) = delete;

  /// Opens `name` in the data folder (creating the folders below it one level at a
  /// time), or an in-memory database for an empty name or ":memory", and runs
  /// `schemaScript` on it; the cache's own script, on a file that already holds all it
  /// creates and not the table it drops, is cut to its connection setting so that an
  /// open writes nothing. A file that is not an SQLite database, is malformed, or on which
  /// the script fails, is damaged or foreign: it is closed, set aside as "<name>.damaged" when no
  /// other connection is writing to it, and replaced by a fresh file. Answers false, with the connection closed, when that does
  /// not work either, so that the caller can open the in-memory database on this object.
  /// An empty script opens nothing and answers true.
  bool OpenInDataFolder(const std::string& name, const std::string& schemaScript);

  /// Prepares the cache's named statements, replacing earlier ones of those names.
  /// A statement SQLite refuses stays absent and every run of it fails.
  void PrepareStatements();

  /// The connection the cache operations run on.
  KTDSOLD::Database& database() { return db; }
  /// Where the last OpenInDataFolder pointed: a file path, or ":memory:".
  const std::string& targetPath() const { return target; }
  /// Whether the last OpenInDataFolder left a connection open.
  bool isOpen() const { return open; }
  /// Whether the open connection is the shared file rather than a private in-memory one.
  bool isFileBacked() const;

  /// Whether the tables of what faces cover are there and their statements prepared on
  /// this connection (set by PrepareCoverage; false after every OpenInDataFolder).
  bool hasCoverage() const { return coverage; }
  void setHasCoverage(bool ready) { coverage = ready; }

  /// Remembers the row id of `folder` while its scan runs inside the refresh's write
  /// transaction, where no connection can change the folder rows, so that recording each
  /// file need not look it up again. Until unpinFolder, which the scan's owner must call.
  void pinFolder(const std::string& folder, std::int64_t id);
  void unpinFolder();
  /// The pinned id, when `folder` is byte for byte the pinned folder.
  std::optional<std::int64_t> pinnedFolderId(const std::string& folder) const;

 private:
  enum class OpenResult { Ready, OpenFailed, SchemaFailed };
  OpenResult openAndRunSchema(const std::string& schemaScript);
  bool replaceDamagedFile(const std::string& schemaScript);

  KTDSOLD::Database db;
  std::string target;
  bool open = false;
  bool coverage = false;
  std::string pinnedFolder;
  std::optional<std::int64_t> pinnedId;
};

}  // namespace Orb
