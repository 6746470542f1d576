#include "db/ScopedTransaction.h"

namespace KTDSOLD {

ScopedTransaction::ScopedTransaction(Database& target, TransactionMode mode, bool rollback)
    : database(target), rollbackOnExit(rollback) {
  database.BeginTransaction(mode);
}

ScopedTransaction::~ScopedTransaction() {
  if (rollbackOnExit)
    database.RollbackTransaction();
  else
    database.CommitTransaction();
}

}  // namespace KTDSOLD
