#include "db/SqliteErrorReport.h"

#include <sqlite3.h>

#include "log/Logger.h"

namespace KTDSOLD {

void reportSqliteError(const char* function, int line, int code, sqlite3* connection) {
  Orb::Logger::write(Orb::Logger::instance(), "Cache", function, line, "SQLITE ERROR: %d\n%s",
                     code, sqlite3_errmsg(connection));
}

}  // namespace KTDSOLD
