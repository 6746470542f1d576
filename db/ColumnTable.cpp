#include "db/ColumnTable.h"

namespace KTDSOLD {

std::size_t GetRowCount(const ColumnTable& table) {
  return table.empty() ? 0 : table.begin()->second.size();
}

bool HasColumn(const ColumnTable& table, const std::string& column) {
  return table.count(column) != 0;
}

bool GetCell(const ColumnTable& table, const std::string& column, std::size_t row,
             Variant& value) {
  value = Variant();
  const auto found = table.find(column);
  if (found == table.end() || row >= found->second.size()) return false;
  value = found->second[row];
  return true;
}

bool GetRow(const ColumnTable& table, std::size_t row, VariantMap& record) {
  record.clear();
  if (table.empty()) return false;
  for (const auto& [name, values] : table) {
    if (row >= values.size()) return false;
    record[name] = values[row];
  }
  return true;
}

}  // namespace KTDSOLD
