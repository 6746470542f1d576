#pragma once
// Named values: the argument map of a statement (keys are parameter names without their
// ':') and one result record (keys are column names). Ordered byte-wise by name.
#include <map>
#include <string>

#include "db/Variant.h"

namespace KTDSOLD {

using VariantMap = std::map<std::string, Variant>;

}  // namespace KTDSOLD
