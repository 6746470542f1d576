#pragma once
// The one implementation of a prepared statement: it owns a compiled SQLite statement
// and finalizes it when the last reference goes. Created only by Database.
#include <string>
#include <vector>

#include "db/IPreparedStatementEx.h"

struct sqlite3;
struct sqlite3_stmt;

namespace KTDSOLD {

class PreparedStatementImpl : public IPreparedStatementEx {
 public:
  /// Takes ownership of `statement`; `connection` (not owned) is the one it was compiled
  /// on and supplies error texts. Must be created with new: Release deletes it.
  PreparedStatementImpl(sqlite3_stmt* statement, sqlite3* connection);
  ~PreparedStatementImpl() override;
  PreparedStatementImpl(const PreparedStatementImpl&) = delete;
  PreparedStatementImpl& operator=(const PreparedStatementImpl&) = delete;

  std::int32_t AddRef() override;
  std::int32_t Release() override;
  std::int32_t GetRefCount() const override;

  bool Reset() override;
  bool ClearArgs() override;
  bool BindArg(const char* name, const Variant& value) override;
  std::int32_t GetArgCount() override;
  bool Step(std::int32_t& result) override;
  std::uint32_t GetColumnCount() override;
  const char* GetColumnName(std::uint32_t index) override;
  bool GetColumnValue(std::uint32_t index, Variant& value) override;

 private:
  bool usable() const { return statement && connection; }

  std::int32_t referenceCount = 0;
  std::vector<std::string> columnNames;  // read from SQLite once, on first need
  sqlite3_stmt* statement;
  sqlite3* connection;
};

}  // namespace KTDSOLD
