#pragma once
// A calendar date and time as the database layer hands it to SQLite: plain fields, no
// calendar checks, travelling as text.
#include <cstdint>
#include <string>

namespace KTDSOLD {

class DateTime {
 public:
  /// 1970-01-01 00:00:00.
  DateTime() = default;
  DateTime(const DateTime&) = default;
  DateTime& operator=(const DateTime&) = default;
  virtual ~DateTime() = default;

  /// "YYYY-MM-DD HH:MM:SS"; the widths are minimums, so wider values appear in full.
  std::string ToString() const;

  std::int32_t year = 1970;
  std::int32_t month = 1;
  std::int32_t day = 1;
  std::int32_t hour = 0;
  std::int32_t minute = 0;
  std::int32_t second = 0;
};

}  // namespace KTDSOLD
