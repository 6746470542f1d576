// A statement binds by ':' name, reads columns by SQLite's storage type, reports failing
// SQLite calls at their fixed report lines, and finalizes with its last reference.
#include "db/PreparedStatementImpl.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include "db/RefCountedPtr.h"
#include "tests/db/SqliteReports.h"

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

  // The value that `sql` stored in the single row's column v.
  Variant storedValue() {
    StatementRef read = prepare("SELECT v FROM t;");
    Variant value;
    std::int32_t result;
    EXPECT_TRUE(read->Step(result));
    EXPECT_TRUE(read->GetColumnValue(0, value));
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
  const auto readAndClear = [&]() {
    Variant value = storedValue();
    sqlite3_exec(connection, "DELETE FROM t;", nullptr, nullptr, nullptr);
    return value;
  };

  Variant text;
  text.Set(std::string("ab\0cd", 5));
  insertOne(text);
  EXPECT_EQ(readAndClear().GetText(), "ab");

  KTDSOLD::DateTime when;
  when.year = 2009;
  when.month = 3;
  when.day = 5;
  when.hour = 7;
  when.minute = 8;
  when.second = 9;
  Variant dateTime;
  dateTime.Set(when);
  insertOne(dateTime);
  Variant read = readAndClear();
  EXPECT_EQ(read.GetType(), Variant::TypeText);
  EXPECT_EQ(read.GetText(), "2009-03-05 07:08:09");

  kttl::MemoryBuffer<unsigned char> bytes;
  bytes.Resize(2, true);
  Variant blob;
  blob.Set(bytes);
  insertOne(blob);
  EXPECT_EQ(readAndClear().GetType(), Variant::TypeNull);

  Variant big;
  big.Set(std::int64_t{-9223372036854775807LL - 1});
  insertOne(big);
  EXPECT_EQ(readAndClear().GetInt64(), -9223372036854775807LL - 1);
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

TEST_F(PreparedStatementImplTest, FailedStepIsReportedByTheNextResetOnly) {
  ASSERT_EQ(sqlite3_exec(connection, "INSERT INTO t VALUES(1, 'a');", nullptr, nullptr, nullptr),
            SQLITE_OK);
  StatementRef insert = prepare("INSERT INTO t VALUES(:K, 'b');");
  Variant key;
  key.Set(std::int32_t{1});
  ASSERT_TRUE(insert->BindArg("K", key));
  EXPECT_NE(runToEnd(*insert), SQLITE_DONE);
  expectNothingLogged();

  EXPECT_FALSE(insert->Reset());
  expectOneSqliteReport("KTDSOLD::PreparedStatementImpl::Reset", 238, SQLITE_CONSTRAINT);
  RecordingLog_clear();
  EXPECT_TRUE(insert->Reset());
  expectNothingLogged();
}

TEST_F(PreparedStatementImplTest, BindingARunningStatementIsReportedPerValueKind) {
  StatementRef read = prepare("SELECT :V FROM (SELECT 1 UNION SELECT 2);");
  std::int32_t result;
  ASSERT_TRUE(read->Step(result));

  struct Case {
    Variant value;
    int line;
  };
  Case cases[5];
  cases[0].value.Set(1.5);
  cases[0].line = 284;
  cases[1].value.Set(std::int32_t{1});
  cases[1].line = 287;
  cases[2].value.Set("t");
  cases[2].line = 290;
  cases[3].value.Set(KTDSOLD::DateTime());
  cases[3].line = 293;
  cases[4].line = 296;
  for (const Case& test : cases) {
    RecordingLog_clear();
    EXPECT_FALSE(read->BindArg("V", test.value));
    expectOneSqliteReport("KTDSOLD::PreparedStatementImpl::BindArg", test.line, SQLITE_MISUSE);
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
