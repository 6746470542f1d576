#pragma once
// The operations of one compiled statement, in the order one execution calls them:
// Reset, ClearArgs, BindArg per argument, then Step until no row, reading each row.
#include <cstdint>

#include "db/IPreparedStatement.h"
#include "db/Variant.h"

namespace KTDSOLD {

class IPreparedStatementEx : public IPreparedStatement {
 public:
  /// Rewinds the statement. False (and logged) when SQLite reports an error, which may be
  /// the error of the previous run's last step; the statement is rewound even then.
  virtual bool Reset() = 0;
  /// Sets every parameter back to NULL. False (and logged) on an SQLite error.
  virtual bool ClearArgs() = 0;
  /// Binds `value` to the parameter ":" + `name`. False for a null or empty name or a
  /// parameter the statement lacks (silently), or when SQLite refuses (logged).
  virtual bool BindArg(const char* name, const Variant& value) = 0;
  /// The statement's parameter count, 0 when unusable.
  virtual std::int32_t GetArgCount() = 0;
  /// Runs one step; `result` receives SQLite's answer (0 when unusable). True when a row
  /// is ready. Never logs.
  virtual bool Step(std::int32_t& result) = 0;
  /// Number of result columns, known before the first step; 0 when unusable.
  virtual std::uint32_t GetColumnCount() = 0;
  /// Name of column `index`, owned by the statement and valid while it lives; null when
  /// out of range.
  virtual const char* GetColumnName(std::uint32_t index) = 0;
  /// Value of column `index` in the current row: integer, real or text; blob and NULL
  /// give null. False when out of range.
  virtual bool GetColumnValue(std::uint32_t index, Variant& value) = 0;
};

}  // namespace KTDSOLD
