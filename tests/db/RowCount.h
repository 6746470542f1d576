#pragma once
// Rows in the test table t, counted through the layer itself.
#include <gtest/gtest.h>

#include "db/Database.h"

inline std::int64_t rowsInT(KTDSOLD::Database& database) {
  KTDSOLD::ColumnTable table;
  EXPECT_TRUE(database.PrepareStatement("COUNT", "SELECT count(*) AS n FROM t;", false));
  EXPECT_TRUE(database.Query("COUNT", nullptr, &table));
  return KTDSOLD::HasColumn(table, "n") ? table["n"][0].GetInt64() : -1;
}
