#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/value.h"
#include "store/sqlite_handles.h"

namespace examora {

class SqliteResultSet;

// One connection to a database file, thin over the SQLite C interface.
//
// Contract kept for every caller:
// - Statement failures are logged ("DB Error: …", "DB Query: …", "DB Path: …") and reported as a
//   failure value (false, or no result set); nothing here throws for an SQL error.
// - `?` placeholders are bound from a Value list whose length must equal the placeholder count;
//   a mismatch is logged and fails the statement before it runs.
// - While another connection holds a lock, a statement retries every 50 ms until 2 s have passed
//   since its first busy report, then fails as busy.
// - Closing the connection closes every result set still open on it; such a result set then
//   reports no further rows.
// - open() and close() are logical: the SQLite handle stays parked across a close, so a reopen
//   costs no schema parse and the close no checkpoint. A logical close ends everything a real one
//   would: result sets end, an SQL transaction is rolled back and every cached statement is reset,
//   so the parked handle holds no lock and no read snapshot. The handle is closed for real when
//   the connection is destroyed, when a statement changed per-handle state (a setting pragma, an
//   attached database, a temporary object) so that the next open starts clean, and on reopen when
//   the path no longer names the file that was opened (deleted or replaced).
// - A connection is used by one thread at a time; several connections on several threads may open
//   the same file.
class SqliteConnection {
  public:
    static constexpr std::chrono::milliseconds kBusyRetryTimeout{2000};
    static constexpr std::chrono::milliseconds kBusyRetrySleep{50};

    // When one statement was first reported busy; the retry window is measured from there.
    struct BusyClock {
        std::optional<std::chrono::steady_clock::time_point> firstReport;
    };

    // A connection for the file at path, not yet open. SQLite must be built thread-safe: without
    // that no connection is ever created and nullptr is returned.
    static std::unique_ptr<SqliteConnection> databaseWithPath(std::string path);

    ~SqliteConnection();
    SqliteConnection(const SqliteConnection&) = delete;
    SqliteConnection& operator=(const SqliteConnection&) = delete;

    const std::string& databasePath() const { return path_; }

    // Opens read-write (creating the file when missing) with full mutexing. True when the
    // connection is open afterwards, also when it already was. A failure logs "error opening!: %d".
    bool open();
    // Closes open result sets and the connection. True when the connection is closed afterwards;
    // false (logged, still open) while a statement prepared outside this class is unfinished.
    bool close();
    bool isOpen() const { return open_; }
    // Whether a SQLite handle is held, open or parked.
    bool holdsHandle() const { return db_ != nullptr; }

    // Runs one statement that returns no rows. False (logged) on any failure.
    bool executeUpdate(std::string_view sql, const std::vector<Value>& args = {});
    // Prepares and binds a query; the caller steps it with next(). nullptr (logged) on failure.
    // The result set must not outlive this connection's open state: close() ends it.
    std::unique_ptr<SqliteResultSet> executeQuery(std::string_view sql,
                                                  const std::vector<Value>& args = {});

    std::int64_t lastInsertRowId() const;
    int changes() const;
    int lastErrorCode() const;
    std::string lastErrorMessage() const;
    // Whether an SQL transaction is in progress on this connection.
    bool inTransaction() const;

    // Reuse of prepared statements across executions of the same SQL text. On by default; it
    // changes no result, log line or error, only the cost of preparing.
    void setShouldCacheStatements(bool cache);
    bool shouldCacheStatements() const { return cacheStatements_; }

    // Called on the waiting thread at every busy report (tests use it to release a lock at the
    // right moment instead of sleeping).
    void setBusyObserver(std::function<void()> observer) { busyObserver_ = std::move(observer); }

    // How many connections of this process are open right now (for the open/close log lines).
    static std::size_t openConnectionCount();

    // The raw handle for operations this class does not wrap; nullptr while closed. Per-handle
    // state set through it (functions, hooks) may outlive a close.
    sqlite3* sqliteHandle() const { return open_ ? db_.get() : nullptr; }

  private:
    friend class SqliteResultSet;

    explicit SqliteConnection(std::string path);

    bool openHandle();
    void applyConnectionSettings();
    // Ends the SQLite handle for real. False (logged, handle kept) when SQLite refuses.
    bool closeHandle();
    // Closes the handle, or lets it close once a foreign statement on it is finalized.
    void dropHandle();
    // A closed connection's handle is listed while parked, so that a connection that finds its
    // file replaced can close every parked handle of this process on the old file.
    void park();
    void unpark();
    static void closeParkedHandles(std::uint64_t device, std::uint64_t inode);
    // Whether a statement this class does not own is live on the handle.
    bool hasForeignStatements() const;
    // Whether the path still names the file the handle was opened on.
    bool pathStillNamesOpenedFile() const;
    static int authorize(void* self, int action, const char* arg1, const char* arg2,
                         const char* database, const char* trigger);
    // Prepares (or takes from the cache) the statement for sql. False on failure (logged). An
    // SQL text with no statement in it succeeds with a null statement.
    bool prepare(std::string_view sql, BusyClock& clock, SqliteStatementPtr& out);
    bool bindArguments(sqlite3_stmt* stmt, const std::vector<Value>& args);
    int step(sqlite3_stmt* stmt, BusyClock& clock);
    // Whether to try again after a busy report; sleeps before answering yes.
    bool waitAfterBusy(BusyClock& clock);
    static int busyCallback(void* self, int count);
    void recycle(std::string_view sql, SqliteStatementPtr stmt);
    void forget(const SqliteResultSet* rs);
    void logStatementError(int code, std::string_view sql) const;
    void logNotOpen() const;

    struct TextHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const {
            return std::hash<std::string_view>{}(s);
        }
    };

    std::string path_;
    SqliteHandlePtr db_;  // held while parked too; open_ says whether the connection is open
    bool open_ = false;
    // A statement prepared on the handle changed state that a real close would end.
    bool sessionChanged_ = false;
    bool applyingSettings_ = false;
    // No statement has run since the last open, so there is no change count to report.
    bool noStatementSinceOpen_ = true;
    bool fileIdentified_ = false;
    std::uint64_t fileDevice_ = 0;
    std::uint64_t fileInode_ = 0;
    std::vector<SqliteResultSet*> openResultSets_;  // not owned: each unregisters itself
    std::unordered_map<std::string, SqliteStatementPtr, TextHash, std::equal_to<>> idle_;
    bool cacheStatements_ = true;
    BusyClock* activeClock_ = nullptr;
    BusyClock looseClock_;
    std::function<void()> busyObserver_;
};

}  // namespace examora
