// Only the outermost level of nested transactions talks to SQLite; a rollback at any
// level ends them all, and a refused commit can be retried.
#include <gtest/gtest.h>

#include "db/ScopedTransaction.h"
#include "tests/db/DatabaseChecks.h"
#include "tests/support/SqliteConnection.h"
#include "tests/support/TempFolder.h"

namespace {

using KTDSOLD::Database;
using KTDSOLD::ScopedTransaction;

class DatabaseTransactionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(database.Open(path));
    ASSERT_TRUE(database.ExecSQL("CREATE TABLE t(x); CREATE TABLE o(x);"));
    RecordingLog_setEnabled(true);
    RecordingLog_clear();
  }

  // Whether another connection can write right now, i.e. no reserved lock is held.
  bool otherCanWrite() { return other.exec("INSERT INTO o VALUES(0);") == SQLITE_OK; }

  TestSupport::TempFolder folder;
  const std::string path = folder.file("tx.db");
  Database database;
  TestSupport::SqliteConnection other{path};
};

TEST_F(DatabaseTransactionTest, NestedLevelsRunNoSqlAndIgnoreTheirMode) {
  ASSERT_TRUE(database.BeginTransaction(KTDSOLD::Deferred));
  ASSERT_TRUE(database.BeginTransaction(KTDSOLD::Immediate));
  EXPECT_EQ(database.GetTransactionDepth(), 2u);
  EXPECT_TRUE(otherCanWrite());  // an IMMEDIATE begin would have taken the write lock

  ASSERT_TRUE(database.ExecSQL("INSERT INTO t VALUES(1);"));
  EXPECT_TRUE(database.CommitTransaction());
  EXPECT_EQ(database.GetTransactionDepth(), 1u);
  EXPECT_FALSE(otherCanWrite());  // still inside the outer transaction
  EXPECT_TRUE(database.CommitTransaction());
  EXPECT_EQ(database.GetTransactionDepth(), 0u);
  EXPECT_TRUE(otherCanWrite());
  expectNothingLogged();
}

TEST_F(DatabaseTransactionTest, ModesChooseTheBeginAndUnknownModesBeginPlainly) {
  ASSERT_TRUE(database.BeginTransaction(KTDSOLD::Immediate));
  EXPECT_FALSE(otherCanWrite());
  ASSERT_TRUE(database.CommitTransaction());

  ASSERT_TRUE(database.BeginTransaction(static_cast<KTDSOLD::TransactionMode>(7)));
  EXPECT_TRUE(otherCanWrite());  // "BEGIN " alone defers its locks
  ASSERT_TRUE(database.ExecSQL("INSERT INTO t VALUES(1);"));
  ASSERT_TRUE(database.RollbackTransaction());
  EXPECT_EQ(rowsInT(database), 0);
  expectNothingLogged();
}

TEST_F(DatabaseTransactionTest, RollbackAtDepthThreeEndsEverything) {
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(database.BeginTransaction(KTDSOLD::Deferred));
  ASSERT_TRUE(database.ExecSQL("INSERT INTO t VALUES(1);"));
  EXPECT_TRUE(database.RollbackTransaction());
  EXPECT_EQ(database.GetTransactionDepth(), 0u);
  EXPECT_TRUE(database.CommitTransaction());
  EXPECT_TRUE(database.RollbackTransaction());
  EXPECT_EQ(rowsInT(database), 0);
  expectNothingLogged();
}

TEST_F(DatabaseTransactionTest, RefusedCommitKeepsDepthOneForARetry) {
  ASSERT_TRUE(database.ExecSQL(
      "PRAGMA foreign_keys = ON;"
      "CREATE TABLE parent(id INTEGER PRIMARY KEY);"
      "CREATE TABLE child(pid REFERENCES parent(id) DEFERRABLE INITIALLY DEFERRED);"));
  ASSERT_TRUE(database.BeginTransaction(KTDSOLD::Deferred));
  ASSERT_TRUE(database.ExecSQL("INSERT INTO child VALUES(5);"));
  EXPECT_FALSE(database.CommitTransaction());
  expectOneSqliteReport("KTDSOLD::Database::CommitTransaction", 550, SQLITE_CONSTRAINT);
  EXPECT_EQ(database.GetTransactionDepth(), 1u);

  RecordingLog_clear();
  ASSERT_TRUE(database.ExecSQL("INSERT INTO parent VALUES(5);"));
  EXPECT_TRUE(database.CommitTransaction());
  EXPECT_EQ(database.GetTransactionDepth(), 0u);
  expectNothingLogged();
}

TEST_F(DatabaseTransactionTest, RefusedBeginAndRollbackLeaveTheDepthAlone) {
  ASSERT_TRUE(database.ExecSQL("BEGIN;"));  // begun behind the layer's back
  EXPECT_FALSE(database.BeginTransaction(KTDSOLD::Deferred));
  expectOneSqliteReport("KTDSOLD::Database::BeginTransaction", 528, SQLITE_ERROR);
  EXPECT_EQ(database.GetTransactionDepth(), 0u);
  ASSERT_TRUE(database.ExecSQL("ROLLBACK;"));

  RecordingLog_clear();
  ASSERT_TRUE(database.BeginTransaction(KTDSOLD::Deferred));
  ASSERT_TRUE(database.ExecSQL("ROLLBACK;"));  // ended behind the layer's back
  EXPECT_FALSE(database.RollbackTransaction());
  expectOneSqliteReport("KTDSOLD::Database::RollbackTransaction", 538, SQLITE_ERROR);
  EXPECT_EQ(database.GetTransactionDepth(), 1u);
}

TEST_F(DatabaseTransactionTest, WorkAfterSqliteEndedTheTransactionIsRefused) {
  ASSERT_TRUE(database.ExecSQL("CREATE TRIGGER abort BEFORE INSERT ON t WHEN NEW.x = 0"
                               " BEGIN SELECT RAISE(ROLLBACK, 'refused'); END;"));
  ASSERT_TRUE(database.PrepareStatement("INSERT", "INSERT INTO t VALUES(3);", false));
  ASSERT_TRUE(database.BeginTransaction(KTDSOLD::Deferred));
  ASSERT_TRUE(database.ExecSQL("INSERT INTO t VALUES(1);"));
  EXPECT_TRUE(database.IsTransactionIntact());
  EXPECT_FALSE(database.ExecSQL("INSERT INTO t VALUES(0);"));  // the trigger ends it
  EXPECT_FALSE(database.IsTransactionIntact());
  RecordingLog_clear();

  // Each of these would otherwise be stored on its own, outside any transaction.
  EXPECT_FALSE(database.ExecSQL("INSERT INTO t VALUES(2);"));
  EXPECT_FALSE(database.Execute("INSERT"));
  expectNothingLogged();
  EXPECT_EQ(rowsInT(database), 0);
  EXPECT_EQ(database.GetTransactionDepth(), 1u);

  ASSERT_TRUE(database.Close());
  ASSERT_TRUE(database.Open(path));
  EXPECT_TRUE(database.IsTransactionIntact());
  ASSERT_TRUE(database.PrepareStatement("INSERT", "INSERT INTO t VALUES(3);", false));
  EXPECT_TRUE(database.Execute("INSERT"));
  EXPECT_EQ(rowsInT(database), 1);
}

TEST_F(DatabaseTransactionTest, CloseEndsTheDepthWithTheConnection) {
  ASSERT_TRUE(database.BeginTransaction(KTDSOLD::Deferred));
  ASSERT_TRUE(database.ExecSQL("INSERT INTO t VALUES(1);"));
  ASSERT_TRUE(database.Close());
  EXPECT_EQ(database.GetTransactionDepth(), 0u);
  ASSERT_TRUE(database.Open(path));
  EXPECT_EQ(rowsInT(database), 0);
  ASSERT_TRUE(database.BeginTransaction(KTDSOLD::Immediate));
  EXPECT_FALSE(otherCanWrite());  // a fresh BEGIN really ran
  ASSERT_TRUE(database.CommitTransaction());
}

TEST_F(DatabaseTransactionTest, ScopedTransactionsCommitOrRollBackOnExit) {
  {
    ScopedTransaction outer(database, KTDSOLD::Deferred, false);
    ASSERT_TRUE(database.ExecSQL("INSERT INTO t VALUES(1);"));
    {
      ScopedTransaction inner(database, KTDSOLD::Immediate, false);
      EXPECT_EQ(database.GetTransactionDepth(), 2u);
    }
    EXPECT_EQ(database.GetTransactionDepth(), 1u);
  }
  EXPECT_EQ(rowsInT(database), 1);
  {
    ScopedTransaction outer(database, KTDSOLD::Deferred, false);
    ASSERT_TRUE(database.ExecSQL("INSERT INTO t VALUES(2);"));
    { ScopedTransaction inner(database, KTDSOLD::Deferred, true); }
    EXPECT_EQ(database.GetTransactionDepth(), 0u);
  }
  EXPECT_EQ(rowsInT(database), 1);
  expectNothingLogged();
}

}  // namespace
