#pragma once
// One SQLite connection with a registry of prepared statements kept under names the
// caller chooses, run with maps of named arguments, and a count of nested transactions.
// Nothing here throws on its own account or locks: one thread at a time uses a Database
// and its statements. Every failing SQLite call is logged (category "Cache").
#include <cstdint>
#include <memory>
#include <string>

#include "db/ColumnTable.h"
#include "db/IPreparedStatement.h"
#include "db/RefCountedPtr_STLSafe.h"
#include "db/RowList.h"
#include "db/VariantMap.h"

namespace KTDSOLD {

/// How the outermost transaction begins; other values begin with plain "BEGIN ".
enum TransactionMode : std::int32_t { Deferred = 0, Immediate = 1, Exclusive = 2 };

class Database {
 public:
  /// A closed database with an empty registry and depth 0.
  Database();
  /// Closes the database.
  virtual ~Database();
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  /// Opens (creating if missing) the file at `path`, UTF-8, handed to SQLite as it is.
  /// A database that another connection keeps locked is retried after 20 ms, doubling,
  /// 12 times in all. False on an empty path or an open database (silently), or when
  /// SQLite fails (logged; the database stays closed and may be opened again).
  bool Open(const std::string& path);
  /// Whether the last Open failed because the file is not a database or is malformed,
  /// rather than busy, missing or unreadable: only such a file is beyond repair in place.
  bool LastOpenFoundDamage() const;
  /// Empties the registry and closes the connection; the transaction depth returns to 0.
  /// False (logged) when SQLite refuses because a caller still holds a statement: the
  /// database counts as closed anyway and the connection goes with the last statement.
  bool Close();
  bool IsOpen() const;

  /// Begins a transaction at depth 0 (no SQL runs when nested, and the mode is ignored)
  /// and raises the depth. False (logged) when SQLite refuses; the depth is then unchanged.
  bool BeginTransaction(TransactionMode mode);
  /// Lowers the depth, running "COMMIT;" at depth 1; true at depth 0 without SQL.
  /// A refused commit is logged and leaves the depth at 1, so it can be retried.
  bool CommitTransaction();
  /// Runs "ROLLBACK;" at any depth above 0 and sets the depth to 0; true at depth 0.
  bool RollbackTransaction();
  /// Transactions begun and not yet ended.
  std::uint32_t GetTransactionDepth() const;
  /// False while the depth counts a transaction that SQLite ended on its own (a trigger's
  /// RAISE(ROLLBACK), or its rollback after some errors). Execute and ExecSQL refuse to
  /// run then, since their work would stand on its own instead of joining the caller's
  /// transaction; the cause was logged when it happened. True at depth 0.
  bool IsTransactionIntact() const;

  /// Runs every statement of `sql` in order, discarding rows; stops at the first failure.
  /// False without running anything while the transaction is not intact.
  bool ExecSQL(const std::string& sql);
  /// Row id of the connection's last insert; 0 while closed.
  std::int64_t GetLastInsertRowId() const;

  /// Compiles the first statement of `sql` and lists it under `name`, releasing the one
  /// listed before. With `replace` false a listed name answers true at once, whatever
  /// `sql` says. False when closed, for an empty name or SQL, for text without a
  /// statement (silently), or when SQLite refuses (logged; the registry is unchanged).
  bool PrepareStatement(const std::string& name, const std::string& sql, bool replace);
  /// A reference on the statement listed under `name`, or null.
  kttl::RefCountedPtr_STLSafe<IPreparedStatement> GetStatement(const std::string& name) const;
  /// Rewinds the listed statement, ending the read a partial FetchRecord walk keeps open
  /// on the file so that other connections may write. False when closed or not listed.
  bool ResetStatement(const std::string& name);

  /// Rewinds the statement and binds `args` (none counts as empty), ready for
  /// FetchRecord. False when closed, not listed, or when the map's size differs from the
  /// statement's parameter count (the statement is then untouched).
  bool BindArgs(const std::string& name, const VariantMap* args = nullptr);
  bool BindArgs(IPreparedStatement* statement, const VariantMap* args = nullptr);

  /// Reads the next row of the current run into `record` (cleared first), keyed by column
  /// name, a later column overwriting an earlier one of the same name. Neither rewinds
  /// nor binds. False when no row was read.
  bool FetchRecord(const std::string& name, VariantMap* record = nullptr);
  bool FetchRecord(IPreparedStatement* statement, VariantMap* record = nullptr);

  /// Runs the statement with `args` and collects its rows by column into `table`
  /// (cleared first; without rows it stays without columns). True when it ran to its end.
  bool Query(const std::string& name, const VariantMap* args = nullptr,
             ColumnTable* table = nullptr);
  bool Query(IPreparedStatement* statement, const VariantMap* args = nullptr,
             ColumnTable* table = nullptr);

  /// Runs the statement with `args`; true when it ran to its end. False without running
  /// it while the transaction is not intact.
  bool Execute(const std::string& name, const VariantMap* args = nullptr);
  /// As above, collecting rows in column order when `rows` is given. With `names` given,
  /// the column names go there (from the first row) and the rows' pairs carry no names.
  bool Execute(IPreparedStatement* statement, const VariantMap* args = nullptr,
               RowList* rows = nullptr, ColumnNames* names = nullptr);

  /// Looks up the rows of table font_path whose columns equal `keys` (column name to
  /// value), into `table` (cleared first). The query is compiled once per set of key
  /// names and kept in the registry. False for no keys, a key that is not a plain column
  /// name, or a failed query.
  bool GetRecord(const VariantMap& keys, ColumnTable& table);

  /// Switches SQLite's process-wide shared cache for connections opened afterwards.
  /// True when SQLite accepted it.
  static bool EnableSharedCache(bool enable);

 private:
  struct State;
  IPreparedStatement* listed(const std::string& name) const;
  bool runTransactionSql(const char* sql, const char* function, int line);
  std::unique_ptr<State> state;
};

}  // namespace KTDSOLD
