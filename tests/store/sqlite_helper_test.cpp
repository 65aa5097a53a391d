#include <gtest/gtest.h>

#include "platform/log.h"
#include "store/sqlite_helper.h"
#include "temp_db_fixture.h"

namespace examora {
namespace {

class SqliteHelperTest : public TempDbTest {
  protected:
    LogCapture log_;
};

TEST_F(SqliteHelperTest, OperationOnClosedDatabaseOpensAndClosesIt) {
    SQLiteHelper h;
    EXPECT_TRUE(h.ExecuteNonQuery("create table t (id integer primary key, cname text)"));
    EXPECT_FALSE(h.isOpen());
    EXPECT_TRUE(h.ExecuteNonQuery("insert into t (cname) values (?)", "a"));
    EXPECT_EQ(h.ExecuteScalarInt("select count(*) from t"), 1);
    EXPECT_EQ(h.ExecuteScalarString("select cname from t where id=?", 1), "a");
    EXPECT_FALSE(h.isOpen());
}

}  // namespace
}  // namespace examora
