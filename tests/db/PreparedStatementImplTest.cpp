// A statement binds by ':' name, reads columns by SQLite's storage type, reports failing
// SQLite calls at their fixed report lines, and finalizes with its last reference.
#include "db/PreparedStatementImpl.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include "db/RefCountedPtr.h"
#include "tests/db/DatabaseChecks.h"

namespace {

using KTDSOLD::PreparedStatementImpl;
using KTDSOLD::Variant;
using StatementRef = kttl::RefCountedPtr<PreparedStatementImpl>;

class PreparedStatementImplTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(sqlite3_open(":memory:", &connection), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(connection, "CREATE TABLE t(k INTEGER UNIQUE, v);", nullptr, nullptr,
                           nullptr),
              SQLITE_OK);
    RecordingLog_setEnabled(true);
    RecordingLog_clear();
  }
  void TearDown() override { EXPECT_EQ(sqlite3_close(connection), SQLITE_OK); }

  StatementRef prepare(const char* sql) {
    sqlite3_stmt* statement = nullptr;
    EXPECT_EQ(sqlite3_prepare_v2(connection, sql, -1, &statement, nullptr), SQLITE_OK);
    return StatementRef(new PreparedStatementImpl(statement, connection));
  }

  // Runs the statement once to its end; answers the last step result.
  static std::int32_t runToEnd(PreparedStatementImpl& statement) {
    std::int32_t result = 0;
    while (statement.Step(result)) {
    }
    return result;
  }

  // The value in column v of the table's single row, which is then emptied.
  Variant takeStoredValue() {
    StatementRef read = prepare("SELECT v FROM t;");
    Variant value;
    std::int32_t result;
    EXPECT_TRUE(read->Step(result));
    EXPECT_TRUE(read->GetColumnValue(0, value));
    sqlite3_exec(connection, "DELETE FROM t;", nullptr, nullptr, nullptr);
    return value;
  }

  sqlite3* connection = nullptr;
};

TEST_F(PreparedStatementImplTest, BindsOnlyColonParametersByTheirBareName) {
  StatementRef insert = prepare("INSERT INTO t VALUES(:PATH, ?);");
  EXPECT_EQ(insert->GetArgCount(), 2);
  EXPECT_TRUE(insert->BindArg("PATH", Variant("x")));
  EXPECT_FALSE(insert->BindArg(":PATH", Variant("x")));
  EXPECT_FALSE(insert->BindArg("OTHER", Variant("x")));
  EXPECT_FALSE(insert->BindArg("", Variant("x")));
  EXPECT_FALSE(insert->BindArg(nullptr, Variant("x")));
  EXPECT_FALSE(insert->BindArg("2", Variant("x")));
  expectNothingLogged();
}

TEST_F(PreparedStatementImplTest, BoundValuesArriveAsSqliteStoresThem) {
  StatementRef insert = prepare("INSERT INTO t(v) VALUES(:V);");
  const auto insertOne = [&](const Variant& value) {
    ASSERT_TRUE(insert->Reset());
    ASSERT_TRUE(insert->BindArg("V", value));
    ASSERT_EQ(runToEnd(*insert), SQLITE_DONE);
  };

  Variant text;
  text.Set(std::string("ab\0cd", 5));
  insertOne(text);
  EXPECT_EQ(takeStoredValue().GetText(), "ab");

  Variant dateTime;
  dateTime.Set(KTDSOLD::DateTime());
  insertOne(dateTime);
  Variant read = takeStoredValue();
  EXPECT_EQ(read.GetType(), Variant::TypeText);
  EXPECT_EQ(read.GetText(), "1970-01-01 00:00:00");

  kttl::MemoryBuffer<unsigned char> bytes;
  bytes.Resize(2, true);
  Variant blob;
  blob.Set(bytes);
  insertOne(blob);
  EXPECT_EQ(takeStoredValue().GetType(), Variant::TypeNull);

  Variant big;
  big.Set(std::int64_t{-9223372036854775807LL - 1});
  insertOne(big);
  EXPECT_EQ(takeStoredValue().GetInt64(), -9223372036854775807LL - 1);
}

TEST_F(PreparedStatementImplTest, ColumnsReadByStorageTypeAndNamesComeBeforeTheFirstStep) {
  StatementRef read = prepare("SELECT 3.5 AS r, 7 AS i, 'txt' AS s, x'0102' AS b, NULL AS n;");
  ASSERT_EQ(read->GetColumnCount(), 5u);
  EXPECT_STREQ(read->GetColumnName(0), "r");
  EXPECT_STREQ(read->GetColumnName(4), "n");
  EXPECT_EQ(read->GetColumnName(5), nullptr);

  std::int32_t result;
  ASSERT_TRUE(read->Step(result));
  EXPECT_EQ(result, SQLITE_ROW);
  Variant value;
  ASSERT_TRUE(read->GetColumnValue(0, value));
  EXPECT_EQ(value.GetType(), Variant::TypeReal);
  EXPECT_EQ(value.GetReal(), 3.5);
  ASSERT_TRUE(read->GetColumnValue(1, value));
  EXPECT_EQ(value.GetType(), Variant::TypeInteger);
  EXPECT_EQ(value.GetInt64(), 7);
  ASSERT_TRUE(read->GetColumnValue(2, value));
  EXPECT_EQ(value.GetText(), "txt");
  ASSERT_TRUE(read->GetColumnValue(3, value));
  EXPECT_EQ(value.GetType(), Variant::TypeNull);
  value.Set(std::int32_t{1});
  ASSERT_TRUE(read->GetColumnValue(4, value));
  EXPECT_EQ(value.GetType(), Variant::TypeNull);
  EXPECT_FALSE(read->GetColumnValue(5, value));
  EXPECT_FALSE(read->Step(result));
  EXPECT_EQ(result, SQLITE_DONE);
}

TEST_F(PreparedStatementImplTest, BindingARunningStatementIsReportedPerValueKind) {
  StatementRef read = prepare("SELECT :V FROM (SELECT 1 UNION SELECT 2);");
  std::int32_t result;
  ASSERT_TRUE(read->Step(result));

  Variant values[5];  // the last stays null
  values[0].Set(1.5);
  values[1].Set(std::int32_t{1});
  values[2].Set("t");
  values[3].Set(KTDSOLD::DateTime());
  const int reportLines[5] = {284, 287, 290, 293, 296};
  for (int i = 0; i < 5; ++i) {
    RecordingLog_clear();
    EXPECT_FALSE(read->BindArg("V", values[i]));
    expectOneSqliteReport("KTDSOLD::PreparedStatementImpl::BindArg", reportLines[i], SQLITE_MISUSE);
  }
}

TEST_F(PreparedStatementImplTest, LastReleaseFinalizesTheStatement) {
  StatementRef read = prepare("SELECT 1;");
  auto* raw = read.Get();
  raw->AddRef();
  EXPECT_EQ(raw->GetRefCount(), 2);
  EXPECT_EQ(raw->Release(), 1);
  read = StatementRef();
  EXPECT_EQ(sqlite3_next_stmt(connection, nullptr), nullptr);
}

TEST_F(PreparedStatementImplTest, UnusableStatementFailsWithoutCallingSqlite) {
  StatementRef none(new PreparedStatementImpl(nullptr, connection));
  std::int32_t result = 5;
  Variant value;
  EXPECT_FALSE(none->Reset());
  EXPECT_FALSE(none->ClearArgs());
  EXPECT_FALSE(none->BindArg("V", value));
  EXPECT_EQ(none->GetArgCount(), 0);
  EXPECT_FALSE(none->Step(result));
  EXPECT_EQ(result, 0);
  EXPECT_EQ(none->GetColumnCount(), 0u);
  EXPECT_EQ(none->GetColumnName(0), nullptr);
  EXPECT_FALSE(none->GetColumnValue(0, value));
  expectNothingLogged();
}

}  // namespace
