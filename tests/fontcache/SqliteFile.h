#pragma once
// A second, independent connection to a cache file, so that tests see what really
// reached the disk rather than what the cache's own connection believes.
#include <sqlite3.h>

#include <filesystem>
#include <string>
#include <vector>

namespace FontCacheTest {

class SqliteFile {
 public:
  /// Opens `path` read-write; it must exist.
  explicit SqliteFile(const std::filesystem::path& path);
  ~SqliteFile();
  SqliteFile(const SqliteFile&) = delete;
  SqliteFile& operator=(const SqliteFile&) = delete;

  /// Every row of `sql`, each cell as text ("NULL" for null).
  std::vector<std::vector<std::string>> rows(const std::string& sql);
  /// One-line shorthand: the first cell of the first row.
  std::string value(const std::string& sql);
  /// Runs `sql`; answers SQLite's result code (busy at once, never waiting).
  int exec(const std::string& sql);

 private:
  sqlite3* connection = nullptr;
};

}  // namespace FontCacheTest
