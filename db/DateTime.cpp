#include "db/DateTime.h"

#include <cstdio>

namespace KTDSOLD {

std::string DateTime::ToString() const {
  char text[256] = {};
  std::snprintf(text, sizeof text - 1, "%04d-%02d-%02d %02d:%02d:%02d", year, month, day, hour,
                minute, second);
  return text;
}

}  // namespace KTDSOLD
