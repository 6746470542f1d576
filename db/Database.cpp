#include "db/Database.h"

#include <sqlite3.h>

#include <map>

#include "db/IPreparedStatementEx.h"
#include "db/PreparedStatementImpl.h"
#include "db/RefCountedQIPtr.h"
#include "db/SqliteErrorReport.h"
#include "platform/Sleep.h"

namespace KTDSOLD {
namespace {

// Report lines are fixed numbers that log readers filter on; they identify the failing
// call, not a position in this file.
constexpr int kOpenLine = 441;
constexpr int kBusyTimeoutLine = 445;
constexpr int kCloseLine = 504;
constexpr int kBeginLine = 528;
constexpr int kRollbackLine = 538;
constexpr int kCommitLine = 550;
constexpr int kExecLine = 826;
constexpr int kPrepareLine = 922;

constexpr std::uint32_t kFirstBusyWaitMs = 20;
constexpr std::uint32_t kBusyWaitLimitMs = 60000;
constexpr int kBusyTimeoutMs = 60000;

using StatementOperations = kttl::RefCountedQIPtr<IPreparedStatementEx>;

// sqlite3_open reads nothing, so a database another connection keeps locked would only
// show as busy on first use; reading the schema here lets Open wait for it instead.
int openAttempt(const std::string& path, sqlite3*& connection) {
  const int result = sqlite3_open(path.c_str(), &connection);
  if (result != SQLITE_OK) return result;
  return sqlite3_exec(connection, "SELECT count(*) FROM sqlite_master;", nullptr, nullptr,
                      nullptr);
}

// A failed Reset reports the error of the previous run's last step, yet SQLite has
// rewound the statement all the same; only a second failure means this run cannot go on.
bool rewind(IPreparedStatementEx& statement) { return statement.Reset() || statement.Reset(); }

bool rewindAndBind(IPreparedStatementEx& statement, const VariantMap* args) {
  const std::size_t count = args ? args->size() : 0;
  if (count != static_cast<std::size_t>(statement.GetArgCount())) return false;
  if (!rewind(statement) || !statement.ClearArgs()) return false;
  if (args) {
    for (const auto& [name, value] : *args)
      if (!statement.BindArg(name.c_str(), value)) return false;
  }
  return true;
}

// The current row keyed by column name; a later column of the same name wins.
bool readRecord(IPreparedStatementEx& statement, VariantMap& record) {
  const std::uint32_t count = statement.GetColumnCount();
  for (std::uint32_t i = 0; i < count; ++i) {
    Variant value;
    if (!statement.GetColumnValue(i, value)) return false;
    record[statement.GetColumnName(i)] = value;
  }
  return true;
}

// Key names are written into the SQL text, so only plain identifiers are accepted.
bool isPlainColumnName(const std::string& name) {
  if (name.empty() || (name[0] >= '0' && name[0] <= '9')) return false;
  for (char c : name) {
    const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
    if (!letter && !(c >= '0' && c <= '9')) return false;
  }
  return true;
}

}  // namespace

struct Database::State {
  std::map<std::string, kttl::RefCountedPtr_STLSafe<IPreparedStatement>> registry;
  sqlite3* connection = nullptr;
  std::uint32_t depth = 0;
  int lastOpenResult = SQLITE_OK;
};

Database::Database() : state(std::make_unique<State>()) {}

Database::~Database() { Close(); }

bool Database::Open(const std::string& path) {
  state->lastOpenResult = SQLITE_OK;
  if (IsOpen() || path.empty()) return false;
  std::uint32_t wait = kFirstBusyWaitMs;
  std::uint32_t waited = 0;
  for (;;) {
    sqlite3* attempt = nullptr;
    int result = openAttempt(path, attempt);
    if (result == SQLITE_BUSY) {
      Platform::sleepMilliseconds(wait);
      waited += wait;
      wait *= 2;
      if (waited <= kBusyWaitLimitMs) {
        sqlite3_close(attempt);
        continue;
      }
    }
    int line = kOpenLine;
    if (result == SQLITE_OK) {
      result = sqlite3_busy_timeout(attempt, kBusyTimeoutMs);
      line = kBusyTimeoutLine;
    }
    state->lastOpenResult = result;
    if (result == SQLITE_OK) {
      state->connection = attempt;
      return true;
    }
    // Closing what the attempt produced keeps the database closed and ready to be
    // opened again, rather than open behind a failed answer.
    reportSqliteError("KTDSOLD::Database::Open", line, result, attempt);
    sqlite3_close(attempt);
    return false;
  }
}

bool Database::Close() {
  state->registry.clear();
  sqlite3* connection = state->connection;
  state->connection = nullptr;
  // The connection's transaction ends with it; a later Open starts afresh.
  state->depth = 0;
  if (!connection) return true;
  const int result = sqlite3_close(connection);
  if (result == SQLITE_OK) return true;
  reportSqliteError("KTDSOLD::Database::Close", kCloseLine, result, connection);
  // Statements that callers still hold keep the connection; it closes with the last.
  sqlite3_close_v2(connection);
  return false;
}

bool Database::IsOpen() const { return state->connection != nullptr; }

bool Database::LastOpenFoundDamage() const {
  const int primary = state->lastOpenResult & 0xFF;  // extended codes keep it in the low byte
  return primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB;
}

bool Database::runTransactionSql(const char* sql, const char* function, int line) {
  const int result = sqlite3_exec(state->connection, sql, nullptr, nullptr, nullptr);
  if (result == SQLITE_OK) return true;
  reportSqliteError(function, line, result, state->connection);
  return false;
}

bool Database::BeginTransaction(TransactionMode mode) {
  if (state->depth == 0) {
    std::string sql = "BEGIN ";
    if (mode == Deferred) sql += "DEFERRED;";
    if (mode == Immediate) sql += "IMMEDIATE;";
    if (mode == Exclusive) sql += "EXCLUSIVE;";
    if (!runTransactionSql(sql.c_str(), "KTDSOLD::Database::BeginTransaction", kBeginLine))
      return false;
  }
  ++state->depth;
  return true;
}

bool Database::CommitTransaction() {
  if (state->depth == 0) return true;
  if (state->depth == 1 &&
      !runTransactionSql("COMMIT;", "KTDSOLD::Database::CommitTransaction", kCommitLine))
    return false;
  --state->depth;
  return true;
}

bool Database::RollbackTransaction() {
  if (state->depth == 0) return true;
  if (!runTransactionSql("ROLLBACK;", "KTDSOLD::Database::RollbackTransaction", kRollbackLine))
    return false;
  state->depth = 0;
  return true;
}

std::uint32_t Database::GetTransactionDepth() const { return state->depth; }

bool Database::IsTransactionIntact() const {
  return state->depth == 0 || !state->connection || !sqlite3_get_autocommit(state->connection);
}

bool Database::ExecSQL(const std::string& sql) {
  if (!IsTransactionIntact()) return false;
  const int result = sqlite3_exec(state->connection, sql.c_str(), nullptr, nullptr, nullptr);
  if (result == SQLITE_OK) return true;
  reportSqliteError("KTDSOLD::Database::ExecSQL", kExecLine, result, state->connection);
  return false;
}

std::int64_t Database::GetLastInsertRowId() const {
  return IsOpen() ? sqlite3_last_insert_rowid(state->connection) : 0;
}

bool Database::PrepareStatement(const std::string& name, const std::string& sql, bool replace) {
  if (!IsOpen() || name.empty()) return false;
  if (!replace && state->registry.count(name)) return true;
  if (sql.empty()) return false;
  sqlite3_stmt* compiled = nullptr;
  const int result = sqlite3_prepare_v2(state->connection, sql.c_str(), -1, &compiled, nullptr);
  if (result != SQLITE_OK) {
    reportSqliteError("KTDSOLD::Database::PrepareStatement", kPrepareLine, result,
                      state->connection);
    return false;
  }
  if (!compiled) return false;
  state->registry[name] = kttl::RefCountedPtr_STLSafe<IPreparedStatement>(
      new PreparedStatementImpl(compiled, state->connection));
  return true;
}

IPreparedStatement* Database::listed(const std::string& name) const {
  if (!IsOpen()) return nullptr;
  const auto found = state->registry.find(name);
  return found == state->registry.end() ? nullptr : found->second.Get();
}

kttl::RefCountedPtr_STLSafe<IPreparedStatement> Database::GetStatement(
    const std::string& name) const {
  return kttl::RefCountedPtr_STLSafe<IPreparedStatement>(listed(name));
}

bool Database::ResetStatement(const std::string& name) {
  StatementOperations statement(listed(name));
  return statement && rewind(*statement);
}

bool Database::BindArgs(const std::string& name, const VariantMap* args) {
  IPreparedStatement* statement = listed(name);
  return statement && BindArgs(statement, args);
}

bool Database::BindArgs(IPreparedStatement* statement, const VariantMap* args) {
  if (!IsOpen()) return false;
  StatementOperations operations(statement);
  return operations && rewindAndBind(*operations, args);
}

bool Database::FetchRecord(const std::string& name, VariantMap* record) {
  if (record) record->clear();
  IPreparedStatement* statement = listed(name);
  return statement && FetchRecord(statement, record);
}

bool Database::FetchRecord(IPreparedStatement* statement, VariantMap* record) {
  if (record) record->clear();
  if (!IsOpen()) return false;
  StatementOperations operations(statement);
  std::int32_t result = 0;
  if (!operations || !operations->Step(result)) return false;
  return !record || readRecord(*operations, *record);
}

bool Database::Query(const std::string& name, const VariantMap* args, ColumnTable* table) {
  if (table) table->clear();
  IPreparedStatement* statement = listed(name);
  return statement && Query(statement, args, table);
}

bool Database::Query(IPreparedStatement* statement, const VariantMap* args, ColumnTable* table) {
  if (table) table->clear();
  if (!IsOpen()) return false;
  StatementOperations operations(statement);
  if (!operations || !rewindAndBind(*operations, args)) return false;
  std::int32_t result = 0;
  VariantMap record;
  while (operations->Step(result)) {
    if (!table) continue;
    // Collected as a record first, so that columns sharing a name add one value per row.
    if (!readRecord(*operations, record)) return false;
    for (const auto& [name, value] : record) (*table)[name].push_back(value);
  }
  return result == SQLITE_DONE;
}

bool Database::Execute(const std::string& name, const VariantMap* args) {
  IPreparedStatement* statement = listed(name);
  return statement && Execute(statement, args);
}

bool Database::Execute(IPreparedStatement* statement, const VariantMap* args, RowList* rows,
                       ColumnNames* names) {
  if (rows) rows->clear();
  if (names) names->clear();
  if (!IsOpen() || !IsTransactionIntact()) return false;
  StatementOperations operations(statement);
  if (!operations || !rewindAndBind(*operations, args)) return false;
  std::int32_t result = 0;
  while (operations->Step(result)) {
    if (!rows) continue;
    Row& row = rows->emplace_back();
    const std::uint32_t count = operations->GetColumnCount();
    for (std::uint32_t i = 0; i < count; ++i) {
      const std::string column = operations->GetColumnName(i);
      if (names && names->size() < count) names->push_back(column);
      Variant value;
      if (!operations->GetColumnValue(i, value)) return false;
      row.emplace_back(names ? std::string() : column, value);
    }
  }
  return result == SQLITE_DONE;
}

bool Database::GetRecord(const VariantMap& keys, ColumnTable& table) {
  table.clear();
  if (keys.empty()) return false;
  const std::string tableName = "font_path";
  std::string name = "ktds::Database::GetRecord->" + tableName + "(";
  std::string sql = "SELECT * FROM " + tableName + " WHERE ";
  VariantMap args;
  int position = 0;
  for (const auto& [column, value] : keys) {
    if (!isPlainColumnName(column)) return false;
    const std::string parameter = std::to_string(++position);
    name += "," + column;
    if (position > 1) sql += " AND ";
    sql += column + " = :" + parameter;
    args[parameter] = value;
  }
  name += ")";
  sql += ";";
  return PrepareStatement(name, sql, false) && Query(name, &args, &table);
}

bool Database::EnableSharedCache(bool enable) {
  return sqlite3_enable_shared_cache(enable ? 1 : 0) == SQLITE_OK;
}

}  // namespace KTDSOLD
