#include "fontcache/CacheValues.h"

namespace Orb {

KTDSOLD::Variant IntegerValue(std::int64_t value) {
  KTDSOLD::Variant variant;
  variant.Set(value);
  return variant;
}

std::int64_t ItemCount(const KTDSOLD::ColumnTable& table) {
  KTDSOLD::Variant cell;
  if (!KTDSOLD::HasColumn(table, "num_items") || !KTDSOLD::GetCell(table, "num_items", 0, cell))
    return 0;
  return cell.GetInt64() >= 1 ? cell.GetInt64() : 0;
}

}  // namespace Orb
