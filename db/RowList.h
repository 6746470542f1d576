#pragma once
// Result rows that keep their column order, for callers that need it.
#include <string>
#include <utility>
#include <vector>

#include "db/Variant.h"

namespace KTDSOLD {

/// One row: (column name, value) pairs in column order.
using Row = std::vector<std::pair<std::string, Variant>>;
using RowList = std::vector<Row>;
/// Column names in column order, filled from the first row when asked for.
using ColumnNames = std::vector<std::string>;

}  // namespace KTDSOLD
