#pragma once
// The one shape in which the database layer reports a failing SQLite call.
struct sqlite3;

namespace KTDSOLD {

/// Logs `code` with the connection's error text under category "Cache", as `function`
/// at `line`. A null connection reports SQLite's text for a missing connection.
void reportSqliteError(const char* function, int line, int code, sqlite3* connection);

}  // namespace KTDSOLD
