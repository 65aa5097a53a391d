#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "platform/date_time.h"
#include "platform/log.h"
#include "store/sqlite_connection.h"
#include "store/sqlite_helper.h"
#include "store/sqlite_result_set.h"
#include "temp_db_fixture.h"

namespace examora {
namespace {

class SqliteConnectionTest : public TempDbTest {
  protected:
    void SetUp() override {
        db_ = SqliteConnection::databaseWithPath(dbPath());
        ASSERT_NE(db_, nullptr);
        ASSERT_TRUE(db_->open());
        ASSERT_TRUE(db_->executeUpdate("create table v (id integer primary key, x)"));
    }

    // The stored type and value of v.x in the row with that id.
    std::pair<std::string, Value> stored(std::int64_t id) {
        auto rs = db_->executeQuery("select typeof(x), x from v where id = ?", {id});
        EXPECT_TRUE(rs && rs->next());
        if (!rs) return {};
        return {rs->stringForColumnIndex(0).value_or(""), rs->objectForColumnIndex(1)};
    }

    // Another connection holding the write lock until it commits.
    std::unique_ptr<SqliteConnection> lockHolder() {
        auto holder = SqliteConnection::databaseWithPath(dbPath());
        EXPECT_TRUE(holder->open() && holder->executeUpdate("begin exclusive transaction") &&
                    holder->executeUpdate("insert into v (x) values ('holder')"));
        return holder;
    }

    LogCapture log_;
    std::unique_ptr<SqliteConnection> db_;
};

TEST_F(SqliteConnectionTest, ArgumentsAreBoundAndReadBackByStoredType) {
    const std::vector<std::pair<Value, std::string>> cases = {
        {Value(), "null"},
        {Value(std::numeric_limits<std::int64_t>::min()), "integer"},
        {Value(std::uint32_t{4000000000u}), "integer"},
        {Value(std::numeric_limits<int>::min()), "integer"},
        {Value(true), "integer"},
        {Value(2.5), "real"},
        {Value("题目 text"), "text"},
        {Value("NULL"), "text"},
        {Value(Bytes{0, 1, 255}), "blob"},
        {Value(Bytes{}), "blob"},  // a zero-length blob, not NULL
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const auto& [value, type] = cases[i];
        ASSERT_TRUE(db_->executeUpdate("insert into v (id, x) values (?, ?)",
                                       {static_cast<std::int64_t>(i), value}));
        auto [storedType, readBack] = stored(static_cast<std::int64_t>(i));
        EXPECT_EQ(storedType, type) << i;
        EXPECT_EQ(readBack, value) << i;
    }
}

TEST_F(SqliteConnectionTest, TypedGettersAndRowDictionary) {
    db_->executeUpdate("insert into v values (1, ?)", {Bytes{}});
    auto rs = db_->executeQuery(
        "select 7 as iCount, 1.5 as fScore, 'txt' as cName, null as cNone, x as pBlob, "
        "'2015-03-01 08:09:10' as dText, 86400 as dNum, 5000000000 as iBig, 'x' as ICOUNT "
        "from v");
    ASSERT_TRUE(rs && rs->next());
    EXPECT_EQ(rs->columnIndexForName("icount"), 0);  // the first of two equal names
    EXPECT_EQ(rs->intForColumn("ICount"), 7);
    EXPECT_DOUBLE_EQ(rs->doubleForColumn("FSCORE"), 1.5);
    EXPECT_EQ(rs->stringForColumn("cname"), "txt");
    EXPECT_FALSE(rs->stringForColumn("cNone"));
    EXPECT_EQ(rs->dataForColumn("pBlob"), Bytes{});
    EXPECT_FALSE(rs->dataForColumn("cNone"));
    EXPECT_EQ(rs->dateForColumn("dText"), "2015-03-01 08:09:10");
    EXPECT_EQ(rs->dateForColumn("dNum"), DateTime::fromEpochLocal(86400).format());
    EXPECT_FALSE(rs->dateForColumn("cName"));
    EXPECT_EQ(rs->longLongIntForColumn("iBig"), 5000000000LL);
    EXPECT_EQ(rs->columnIndexForName("missing"), -1);
    EXPECT_TRUE(rs->objectForColumnName("missing").isNull());

    Dict row = rs->resultDictionary();
    EXPECT_EQ(row.get("iCount"), Value(7));  // keys keep the statement's spelling
    EXPECT_EQ(row.get("ICOUNT"), Value("x"));
    EXPECT_TRUE(row.contains("cNone"));
    EXPECT_TRUE(row.get("cNone").isNull());
    EXPECT_EQ(row.get("pBlob"), Value(Bytes{}));
    EXPECT_FALSE(rs->next());
    EXPECT_TRUE(rs->isClosed());
    EXPECT_EQ(rs->intForColumn("iCount"), 0);  // past the last row everything reads NULL
}

TEST_F(SqliteConnectionTest, ReusedStatementsBehaveLikeFreshOnes) {
    db_->executeUpdate("insert into v values (1, 'a'), (2, 'b')");
    const std::string sql = "select * from v order by id";
    // The same text open twice at once: each reader steps its own rows.
    auto first = db_->executeQuery(sql);
    auto second = db_->executeQuery(sql);
    ASSERT_TRUE(first && second && first->next() && second->next() && second->next());
    EXPECT_EQ(first->intForColumn("id"), 1);
    EXPECT_EQ(second->intForColumn("id"), 2);
    first->close();
    second->close();

    // A schema change after a statement was used shows on the next execution.
    ASSERT_TRUE(db_->executeUpdate("alter table v add column y"));
    auto rs = db_->executeQuery(sql);
    ASSERT_TRUE(rs && rs->next());
    EXPECT_EQ(rs->columnCount(), 3);
    EXPECT_EQ(rs->columnIndexForName("y"), 2);
    rs->close();

    // Errors of a reused text are reported every time.
    const std::string insert = "insert into v (id, x) values (?, ?)";
    ASSERT_TRUE(db_->executeUpdate(insert, {3, "c"}));
    ASSERT_TRUE(db_->executeUpdate("drop table v"));
    log_.clear();
    EXPECT_FALSE(db_->executeUpdate(insert, {4, "d"}));
    EXPECT_TRUE(log_.contains("DB Error: 1 \"no such table: v\""));
    EXPECT_FALSE(db_->executeUpdate(insert, {4}));
}

TEST_F(SqliteConnectionTest, StepErrorEndsTheRowsReadSoFar) {
    db_->executeUpdate("insert into v values (1, -5), (2, -9223372036854775808), (3, -7)");
    auto rs = db_->executeQuery("select abs(x) from v order by id");
    ASSERT_NE(rs, nullptr);
    ASSERT_TRUE(rs->next());
    EXPECT_EQ(rs->intForColumnIndex(0), 5);
    EXPECT_FALSE(rs->next());  // abs() overflows on the second row
    EXPECT_TRUE(rs->isClosed());
    EXPECT_TRUE(log_.contains("Error calling sqlite3_step (1: integer overflow) rs"));
    EXPECT_FALSE(rs->next());
}

TEST_F(SqliteConnectionTest, EmptyStatementTextDoesNothing) {
    EXPECT_TRUE(db_->executeUpdate("  -- only a comment"));
    EXPECT_FALSE(db_->executeUpdate("  -- only a comment", {1}));
    EXPECT_EQ(db_->executeQuery(" "), nullptr);
}

TEST_F(SqliteConnectionTest, BusyLockReleasedWithinTheWindowIsWaitedFor) {
    auto holder = lockHolder();
    SQLiteHelper h;
    ASSERT_TRUE(h.OpenDataBase());
    // The holder lets go at the first busy report, which comes while the writer waits.
    h.db()->setBusyObserver([&holder] {
        if (holder->inTransaction()) holder->executeUpdate("commit transaction");
    });
    EXPECT_TRUE(h.ExecuteNonQuery("insert into v (x) values ('waiter')"));
    EXPECT_EQ(h.ExecuteScalarInt("select count(*) from v"), 2);
    EXPECT_FALSE(log_.contains("DB Error"));
}

TEST_F(SqliteConnectionTest, BusyLockHeldPastTheWindowFailsAsBusy) {
    auto holder = lockHolder();
    SQLiteHelper h;
    EXPECT_FALSE(h.ExecuteNonQuery("insert into v (x) values ('waiter')"));
    EXPECT_TRUE(log_.contains("DB Error: 5 \"database is locked\""));
    EXPECT_FALSE(h.isOpen());

    // No transaction could be begun: nothing counted, nothing left open.
    EXPECT_FALSE(h.BeginTran());
    EXPECT_EQ(h.tranCount(), 0);
    EXPECT_FALSE(h.isOpen());

    // A reader whose step stays busy ends its rows and says why.
    ASSERT_TRUE(h.OpenDataBase());
    auto rs = h.ExecuteDataReader("insert into v (x) values ('reader') returning id");
    ASSERT_NE(rs, nullptr);
    EXPECT_FALSE(rs->next());
    EXPECT_TRUE(log_.contains("Database busy (" + dbPath() + ")"));
    h.CloseDataBase();
}

}  // namespace
}  // namespace examora
