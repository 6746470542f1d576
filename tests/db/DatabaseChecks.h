#pragma once
// Checks shared by the database tests: what the layer logged, through the recording
// logging library, and how many rows the test table t holds, counted through the layer.
#include <gtest/gtest.h>

#include <string>

#include "db/Database.h"
#include "tests/log/RecordingLog.h"

/// The one record the layer must have written since the last clear.
inline void expectOneSqliteReport(const std::string& function, int line, int code) {
  const auto messages = RecordingLog_messages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].category, "Cache");
  EXPECT_EQ(messages[0].function, function);
  EXPECT_EQ(messages[0].line, line);
  EXPECT_EQ(messages[0].format, "SQLITE ERROR: %d\n%s");
  EXPECT_EQ(messages[0].text.substr(0, messages[0].text.find('\n')), "SQLITE ERROR: " + std::to_string(code));
}

inline void expectNothingLogged() { EXPECT_TRUE(RecordingLog_messages().empty()); }

inline std::int64_t rowsInT(KTDSOLD::Database& database) {
  KTDSOLD::ColumnTable table;
  EXPECT_TRUE(database.PrepareStatement("COUNT", "SELECT count(*) AS n FROM t;", false));
  EXPECT_TRUE(database.Query("COUNT", nullptr, &table));
  return KTDSOLD::HasColumn(table, "n") ? table["n"][0].GetInt64() : -1;
}
