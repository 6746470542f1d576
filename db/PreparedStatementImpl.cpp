#include "db/PreparedStatementImpl.h"

#include <sqlite3.h>

#include "db/SqliteErrorReport.h"

namespace KTDSOLD {
namespace {

// Report lines are fixed numbers that log readers filter on; they identify the failing
// call, not a position in this file.
constexpr int kResetLine = 238;
constexpr int kClearArgsLine = 251;
constexpr int kBindRealLine = 284;
constexpr int kBindIntegerLine = 287;
constexpr int kBindTextLine = 290;
constexpr int kBindDateTimeLine = 293;
constexpr int kBindNullLine = 296;

}  // namespace

PreparedStatementImpl::PreparedStatementImpl(sqlite3_stmt* compiled, sqlite3* owner)
    : statement(compiled), connection(owner) {}

PreparedStatementImpl::~PreparedStatementImpl() {
  if (statement) sqlite3_finalize(statement);
}

std::int32_t PreparedStatementImpl::AddRef() { return ++referenceCount; }

std::int32_t PreparedStatementImpl::Release() {
  if (--referenceCount > 0) return referenceCount;
  delete this;
  return 0;
}

std::int32_t PreparedStatementImpl::GetRefCount() const { return referenceCount; }

bool PreparedStatementImpl::Reset() {
  if (!usable()) return false;
  const int result = sqlite3_reset(statement);
  if (result == SQLITE_OK) return true;
  reportSqliteError("KTDSOLD::PreparedStatementImpl::Reset", kResetLine, result, connection);
  return false;
}

bool PreparedStatementImpl::ClearArgs() {
  if (!usable()) return false;
  const int result = sqlite3_clear_bindings(statement);
  if (result == SQLITE_OK) return true;
  reportSqliteError("KTDSOLD::PreparedStatementImpl::ClearArgs", kClearArgsLine, result,
                    connection);
  return false;
}

bool PreparedStatementImpl::BindArg(const char* name, const Variant& value) {
  if (!usable() || !name || !*name) return false;
  const int index = sqlite3_bind_parameter_index(statement, (std::string(":") + name).c_str());
  if (index == 0) return false;
  int result;
  int line;
  switch (value.GetType()) {
    case Variant::TypeReal:
      result = sqlite3_bind_double(statement, index, value.GetReal());
      line = kBindRealLine;
      break;
    case Variant::TypeInteger:
      result = sqlite3_bind_int64(statement, index, value.GetInt64());
      line = kBindIntegerLine;
      break;
    case Variant::TypeText:
      result = sqlite3_bind_text(statement, index, value.GetText().c_str(), -1, SQLITE_TRANSIENT);
      line = kBindTextLine;
      break;
    case Variant::TypeDateTime:
      result = sqlite3_bind_text(statement, index, value.GetDateTime().ToString().c_str(), -1,
                                 SQLITE_TRANSIENT);
      line = kBindDateTimeLine;
      break;
    default:
      result = sqlite3_bind_null(statement, index);
      line = kBindNullLine;
      break;
  }
  if (result == SQLITE_OK) return true;
  reportSqliteError("KTDSOLD::PreparedStatementImpl::BindArg", line, result, connection);
  return false;
}

std::int32_t PreparedStatementImpl::GetArgCount() {
  return usable() ? sqlite3_bind_parameter_count(statement) : 0;
}

bool PreparedStatementImpl::Step(std::int32_t& result) {
  result = 0;
  if (!usable()) return false;
  result = sqlite3_step(statement);
  return result == SQLITE_ROW;
}

std::uint32_t PreparedStatementImpl::GetColumnCount() {
  if (!usable()) return 0;
  if (columnNames.empty()) {
    const int count = sqlite3_column_count(statement);
    columnNames.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
      // SQLite answers null only when it runs out of memory; an unnamed column is better
      // than a crash.
      const char* name = sqlite3_column_name(statement, i);
      columnNames.emplace_back(name ? name : "");
    }
  }
  return static_cast<std::uint32_t>(columnNames.size());
}

const char* PreparedStatementImpl::GetColumnName(std::uint32_t index) {
  if (!usable() || index >= GetColumnCount()) return nullptr;
  return columnNames[index].c_str();
}

bool PreparedStatementImpl::GetColumnValue(std::uint32_t index, Variant& value) {
  if (!usable() || index >= GetColumnCount()) return false;
  const int column = static_cast<int>(index);
  switch (sqlite3_column_type(statement, column)) {
    case SQLITE_INTEGER:
      value.Set(static_cast<std::int64_t>(sqlite3_column_int64(statement, column)));
      break;
    case SQLITE_FLOAT:
      value.Set(sqlite3_column_double(statement, column));
      break;
    case SQLITE_TEXT:
      value.Set(reinterpret_cast<const char*>(sqlite3_column_text(statement, column)));
      break;
    default:
      value.Clear();
      break;
  }
  return true;
}

}  // namespace KTDSOLD
