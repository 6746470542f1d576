// Registered statements: preparing once, running by name with argument maps, collecting
// rows, recovering from a failed run, and not leaving a read open on the file.
#include <gtest/gtest.h>

#include "tests/db/DatabaseChecks.h"
#include "tests/support/SqliteConnection.h"
#include "tests/support/TempFolder.h"

namespace {

using KTDSOLD::ColumnTable;
using KTDSOLD::Database;
using KTDSOLD::Variant;
using KTDSOLD::VariantMap;

Variant integer(std::int64_t value) {
  Variant result;
  result.Set(value);
  return result;
}

class DatabaseStatementTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(database.Open(path));
    ASSERT_TRUE(database.ExecSQL(
        "CREATE TABLE t(k INTEGER UNIQUE, v TEXT);"
        "INSERT INTO t VALUES(1, 'one'); INSERT INTO t VALUES(2, 'two');"
        "INSERT INTO t VALUES(3, 'three');"));
    RecordingLog_setEnabled(true);
    RecordingLog_clear();
  }

  TestSupport::TempFolder folder;
  const std::string path = folder.file("statements.db");
  Database database;
};

TEST_F(DatabaseStatementTest, KeepOrReplaceUnderAListedName) {
  ASSERT_TRUE(database.PrepareStatement("S", "SELECT 'old' AS v;", true));
  const auto first = database.GetStatement("S");
  EXPECT_TRUE(database.PrepareStatement("S", "SELECT 'new' AS v;", false));
  EXPECT_TRUE(database.PrepareStatement("S", "", false));
  EXPECT_EQ(database.GetStatement("S").Get(), first.Get());

  EXPECT_FALSE(database.PrepareStatement("S", "SELEC broken", true));
  expectOneSqliteReport("KTDSOLD::Database::PrepareStatement", 922, SQLITE_ERROR);
  EXPECT_EQ(database.GetStatement("S").Get(), first.Get());

  ASSERT_TRUE(database.PrepareStatement("S", "SELECT 'new' AS v;", true));
  EXPECT_NE(database.GetStatement("S").Get(), first.Get());
  ColumnTable table;
  ASSERT_TRUE(database.Query("S", nullptr, &table));
  EXPECT_EQ(table["v"][0].GetText(), "new");
  EXPECT_FALSE(database.PrepareStatement("", "SELECT 1;", true));
  EXPECT_FALSE(database.PrepareStatement("E", "", true));
}

TEST_F(DatabaseStatementTest, CommentOnlyTextPreparesNothingAndTwoStatementsCompileTheFirst) {
  EXPECT_FALSE(database.PrepareStatement("C", "-- nothing here\n  ", true));
  EXPECT_FALSE(database.GetStatement("C"));
  expectNothingLogged();

  ASSERT_TRUE(database.PrepareStatement(
      "TWO", "INSERT INTO t VALUES(10, 'a'); INSERT INTO t VALUES(11, 'b');", true));
  ASSERT_TRUE(database.Execute("TWO"));
  EXPECT_EQ(rowsInT(database), 4);
}

TEST_F(DatabaseStatementTest, ArgumentCountMismatchLeavesTheStatementWhereItWas) {
  ASSERT_TRUE(database.PrepareStatement("RANGE", "SELECT k FROM t WHERE k >= :LO AND k <= :HI;",
                                        true));
  VariantMap both{{"LO", integer(1)}, {"HI", integer(3)}};
  ASSERT_TRUE(database.BindArgs("RANGE", &both));
  VariantMap record;
  ASSERT_TRUE(database.FetchRecord("RANGE", &record));
  EXPECT_EQ(record["k"].GetInt64(), 1);

  VariantMap one{{"LO", integer(2)}};
  EXPECT_FALSE(database.BindArgs("RANGE", &one));
  EXPECT_FALSE(database.Query("RANGE", nullptr, nullptr));
  ASSERT_TRUE(database.FetchRecord("RANGE", &record));
  EXPECT_EQ(record["k"].GetInt64(), 2);
  VariantMap misnamed{{"LO", integer(1)}, {"TOP", integer(3)}};
  EXPECT_FALSE(database.BindArgs("RANGE", &misnamed));
  expectNothingLogged();
}

TEST_F(DatabaseStatementTest, FetchWalksRowsAndEndsWithAnEmptyRecord) {
  ASSERT_TRUE(database.PrepareStatement("ALL", "SELECT k, v, v AS k FROM t ORDER BY 1;", true));
  ASSERT_TRUE(database.BindArgs("ALL"));
  VariantMap record;
  ASSERT_TRUE(database.FetchRecord("ALL", &record));
  EXPECT_EQ(record.size(), 2u);
  EXPECT_EQ(record["k"].GetText(), "one");  // the later column of a name wins
  ASSERT_TRUE(database.FetchRecord("ALL", nullptr));
  ASSERT_TRUE(database.FetchRecord("ALL", &record));
  EXPECT_EQ(record["v"].GetText(), "three");
  EXPECT_FALSE(database.FetchRecord("ALL", &record));
  EXPECT_TRUE(record.empty());
  EXPECT_FALSE(database.FetchRecord("UNLISTED", &record));
}

TEST_F(DatabaseStatementTest, QueryCollectsColumnsOneValuePerRow) {
  ASSERT_TRUE(database.PrepareStatement("DUP", "SELECT k AS a, v AS a, k AS b FROM t;", true));
  ColumnTable table;
  ASSERT_TRUE(database.Query("DUP", nullptr, &table));
  ASSERT_EQ(table.size(), 2u);
  EXPECT_EQ(table["a"].size(), 3u);  // not six: one value per row for a repeated name
  EXPECT_EQ(table["a"][2].GetText(), "three");
  EXPECT_EQ(table["b"][2].GetInt64(), 3);

  ASSERT_TRUE(database.PrepareStatement("NONE", "SELECT k FROM t WHERE k > 99;", true));
  table["stale"].push_back(Variant("x"));
  EXPECT_TRUE(database.Query("NONE", nullptr, &table));
  EXPECT_TRUE(table.empty());
  EXPECT_FALSE(database.Query("UNLISTED", nullptr, &table));
}

TEST_F(DatabaseStatementTest, ExecuteByStatementKeepsColumnOrderAndNames) {
  ASSERT_TRUE(database.PrepareStatement("ROWS", "SELECT v, k FROM t WHERE k <= :K ORDER BY k;",
                                        true));
  auto statement = database.GetStatement("ROWS");
  VariantMap args{{"K", integer(2)}};
  KTDSOLD::RowList rows;
  ASSERT_TRUE(database.Execute(statement.Get(), &args, &rows));
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[1][0].first, "v");
  EXPECT_EQ(rows[1][0].second.GetText(), "two");
  EXPECT_EQ(rows[1][1].first, "k");

  KTDSOLD::ColumnNames names{"stale"};
  ASSERT_TRUE(database.Execute(statement.Get(), &args, &rows, &names));
  EXPECT_EQ(names, (KTDSOLD::ColumnNames{"v", "k"}));
  EXPECT_EQ(rows[0][0].first, "");
  EXPECT_EQ(rows[0][1].second.GetInt64(), 1);
  EXPECT_FALSE(database.Execute(nullptr, &args));
}

TEST_F(DatabaseStatementTest, FailedRunDoesNotCostTheNextOne) {
  ASSERT_TRUE(database.PrepareStatement("INSERT", "INSERT INTO t VALUES(:K, :V);", true));
  VariantMap duplicate{{"K", integer(1)}, {"V", Variant("again")}};
  EXPECT_FALSE(database.Execute("INSERT", &duplicate));
  expectNothingLogged();

  // The next run's reset reports the failed step and the run goes ahead regardless.
  VariantMap fresh{{"K", integer(4)}, {"V", Variant("four")}};
  EXPECT_TRUE(database.Execute("INSERT", &fresh));
  expectOneSqliteReport("KTDSOLD::PreparedStatementImpl::Reset", 238, SQLITE_CONSTRAINT);
  EXPECT_EQ(database.GetLastInsertRowId(), 4);

  RecordingLog_clear();
  VariantMap next{{"K", integer(5)}, {"V", Variant("five")}};
  EXPECT_TRUE(database.Execute("INSERT", &next));
  expectNothingLogged();
  EXPECT_EQ(rowsInT(database), 5);
}

TEST_F(DatabaseStatementTest, ResettingByNameEndsTheReadAnotherWriterWaitsFor) {
  ASSERT_TRUE(database.PrepareStatement("ALL", "SELECT k FROM t;", true));
  ASSERT_TRUE(database.BindArgs("ALL"));
  ASSERT_TRUE(database.FetchRecord("ALL"));

  TestSupport::SqliteConnection writer(path);
  EXPECT_EQ(writer.exec("INSERT INTO t VALUES(20, 'x');"), SQLITE_BUSY);
  EXPECT_TRUE(database.ResetStatement("ALL"));
  EXPECT_EQ(writer.exec("INSERT INTO t VALUES(20, 'x');"), SQLITE_OK);
  EXPECT_FALSE(database.ResetStatement("UNLISTED"));
  expectNothingLogged();
}

TEST_F(DatabaseStatementTest, GetRecordCompilesOneQueryPerKeyShape) {
  ASSERT_TRUE(database.ExecSQL(
      "CREATE TABLE font_path(font_path_id INTEGER PRIMARY KEY, path TEXT, timestamp INTEGER);"
      "INSERT INTO font_path VALUES(7, 'C:\\Fonts\\', 100);"
      "INSERT INTO font_path VALUES(8, '/usr/share/fonts/', 200);"));
  VariantMap keys{{"path", Variant("C:\\Fonts\\")}};
  ColumnTable table{{"stale", {}}};
  ASSERT_TRUE(database.GetRecord(keys, table));
  ASSERT_EQ(KTDSOLD::GetRowCount(table), 1u);
  EXPECT_EQ(table["font_path_id"][0].GetInt64(), 7);
  EXPECT_FALSE(KTDSOLD::HasColumn(table, "stale"));
  const auto statement = database.GetStatement("ktds::Database::GetRecord->font_path(,path)");
  ASSERT_TRUE(statement);

  keys["path"] = Variant("/usr/share/fonts/");
  ASSERT_TRUE(database.GetRecord(keys, table));
  EXPECT_EQ(table["font_path_id"][0].GetInt64(), 8);
  EXPECT_EQ(database.GetStatement("ktds::Database::GetRecord->font_path(,path)").Get(),
            statement.Get());

  VariantMap two{{"path", Variant("C:\\Fonts\\")}, {"timestamp", integer(200)}};
  ASSERT_TRUE(database.GetRecord(two, table));
  EXPECT_EQ(KTDSOLD::GetRowCount(table), 0u);
  EXPECT_TRUE(database.GetStatement("ktds::Database::GetRecord->font_path(,path,timestamp)"));
  expectNothingLogged();
}

TEST_F(DatabaseStatementTest, GetRecordRefusesKeysThatAreNotColumnNames) {
  ColumnTable table;
  EXPECT_FALSE(database.GetRecord(VariantMap(), table));
  VariantMap hostile{{"1=1; DROP TABLE t; --", Variant("x")}};
  EXPECT_FALSE(database.GetRecord(hostile, table));
  EXPECT_EQ(rowsInT(database), 3);
  expectNothingLogged();
}

}  // namespace
