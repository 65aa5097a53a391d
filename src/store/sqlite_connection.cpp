// SqliteConnection: one connection to a database file over the SQLite C interface.

#include "store/sqlite_connection.h"

#include <algorithm>
#include <atomic>
#include <limits>
#include <mutex>
#include <thread>

#include <sys/stat.h>

#include "platform/log.h"
#include "platform/text_util.h"
#include "store/sqlite_result_set.h"

namespace examora {

namespace {

std::atomic<std::size_t> gOpenConnections{0};

// Idle statements kept per connection; the data-access classes use a few dozen distinct texts.
constexpr std::size_t kStatementCacheLimit = 64;

// clang-format off
constexpr std::string_view kUpdateBindCountError = "Error: the bind count (%d) is not correct for the # of variables in the query (%d) (%@) (executeUpdate)";
constexpr std::string_view kQueryBindCountError = "Error: the bind count is not correct for the # of variables (executeQuery)";
// clang-format on

constexpr int kOpenFlags = SQLITE_OPEN_FULLMUTEX | SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;

}  // namespace

std::unique_ptr<SqliteConnection> SqliteConnection::databaseWithPath(std::string path) {
    if (sqlite3_threadsafe() == 0) return nullptr;
    return std::unique_ptr<SqliteConnection>(new SqliteConnection(std::move(path)));
}

SqliteConnection::SqliteConnection(std::string path) : path_(std::move(path)) {}

SqliteConnection::~SqliteConnection() {
    close();
    if (open_) {
        // close() failed (a statement prepared outside this class is still live).
        open_ = false;
        --gOpenConnections;
    }
    unpark();
    // sqlite3_close_v2 defers the real close until a stray statement is finalized.
    idle_.clear();
    db_.reset();
}

std::size_t SqliteConnection::openConnectionCount() {
    return gOpenConnections.load();
}

bool SqliteConnection::open() {
    if (open_) return true;
    unpark();
    // A file deleted or renamed over since the handle was opened must not be served from the old
    // handle (it would still read the unlinked file). The log file keeps its name, and SQLite
    // neither checkpoints nor removes it when the last handle on a moved file closes: frames of
    // the old file left in it would be read as pages of the new one. So the old file's log is
    // checkpointed into the old file and emptied, and every parked handle on it is closed, before
    // the new file is opened.
    if (db_ && !pathStillNamesOpenedFile()) {
        sqlite3_wal_checkpoint_v2(db_.get(), nullptr, SQLITE_CHECKPOINT_TRUNCATE, nullptr, nullptr);
        closeParkedHandles(fileDevice_, fileInode_);
        dropHandle();
    }
    if (!db_) return openHandle();
    // A fresh handle reports no last row id; the parked one must not report a stale one.
    sqlite3_set_last_insert_rowid(db_.get(), 0);
    open_ = true;
    noStatementSinceOpen_ = true;
    ++gOpenConnections;
    return true;
}

bool SqliteConnection::openHandle() {
    sqlite3* raw = nullptr;
    int rc = sqlite3_open_v2(path_.c_str(), &raw, kOpenFlags, nullptr);
    SqliteHandlePtr handle(raw);
    if (rc != SQLITE_OK) {
        logf("error opening!: %d", rc);
        return false;
    }
    sqlite3_busy_handler(raw, &SqliteConnection::busyCallback, this);
    sqlite3_set_authorizer(raw, &SqliteConnection::authorize, this);
    // A handle on something that is no file to compare later (an in-memory database) is never
    // parked: its contents end with a real close.
    struct stat st {};
    fileIdentified_ = ::stat(path_.c_str(), &st) == 0;
    fileDevice_ = static_cast<std::uint64_t>(st.st_dev);
    fileInode_ = static_cast<std::uint64_t>(st.st_ino);
    db_ = std::move(handle);
    open_ = true;
    sessionChanged_ = false;
    noStatementSinceOpen_ = true;
    ++gOpenConnections;
    applyConnectionSettings();
    return true;
}

void SqliteConnection::applyConnectionSettings() {
    // Write-ahead logging lets readers on other threads go on while a download writes, and with
    // synchronous=NORMAL a committed transaction survives a killed process (only a power loss
    // can take back the last commits). The journal mode is stored in the file, so after the
    // first connection switches it the statement only confirms it.
    applyingSettings_ = true;
    std::unique_ptr<SqliteResultSet> rs = executeQuery("pragma journal_mode=wal");
    if (rs) {
        rs->next();
        rs->close();
    }
    executeUpdate("pragma synchronous=normal");
    applyingSettings_ = false;
    noStatementSinceOpen_ = true;
}

bool SqliteConnection::close() {
    if (!open_) return true;
    std::vector<SqliteResultSet*> sets;
    sets.swap(openResultSets_);
    for (SqliteResultSet* rs : sets)
        rs->abandon();
    // A real close refuses while a foreign statement is live and then changes nothing more.
    if (hasForeignStatements() || sessionChanged_ || !fileIdentified_) return closeHandle();
    if (sqlite3_get_autocommit(db_.get()) == 0 &&
        sqlite3_exec(db_.get(), "rollback", nullptr, nullptr, nullptr) != SQLITE_OK)
        return closeHandle();
    open_ = false;
    --gOpenConnections;
    park();
    return true;
}

namespace {

// The parked connections of the process. A parked connection is touched by its owner only after
// it has taken itself off this list, so whoever holds the lock may close a listed one's handle.
struct ParkedList {
    std::mutex mutex;
    std::vector<SqliteConnection*> connections;
};

ParkedList& parkedList() {
    // Never destroyed: connections in static storage may still unpark during exit.
    union Holder {
        ParkedList list;
        Holder() : list() {}
        ~Holder() {}
    };
    static Holder holder;
    return holder.list;
}

}  // namespace

void SqliteConnection::park() {
    ParkedList& parked = parkedList();
    const std::lock_guard lock(parked.mutex);
    parked.connections.push_back(this);
}

void SqliteConnection::unpark() {
    ParkedList& parked = parkedList();
    const std::lock_guard lock(parked.mutex);
    std::erase(parked.connections, this);
}

void SqliteConnection::closeParkedHandles(std::uint64_t device, std::uint64_t inode) {
    ParkedList& parked = parkedList();
    const std::lock_guard lock(parked.mutex);
    std::erase_if(parked.connections, [&](SqliteConnection* c) {
        if (c->fileDevice_ != device || c->fileInode_ != inode) return false;
        c->dropHandle();
        return true;
    });
}

void SqliteConnection::dropHandle() {
    if (closeHandle()) return;
    // A foreign statement keeps the handle alive; it closes for real once that is finalized.
    idle_.clear();
    db_.reset();
}

bool SqliteConnection::closeHandle() {
    if (!db_) return true;
    idle_.clear();
    int rc = sqlite3_close(db_.get());
    if (rc != SQLITE_OK) {
        logStatementError(rc, "close");
        return false;
    }
    (void)db_.release();  // already closed above
    if (open_) {
        open_ = false;
        --gOpenConnections;
    }
    return true;
}

bool SqliteConnection::hasForeignStatements() const {
    // Every statement this class owns is reset and idle in the cache once the result sets are
    // gone; anything beyond those belongs to someone else.
    std::size_t live = 0;
    for (sqlite3_stmt* s = sqlite3_next_stmt(db_.get(), nullptr); s;
         s = sqlite3_next_stmt(db_.get(), s)) {
        if (++live > idle_.size() || sqlite3_stmt_busy(s)) return true;
    }
    return false;
}

bool SqliteConnection::pathStillNamesOpenedFile() const {
    struct stat st {};
    return fileIdentified_ && ::stat(path_.c_str(), &st) == 0 &&
           static_cast<std::uint64_t>(st.st_dev) == fileDevice_ &&
           static_cast<std::uint64_t>(st.st_ino) == fileInode_;
}

namespace {

// Pragmas that only read: an argument names what to read, it sets nothing.
bool isReadingPragma(std::string_view name) {
    static constexpr std::string_view kReading[] = {
        "table_info",      "table_xinfo", "table_list",       "index_info",
        "index_xinfo",     "index_list",  "foreign_key_list", "foreign_key_check",
        "integrity_check", "quick_check", "database_list",    "collation_list",
        "function_list",   "module_list", "pragma_list",      "compile_options",
        "wal_checkpoint",
    };
    for (std::string_view r : kReading)
        if (equalsIgnoringCase(r, name)) return true;
    return false;
}

}  // namespace

int SqliteConnection::authorize(void* self, int action, const char* arg1, const char* arg2,
                                const char* /*database*/, const char* /*trigger*/) {
    auto* conn = static_cast<SqliteConnection*>(self);
    if (conn->applyingSettings_) return SQLITE_OK;
    switch (action) {
        case SQLITE_ATTACH:
        case SQLITE_DETACH:
        case SQLITE_CREATE_TEMP_TABLE:
        case SQLITE_CREATE_TEMP_INDEX:
        case SQLITE_CREATE_TEMP_TRIGGER:
        case SQLITE_CREATE_TEMP_VIEW:
            conn->sessionChanged_ = true;
            break;
        case SQLITE_PRAGMA:
            // "pragma name" reads; "pragma name = value" and "pragma name(value)" set, except for
            // the pragmas whose argument only names what to read.
            if (arg2 && !isReadingPragma(arg1 ? arg1 : "")) conn->sessionChanged_ = true;
            break;
        default:
            break;
    }
    return SQLITE_OK;
}

void SqliteConnection::setShouldCacheStatements(bool cache) {
    cacheStatements_ = cache;
    if (!cache) idle_.clear();
}

bool SqliteConnection::executeUpdate(std::string_view sql, const std::vector<Value>& args) {
    if (!open_) {
        logNotOpen();
        return false;
    }
    noStatementSinceOpen_ = false;
    BusyClock clock;
    SqliteStatementPtr stmt;
    if (!prepare(sql, clock, stmt)) return false;
    // An SQL text without a statement has no placeholders and nothing to run.
    const int expected = stmt ? sqlite3_bind_parameter_count(stmt.get()) : 0;
    if (static_cast<std::size_t>(expected) != args.size()) {
        logf(kUpdateBindCountError, args.size(), expected, sql);
        recycle(sql, std::move(stmt));
        return false;
    }
    if (!stmt) return true;
    if (!bindArguments(stmt.get(), args)) {
        logStatementError(sqlite3_errcode(db_.get()), sql);
        recycle(sql, std::move(stmt));
        return false;
    }
    const int rc = step(stmt.get(), clock);
    const bool ok = rc == SQLITE_DONE || rc == SQLITE_ROW;
    if (!ok) logStatementError(rc, sql);
    recycle(sql, std::move(stmt));
    return ok;
}

std::unique_ptr<SqliteResultSet> SqliteConnection::executeQuery(std::string_view sql,
                                                                const std::vector<Value>& args) {
    if (!open_) {
        logNotOpen();
        return nullptr;
    }
    noStatementSinceOpen_ = false;
    BusyClock clock;
    SqliteStatementPtr stmt;
    if (!prepare(sql, clock, stmt) || !stmt) return nullptr;
    if (static_cast<std::size_t>(sqlite3_bind_parameter_count(stmt.get())) != args.size()) {
        logLine(kQueryBindCountError);
        recycle(sql, std::move(stmt));
        return nullptr;
    }
    if (!bindArguments(stmt.get(), args)) {
        logStatementError(sqlite3_errcode(db_.get()), sql);
        recycle(sql, std::move(stmt));
        return nullptr;
    }
    std::unique_ptr<SqliteResultSet> rs(
        new SqliteResultSet(*this, std::string(sql), std::move(stmt), clock));
    openResultSets_.push_back(rs.get());
    return rs;
}

bool SqliteConnection::prepare(std::string_view sql, BusyClock& clock, SqliteStatementPtr& out) {
    if (cacheStatements_) {
        auto it = idle_.find(sql);
        if (it != idle_.end()) {
            out = std::move(it->second);
            idle_.erase(it);
            return true;
        }
    }
    if (sql.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) {
        logStatementError(SQLITE_TOOBIG, sql);
        return false;
    }
    sqlite3_stmt* raw = nullptr;
    activeClock_ = &clock;
    int rc;
    for (;;) {
        rc = sqlite3_prepare_v2(db_.get(), sql.data(), static_cast<int>(sql.size()), &raw, nullptr);
        if (rc != SQLITE_BUSY || !waitAfterBusy(clock)) break;
    }
    activeClock_ = nullptr;
    out.reset(raw);
    if (rc != SQLITE_OK) {
        logStatementError(rc, sql);
        out.reset();
        return false;
    }
    return true;
}

bool SqliteConnection::bindArguments(sqlite3_stmt* stmt, const std::vector<Value>& args) {
    int index = 0;
    for (const Value& v : args) {
        ++index;
        int rc = SQLITE_OK;
        switch (v.type()) {
            case Value::Type::Null:
                rc = sqlite3_bind_null(stmt, index);
                break;
            case Value::Type::Integer: {
                const std::int64_t i = v.asInt64();
                if (i >= std::numeric_limits<int>::min() && i <= std::numeric_limits<int>::max())
                    rc = sqlite3_bind_int(stmt, index, static_cast<int>(i));
                else
                    rc = sqlite3_bind_int64(stmt, index, i);
                break;
            }
            case Value::Type::Double:
                rc = sqlite3_bind_double(stmt, index, v.asDouble());
                break;
            case Value::Type::Text: {
                const std::string& s = *v.textPtr();
                rc = sqlite3_bind_text64(stmt, index, s.data(), s.size(), SQLITE_TRANSIENT,
                                         SQLITE_UTF8);
                break;
            }
            case Value::Type::Blob: {
                // An empty buffer is a zero-length blob, never NULL.
                const Bytes& b = *v.bytesPtr();
                if (b.empty())
                    rc = sqlite3_bind_zeroblob(stmt, index, 0);
                else
                    rc = sqlite3_bind_blob64(stmt, index, b.data(), b.size(), SQLITE_TRANSIENT);
                break;
            }
        }
        if (rc != SQLITE_OK) return false;
    }
    return true;
}

int SqliteConnection::step(sqlite3_stmt* stmt, BusyClock& clock) {
    activeClock_ = &clock;
    int rc;
    for (;;) {
        rc = sqlite3_step(stmt);
        // SQLite answers busy without consulting the handler in a few cases (a hot journal being
        // recovered, for one); those are retried here within the same window.
        if (rc != SQLITE_BUSY || !waitAfterBusy(clock)) break;
    }
    activeClock_ = nullptr;
    return rc;
}

bool SqliteConnection::waitAfterBusy(BusyClock& clock) {
    const auto now = std::chrono::steady_clock::now();
    if (!clock.firstReport) clock.firstReport = now;
    if (busyObserver_) busyObserver_();
    if (now - *clock.firstReport >= kBusyRetryTimeout) return false;
    std::this_thread::sleep_for(kBusyRetrySleep);
    return true;
}

int SqliteConnection::busyCallback(void* self, int count) {
    auto* conn = static_cast<SqliteConnection*>(self);
    BusyClock* clock = conn->activeClock_;
    if (!clock) {
        // A lock wait outside a statement of ours (for example inside close): it gets a window
        // of its own, started at its first report.
        if (count == 0) conn->looseClock_ = BusyClock{};
        clock = &conn->looseClock_;
    }
    return conn->waitAfterBusy(*clock) ? 1 : 0;
}

void SqliteConnection::recycle(std::string_view sql, SqliteStatementPtr stmt) {
    if (!stmt) return;
    sqlite3_reset(stmt.get());
    sqlite3_clear_bindings(stmt.get());
    if (!cacheStatements_ || !open_) return;
    if (idle_.size() >= kStatementCacheLimit) idle_.clear();
    idle_.try_emplace(std::string(sql), std::move(stmt));
}

void SqliteConnection::forget(const SqliteResultSet* rs) {
    auto it = std::find(openResultSets_.begin(), openResultSets_.end(), rs);
    if (it != openResultSets_.end()) openResultSets_.erase(it);
}

std::int64_t SqliteConnection::lastInsertRowId() const {
    return open_ ? sqlite3_last_insert_rowid(db_.get()) : 0;
}

int SqliteConnection::changes() const {
    return open_ && !noStatementSinceOpen_ ? sqlite3_changes(db_.get()) : 0;
}

int SqliteConnection::lastErrorCode() const {
    return open_ ? sqlite3_errcode(db_.get()) : 0;
}

std::string SqliteConnection::lastErrorMessage() const {
    return open_ ? std::string(sqlite3_errmsg(db_.get())) : std::string("not an error");
}

bool SqliteConnection::inTransaction() const {
    return open_ && sqlite3_get_autocommit(db_.get()) == 0;
}

void SqliteConnection::logStatementError(int code, std::string_view sql) const {
    const char* message = db_ ? sqlite3_errmsg(db_.get()) : sqlite3_errstr(code);
    logf("DB Error: %d \"%@\"", code, message);
    logf("DB Query: %@", sql);
    logf("DB Path: %@", path_);
}

void SqliteConnection::logNotOpen() const {
    logf("The FMDatabase %@ is not open.", path_);
}

}  // namespace examora
