// Reading cells and rows back out of a column table, including its ragged edges.
#include "db/ColumnTable.h"

#include <gtest/gtest.h>

namespace {

using KTDSOLD::ColumnTable;
using KTDSOLD::Variant;
using KTDSOLD::VariantMap;

TEST(ColumnTableTest, CellsAndRowsWithinAndBeyondRaggedColumns) {
  ColumnTable table;
  Variant value("left over");
  VariantMap record{{"x", Variant("left over")}};
  EXPECT_EQ(KTDSOLD::GetRowCount(table), 0u);
  EXPECT_FALSE(KTDSOLD::HasColumn(table, "x"));
  EXPECT_FALSE(KTDSOLD::GetCell(table, "x", 0, value));
  EXPECT_EQ(value.GetType(), Variant::TypeNull);
  EXPECT_FALSE(KTDSOLD::GetRow(table, 0, record));
  EXPECT_TRUE(record.empty());

  table = ColumnTable{{"a", {Variant("a0"), Variant("a1")}}, {"b", {Variant("b0")}}};
  EXPECT_EQ(KTDSOLD::GetRowCount(table), 2u);  // the first column in name order counts
  ASSERT_TRUE(KTDSOLD::GetCell(table, "a", 1, value));
  EXPECT_EQ(value.GetText(), "a1");
  EXPECT_FALSE(KTDSOLD::GetCell(table, "b", 1, value));
  EXPECT_EQ(value.GetType(), Variant::TypeNull);
  EXPECT_FALSE(KTDSOLD::GetCell(table, "c", 0, value));

  ASSERT_TRUE(KTDSOLD::GetRow(table, 0, record));
  EXPECT_EQ(record["b"].GetText(), "b0");
  EXPECT_FALSE(KTDSOLD::GetRow(table, 1, record));
  EXPECT_EQ(record.size(), 1u);
  EXPECT_EQ(record["a"].GetText(), "a1");
}

}  // namespace
