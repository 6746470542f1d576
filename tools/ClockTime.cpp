#include "tools/ClockTime.h"

#include <cstdio>

namespace QuillRender {

std::string formatClockTime(std::int64_t milliseconds, char decimalSign) {
  const auto ms = static_cast<long long>(milliseconds);
  char text[48];
  std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld%c%03lld", ms / 3600000, ms / 60000 % 60,
                ms / 1000 % 60, decimalSign, ms % 1000);
  return text;
}

}  // namespace QuillRender
