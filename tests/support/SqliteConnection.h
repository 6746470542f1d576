#pragma once
// An independent connection to a database file, as another process would hold it: it never
// waits for locks, so contention shows at once as SQLITE_BUSY, and what it reads is what
// really reached the disk, not what the connection under test believes.
#include <sqlite3.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

namespace TestSupport {

class SqliteConnection {
 public:
  using Rows = std::vector<std::vector<std::string>>;

  /// Opens `path`, creating an empty database there when there is none.
  explicit SqliteConnection(const std::filesystem::path& path) {
    if (sqlite3_open(path.c_str(), &connection) != SQLITE_OK) {
      sqlite3_close(connection);
      throw std::runtime_error("cannot open " + path.string());
    }
  }
  ~SqliteConnection() { sqlite3_close(connection); }
  SqliteConnection(const SqliteConnection&) = delete;
  SqliteConnection& operator=(const SqliteConnection&) = delete;

  /// Runs `sql`; answers SQLite's result code.
  int exec(const std::string& sql) { return sqlite3_exec(connection, sql.c_str(), nullptr, nullptr, nullptr); }

  /// Whether SQLite compiles `sql`, which is not run.
  bool compiles(const std::string& sql) {
    sqlite3_stmt* statement = nullptr;
    const bool compiled = sqlite3_prepare_v2(connection, sql.c_str(), -1, &statement, nullptr) == SQLITE_OK;
    sqlite3_finalize(statement);
    return compiled;
  }

  /// Every row of `sql`, each cell as text ("NULL" for null).
  Rows rows(const std::string& sql) {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(connection, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK)
      throw std::runtime_error(sqlite3_errmsg(connection));
    Rows result;
    while (sqlite3_step(statement) == SQLITE_ROW) {
      result.emplace_back();
      for (int i = 0; i < sqlite3_column_count(statement); ++i) {
        const unsigned char* text = sqlite3_column_text(statement, i);
        result.back().emplace_back(text ? reinterpret_cast<const char*>(text) : "NULL");
      }
    }
    sqlite3_finalize(statement);
    return result;
  }

  /// The first cell of the first row of `sql` (empty when there is none).
  std::string value(const std::string& sql) {
    const Rows all = rows(sql);
    return all.empty() || all[0].empty() ? std::string() : all[0][0];
  }

 private:
  sqlite3* connection = nullptr;
};

}  // namespace TestSupport
