#include <gtest/gtest.h>

#include "app/common_setting.h"
#include "platform/date_time.h"
#include "platform/log.h"
#include "store/sqlite_helper.h"
#include "temp_db_fixture.h"

namespace examora {
namespace {

class SqliteHelperTest : public TempDbTest {
  protected:
    void SetUp() override {
        SQLiteHelper setup;
        ASSERT_TRUE(setup.ExecuteNonQuery("create table t (id integer primary key, cname text)"));
    }

    int rowCount() {
        SQLiteHelper other;
        return other.ExecuteScalarInt("select count(*) from t");
    }

    LogCapture log_;
};

TEST_F(SqliteHelperTest, OperationsCloseOnlyWhatTheyOpened) {
    SQLiteHelper h;
    // A reader needs the caller to hold the database open.
    EXPECT_EQ(h.ExecuteDataReader("select * from t"), nullptr);
    EXPECT_EQ(h.getTableSchema("t"), nullptr);
    EXPECT_TRUE(log_.contains("The FMDatabase " + dbPath() + " is not open."));

    EXPECT_TRUE(h.ExecuteNonQuery("insert into t (cname) values (?)", "a"));
    EXPECT_FALSE(h.isOpen());

    EXPECT_TRUE(h.OpenDataBase());
    EXPECT_FALSE(h.OpenDataBase());  // already open: nothing done
    EXPECT_TRUE(h.ExecuteNonQuery("insert into t (cname) values (?)", "b"));
    EXPECT_EQ(h.ExecuteScalarInt("select count(*) from t"), 2);
    EXPECT_TRUE(h.ExistsTable("t"));
    EXPECT_TRUE(h.isOpen());

    // A reader loop that issues updates keeps its rows: the inner updates leave the database open.
    auto rs = h.ExecuteDataReader("select id from t order by id");
    ASSERT_NE(rs, nullptr);
    int seen = 0;
    while (rs->next()) {
        ++seen;
        h.ExecuteNonQuery("update t set cname = cname || 'x' where id = ?", rs->intForColumn("ID"));
    }
    EXPECT_EQ(seen, 2);
    EXPECT_TRUE(h.CloseDataBase());
    EXPECT_FALSE(h.isOpen());
    EXPECT_EQ(h.ExecuteScalarString("select cname from t where id = 2"), "bx");
}

TEST_F(SqliteHelperTest, NestedBeginTranIsOneTransactionEndedByTheOutermostCommitOrAnyRollback) {
    SQLiteHelper h;
    ASSERT_TRUE(h.BeginTran());
    ASSERT_TRUE(h.BeginTran());
    EXPECT_EQ(h.tranCount(), 2);
    EXPECT_TRUE(h.HasTransaction());
    h.ExecuteNonQuery("insert into t (cname) values ('a')");
    EXPECT_TRUE(h.CommitTran());
    EXPECT_TRUE(h.db()->inTransaction());
    EXPECT_EQ(rowCount(), 0);  // not yet visible to another connection
    EXPECT_TRUE(h.CommitTran());
    EXPECT_EQ(h.tranCount(), 0);
    EXPECT_FALSE(h.HasTransaction());
    EXPECT_FALSE(h.isOpen());
    EXPECT_EQ(rowCount(), 1);
    EXPECT_TRUE(h.CommitTran());  // unbalanced commit: harmless
    EXPECT_EQ(h.tranCount(), 0);

    // A rollback at any depth undoes everything and resets the counter.
    h.BeginTran();
    h.ExecuteNonQuery("insert into t (cname) values ('b')");
    h.BeginTran();
    h.ExecuteNonQuery("insert into t (cname) values ('c')");
    EXPECT_TRUE(h.RollbackTran());
    EXPECT_EQ(h.tranCount(), 0);
    EXPECT_FALSE(h.isOpen());
    EXPECT_EQ(rowCount(), 1);
}

TEST_F(SqliteHelperTest, TransactionOnACallerOpenedDatabaseIsStillAtomicAndLeavesItOpen) {
    SQLiteHelper h;
    ASSERT_TRUE(h.OpenDataBase());
    ASSERT_TRUE(h.BeginTran());
    h.ExecuteNonQuery("insert into t (cname) values ('a')");
    h.RollbackTran();
    EXPECT_TRUE(h.isOpen());
    EXPECT_EQ(h.ExecuteScalarInt("select count(*) from t"), 0);

    ASSERT_TRUE(h.BeginTran());
    h.ExecuteNonQuery("insert into t (cname) values ('b')");
    EXPECT_TRUE(h.CommitTran());
    EXPECT_TRUE(h.isOpen());
    EXPECT_FALSE(h.db()->inTransaction());
    EXPECT_EQ(rowCount(), 1);

    // A commit that fails is reported, and rolled back rather than left open.
    h.ExecuteNonQuery("pragma foreign_keys = on");
    h.ExecuteNonQuery(
        "create table child (id integer primary key, tid integer "
        "references t(id) deferrable initially deferred)");
    ASSERT_TRUE(h.BeginTran());
    h.ExecuteNonQuery("insert into t (cname) values ('kept only with its child')");
    h.ExecuteNonQuery("insert into child (tid) values (999)");  // checked at commit
    EXPECT_FALSE(h.CommitTran());
    EXPECT_EQ(h.tranCount(), 0);
    EXPECT_FALSE(h.db()->inTransaction());
    EXPECT_EQ(h.ExecuteScalarInt("select count(*) from t"), 1);
    EXPECT_TRUE(log_.contains("DB Error: 19"));
    h.CloseDataBase();
}

TEST_F(SqliteHelperTest, ScalarsOnEmptyAndNullResults) {
    SQLiteHelper h;
    h.ExecuteNonQuery(
        "insert into t (id, cname) values (1, null), (2, '12abc'), (3, '2015-3-1 8:09:10')");
    EXPECT_EQ(h.ExecuteScalarInt("select id from t where id > 99"), 0);
    EXPECT_EQ(h.ExecuteScalarInt("select cname from t where id = 1"), 0);
    EXPECT_EQ(h.ExecuteScalarInt("select cname from t where id = 2"), 12);
    EXPECT_FALSE(h.ExecuteScalarString("select cname from t where id = 1"));
    EXPECT_FALSE(h.ExecuteScalarString("select cname from t where id > 99"));
    EXPECT_FALSE(h.ExecuteScalar("select cname from t where id > 99"));
    std::optional<Value> null = h.ExecuteScalar("select cname from t where id = 1");
    ASSERT_TRUE(null);
    EXPECT_TRUE(null->isNull());
    EXPECT_FLOAT_EQ(h.ExecuteScalarFloat("select 2.5"), 2.5f);
    EXPECT_FLOAT_EQ(h.ExecuteScalarFloat("select null"), 0.0f);
    EXPECT_FALSE(h.ExecuteScalarByte("select null"));
    EXPECT_EQ(h.ExecuteScalarByte("select x'0102'"), (Bytes{1, 2}));
    EXPECT_EQ(h.ExecuteScalarDate("select cname from t where id = 3"), "2015-03-01 08:09:10");
    EXPECT_FALSE(h.ExecuteScalarDate("select cname from t where id = 2"));
    EXPECT_FALSE(h.ExecuteScalarDate("select cname from t where id = 1"));
}

TEST_F(SqliteHelperTest, StatementFailuresAreLoggedNeverThrownAndStillClose) {
    SQLiteHelper h;
    bool ok = true;
    EXPECT_NO_THROW(ok = h.ExecuteNonQuery("insert into t (id, cname) values (?, ?)", 1));
    EXPECT_FALSE(ok);
    EXPECT_TRUE(
        log_.contains("Error: the bind count (1) is not correct for the # of variables in "
                      "the query (2) (insert into t (id, cname) values (?, ?)) "
                      "(executeUpdate)"));
    EXPECT_FALSE(h.ExecuteNonQuery("insert into t (cname) values (?)", "a", "surplus"));
    EXPECT_EQ(rowCount(), 0);

    EXPECT_EQ(h.ExecuteScalarInt("select count(*) from t where id = ?"), 0);
    EXPECT_TRUE(
        log_.contains("Error: the bind count is not correct for the # of variables "
                      "(executeQuery)"));

    log_.clear();
    EXPECT_FALSE(h.ExecuteNonQuery("insert into nope values (1)"));
    std::vector<std::string> expected = {"DB Error: 1 \"no such table: nope\"",
                                         "DB Query: insert into nope values (1)",
                                         "DB Path: " + dbPath()};
    std::vector<std::string> lines = log_.lines();
    EXPECT_NE(std::search(lines.begin(), lines.end(), expected.begin(), expected.end()),
              lines.end());
    EXPECT_FALSE(h.isOpen());
}

TEST_F(SqliteHelperTest, UnopenableDatabaseFailsQuietly) {
    CommonSetting::setDbPath(dbPath() + "/missing-dir/zxexam.db");
    SQLiteHelper h;
    EXPECT_FALSE(h.OpenDataBase());
    EXPECT_FALSE(h.isOpen());
    EXPECT_TRUE(log_.contains("error opening!: 14"));
    EXPECT_FALSE(h.ExecuteNonQuery("insert into t (cname) values ('a')"));
    EXPECT_FALSE(h.BeginTran());
    EXPECT_EQ(h.tranCount(), 0);
    EXPECT_EQ(h.ExecuteScalarInt("select 1"), 0);
}

TEST_F(SqliteHelperTest, SchemaQueriesIgnoreCase) {
    SQLiteHelper h;
    h.ExecuteNonQuery("create table CourseInfo (iCourseId integer, cName text)");
    EXPECT_TRUE(h.ExistsCol("courseinfo", "ICOURSEID"));
    EXPECT_TRUE(h.ExistsCol("COURSEINFO", "cname"));
    EXPECT_FALSE(h.ExistsCol("courseinfo", "cmemo"));
    EXPECT_FALSE(h.ExistsCol("missing", "id"));
    EXPECT_FALSE(h.ExistsCol("t') --", "id"));
    EXPECT_TRUE(h.ExistsTable("COURSEINFO"));
    EXPECT_FALSE(h.ExistsTable("missing"));
    h.ExecuteNonQuery("create view v as select 1");
    EXPECT_FALSE(h.ExistsTable("v"));
    EXPECT_FALSE(h.isOpen());
}

TEST_F(SqliteHelperTest, SqlLiteralsAndDates) {
    EXPECT_EQ(SQLiteHelper::GetDateInSql(std::nullopt), "null");
    EXPECT_EQ(SQLiteHelper::GetDateInSql("2015-3-1 8:09:10"), "'2015-03-01 08:09:10'");
    EXPECT_EQ(SQLiteHelper::GetDateInSql("2015-03-01T08:09:10"), "'2015-03-01 08:09:10'");
    EXPECT_EQ(SQLiteHelper::GetDateInSql("1'); drop table t; --"), "null");
    EXPECT_EQ(SQLiteHelper::GetDateStringInSql(std::nullopt), "null");
    EXPECT_EQ(SQLiteHelper::GetDateStringInSql(""), "null");
    EXPECT_EQ(SQLiteHelper::GetDateStringInSql("NULL"), "null");
    EXPECT_EQ(SQLiteHelper::GetDateStringInSql("2015-03-01"), "'2015-03-01'");

    // A quote in the text stays inside the literal.
    SQLiteHelper h;
    const std::string hostile = "x'); delete from t; --";
    h.ExecuteNonQuery("insert into t (cname) values ('kept')");
    h.ExecuteNonQuery("insert into t (cname) values (" + SQLiteHelper::GetDateStringInSql(hostile) +
                      ")");
    EXPECT_EQ(h.ExecuteScalarString("select cname from t where id = 2"), hostile);
    EXPECT_EQ(rowCount(), 2);

    h.ExecuteNonQuery("insert into t (cname) values (" + SQLiteHelper::ServerTimeFunctionName() +
                      ")");
    std::optional<std::string> stamped = h.ExecuteScalarDate("select cname from t where id = 3");
    ASSERT_TRUE(stamped);
    EXPECT_TRUE(DateTime::parse(h.GetDateNow()));
    EXPECT_LE(*stamped, h.GetDateNow());
}

}  // namespace
}  // namespace examora
