#pragma once
// A query result held by column: each result column's name maps to its values, one per
// row, in row order. A query without rows leaves the table without columns.
#include <cstddef>
#include <map>
#include <string>
#include <vector>

#include "db/VariantMap.h"

namespace KTDSOLD {

using ColumnTable = std::map<std::string, std::vector<Variant>>;

/// Rows in the table: the length of its first column in name order; 0 when empty.
std::size_t GetRowCount(const ColumnTable& table);

/// Whether the table has a column of that name.
bool HasColumn(const ColumnTable& table, const std::string& column);

/// Copies one cell into `value`; false (with `value` null) when the column is missing or
/// `row` is past its end.
bool GetCell(const ColumnTable& table, const std::string& column, std::size_t row,
             Variant& value);

/// Copies row `row` into `record`, keyed by column name. False for an empty table or a
/// row past a column's end (the columns already copied stay in `record`).
bool GetRow(const ColumnTable& table, std::size_t row, VariantMap& record);

}  // namespace KTDSOLD
