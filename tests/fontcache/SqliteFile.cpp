#include "SqliteFile.h"

#include <stdexcept>

namespace FontCacheTest {

SqliteFile::SqliteFile(const std::filesystem::path& path) {
  if (sqlite3_open_v2(path.c_str(), &connection, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
    sqlite3_close(connection);
    throw std::runtime_error("cannot open " + path.string());
  }
}

SqliteFile::~SqliteFile() { sqlite3_close(connection); }

std::vector<std::vector<std::string>> SqliteFile::rows(const std::string& sql) {
  sqlite3_stmt* statement = nullptr;
  if (sqlite3_prepare_v2(connection, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK)
    throw std::runtime_error(sqlite3_errmsg(connection));
  std::vector<std::vector<std::string>> result;
  while (sqlite3_step(statement) == SQLITE_ROW) {
    std::vector<std::string> row;
    for (int i = 0; i < sqlite3_column_count(statement); ++i) {
      const unsigned char* text = sqlite3_column_text(statement, i);
      row.emplace_back(text ? reinterpret_cast<const char*>(text) : "NULL");
    }
    result.push_back(std::move(row));
  }
  sqlite3_finalize(statement);
  return result;
}

std::string SqliteFile::value(const std::string& sql) {
  const auto all = rows(sql);
  return all.empty() || all[0].empty() ? std::string() : all[0][0];
}

int SqliteFile::exec(const std::string& sql) {
  return sqlite3_exec(connection, sql.c_str(), nullptr, nullptr, nullptr);
}

}  // namespace FontCacheTest
