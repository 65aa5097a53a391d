#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "platform/log.h"
#include "store/sqlite_connection.h"
#include "store/sqlite_helper.h"
#include "store/sqlite_result_set.h"
#include "temp_db_fixture.h"

namespace examora {
namespace {

// A closed database keeps its SQLite handle for a cheap reopen; these tests hold it to doing
// everything a real close does.
class ParkedHandleTest : public TempDbTest {
  protected:
    void SetUp() override {
        SQLiteHelper setup;
        ASSERT_TRUE(setup.ExecuteNonQuery("create table t (id integer primary key, cname text)"));
        ASSERT_TRUE(setup.ExecuteNonQuery("insert into t (cname) values ('a'), ('b'), ('c')"));
    }

    // Another connection of the process, failing the test whenever it has to wait for a lock.
    std::unique_ptr<SqliteConnection> neighbour() {
        auto other = SqliteConnection::databaseWithPath(dbPath());
        EXPECT_TRUE(other->open());
        other->setBusyObserver([] { ADD_FAILURE() << "a closed connection still holds a lock"; });
        return other;
    }

    LogCapture log_;
};

TEST_F(ParkedHandleTest, CloseEndsReadersTransactionsAndEveryLock) {
    SQLiteHelper h;
    ASSERT_TRUE(h.OpenDataBase());
    auto reader = h.ExecuteDataReader("select cname from t order by id");
    ASSERT_TRUE(reader && reader->next());
    ASSERT_TRUE(h.db()->executeUpdate("begin immediate transaction"));
    ASSERT_TRUE(h.db()->executeUpdate("insert into t (cname) values ('uncommitted')"));
    // A cached statement stepped once and left mid-rows by its last user.
    EXPECT_EQ(h.ExecuteScalarString("select cname from t order by id"), "a");
    ASSERT_TRUE(h.CloseDataBase());
    EXPECT_TRUE(h.db()->holdsHandle());

    EXPECT_FALSE(reader->next());
    EXPECT_FALSE(reader->stringForColumnIndex(0));
    EXPECT_FALSE(h.db()->inTransaction());

    // Nothing of ours blocks a writer or a checkpoint that must wait for every reader.
    auto other = neighbour();
    ASSERT_TRUE(other->executeUpdate("begin exclusive transaction"));
    ASSERT_TRUE(other->executeUpdate("insert into t (cname) values ('other')"));
    ASSERT_TRUE(other->executeUpdate("commit transaction"));
    auto checkpoint = other->executeQuery("pragma wal_checkpoint(truncate)");
    ASSERT_TRUE(checkpoint && checkpoint->next());
    EXPECT_EQ(checkpoint->intForColumnIndex(0), 0);  // not blocked
    checkpoint->close();
    EXPECT_EQ(std::filesystem::file_size(dbPath() + "-wal"), 0u);

    // The reopened handle sees the neighbour's write, not its own rolled-back one.
    EXPECT_EQ(h.ExecuteScalarInt("select count(*) from t"), 4);
    EXPECT_EQ(h.ExecuteScalarInt("select count(*) from t where cname = 'uncommitted'"), 0);
    EXPECT_FALSE(h.isOpen());
    EXPECT_FALSE(log_.contains("DB Error"));
}

TEST_F(ParkedHandleTest, TransactionOpenedByBeginTranIsRolledBackByAClose) {
    SQLiteHelper h;
    ASSERT_TRUE(h.BeginTran());
    h.ExecuteNonQuery("insert into t (cname) values ('x')");
    EXPECT_EQ(h.db()->changes(), 1);
    // The owner gives up without committing, as an exception path would.
    ASSERT_TRUE(h.CloseDataBase());
    SQLiteHelper reader;
    EXPECT_EQ(reader.ExecuteScalarInt("select count(*) from t"), 3);

    // The reopened connection starts like a new one: no transaction, no last row, no changes.
    ASSERT_TRUE(h.OpenDataBase());
    EXPECT_FALSE(h.db()->inTransaction());
    EXPECT_EQ(h.db()->lastInsertRowId(), 0);
    EXPECT_EQ(h.db()->changes(), 0);
    EXPECT_TRUE(h.ExecuteNonQuery("insert into t (cname) values ('y')"));
    EXPECT_EQ(h.db()->lastInsertRowId(), 4);
    h.CloseDataBase();
    h.RollbackTran();
    EXPECT_EQ(h.tranCount(), 0);
}

TEST_F(ParkedHandleTest, SettingsAndTemporaryObjectsEndWithTheClose) {
    SQLiteHelper h;
    h.ExecuteNonQuery("pragma foreign_keys = on");
    EXPECT_EQ(h.ExecuteScalarInt("pragma foreign_keys"), 0);
    ASSERT_TRUE(h.OpenDataBase());
    h.ExecuteNonQuery("pragma foreign_keys = on");
    EXPECT_EQ(h.ExecuteScalarInt("pragma foreign_keys"), 1);
    h.ExecuteNonQuery("create temp table scratch (x)");
    h.ExecuteNonQuery("attach database ? as side", dbPath() + ".side");
    EXPECT_EQ(h.ExecuteScalarInt("select count(*) from pragma_database_list where name = 'side'"),
              1);
    h.CloseDataBase();

    ASSERT_TRUE(h.OpenDataBase());
    EXPECT_EQ(h.ExecuteScalarInt("pragma foreign_keys"), 0);
    EXPECT_EQ(h.ExecuteScalarInt("select count(*) from temp.sqlite_master"), 0);
    EXPECT_EQ(h.ExecuteScalarInt("select count(*) from pragma_database_list where name = 'side'"),
              0);
    h.CloseDataBase();

    // Reading the schema changes nothing, so the handle stays parked for the next use.
    EXPECT_TRUE(h.ExistsCol("T", "CNAME"));
    EXPECT_TRUE(h.db()->holdsHandle());
    EXPECT_EQ(h.ExecuteScalarInt("select count(*) from t"), 3);
}

TEST_F(ParkedHandleTest, FileReplacedOrDeletedBetweenUsesIsOpenedAfresh) {
    // Two objects parked on the file, one of them with a write still only in the log.
    SQLiteHelper h;
    SQLiteHelper second;
    EXPECT_EQ(h.ExecuteScalarString("select cname from t where id = 1"), "a");
    EXPECT_TRUE(second.ExecuteNonQuery("insert into t (cname) values ('d')"));

    // Another file renamed over the path while the handles are parked.
    const std::string replacement = dbPath() + ".new";
    {
        auto c = SqliteConnection::databaseWithPath(replacement);
        ASSERT_TRUE(c->open());
        ASSERT_TRUE(c->executeUpdate("create table t (id integer primary key, cname text)"));
        ASSERT_TRUE(c->executeUpdate("insert into t (cname) values ('replaced')"));
    }
    std::filesystem::rename(replacement, dbPath());
    EXPECT_EQ(h.ExecuteScalarString("select cname from t where id = 1"), "replaced");
    EXPECT_TRUE(h.ExecuteNonQuery("insert into t (cname) values ('after')"));
    SQLiteHelper other;
    EXPECT_EQ(other.ExecuteScalarInt("select count(*) from t"), 2);
    EXPECT_EQ(second.ExecuteScalarInt("select count(*) from t"), 2);

    // The file deleted: the next use creates an empty database as a first open does, and no
    // log left behind by the old file is replayed into it.
    std::filesystem::remove(dbPath());
    EXPECT_FALSE(h.ExistsTable("t"));
    EXPECT_TRUE(std::filesystem::exists(dbPath()));
    EXPECT_TRUE(h.ExecuteNonQuery("create table u (x)"));
    EXPECT_TRUE(other.ExistsTable("u"));
    EXPECT_FALSE(other.ExistsTable("t"));
    EXPECT_FALSE(log_.contains("DB Error"));
}

TEST_F(ParkedHandleTest, CommittedWriteSurvivesAKilledProcess) {
    const pid_t child = ::fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        // Killed without any close: the handle is parked after the first write and in the middle
        // of a transaction after the second.
        SQLiteHelper h;
        const bool ok = h.ExecuteNonQuery("insert into t (cname) values ('committed')") &&
                        h.BeginTran() &&
                        h.ExecuteNonQuery("insert into t (cname) values ('uncommitted')");
        ::_exit(ok ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_EQ(WEXITSTATUS(status), 0);

    SQLiteHelper h;
    EXPECT_EQ(h.ExecuteScalarInt("select count(*) from t where cname = 'committed'"), 1);
    EXPECT_EQ(h.ExecuteScalarInt("select count(*) from t where cname = 'uncommitted'"), 0);
    EXPECT_TRUE(h.ExecuteNonQuery("insert into t (cname) values ('writable')"));
}

}  // namespace
}  // namespace examora
