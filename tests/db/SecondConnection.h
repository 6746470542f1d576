#pragma once
// Another connection to the same file, as another process would hold it: it never waits
// for locks, so contention shows at once as SQLITE_BUSY.
#include <sqlite3.h>

#include <string>

class SecondConnection {
 public:
  explicit SecondConnection(const std::string& path) {
    sqlite3_open(path.c_str(), &connection);
  }
  ~SecondConnection() { sqlite3_close(connection); }
  SecondConnection(const SecondConnection&) = delete;
  SecondConnection& operator=(const SecondConnection&) = delete;

  int exec(const char* sql) { return sqlite3_exec(connection, sql, nullptr, nullptr, nullptr); }

 private:
  sqlite3* connection = nullptr;
};
