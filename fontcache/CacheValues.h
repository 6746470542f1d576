#pragma once
// Small conversions between the cache's statements and their argument maps and results,
// shared by the lookup callbacks and the refresh.
#include <cstdint>

#include "db/ColumnTable.h"
#include "db/Variant.h"

namespace Orb {

/// An integer argument.
KTDSOLD::Variant IntegerValue(std::int64_t value);

/// The count in the first row of a "num_items" result when it is at least 1, else 0.
std::int64_t ItemCount(const KTDSOLD::ColumnTable& table);

}  // namespace Orb
