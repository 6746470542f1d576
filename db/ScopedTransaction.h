#pragma once
// Ties one (possibly nested) transaction to a scope: begun on construction, committed or
// rolled back on destruction. Results are not kept; the database's depth rules apply, so
// a rollback ends the enclosing transactions too.
#include "db/Database.h"

namespace KTDSOLD {

class ScopedTransaction {
 public:
  /// Begins a transaction on `database`, which must outlive this object.
  ScopedTransaction(Database& database, TransactionMode mode, bool rollbackOnExit);
  /// Rolls back when asked to at construction, else commits.
  virtual ~ScopedTransaction();
  ScopedTransaction(const ScopedTransaction&) = delete;
  ScopedTransaction& operator=(const ScopedTransaction&) = delete;

 private:
  Database& database;
  const bool rollbackOnExit;
};

}  // namespace KTDSOLD
