// SqliteResultSet: the rows of one query, read one at a time.

#include "store/sqlite_result_set.h"

#include "platform/date_time.h"
#include "platform/log.h"
#include "platform/text_util.h"

namespace examora {

SqliteResultSet::SqliteResultSet(SqliteConnection& connection, std::string sql,
                                 SqliteStatementPtr stmt, SqliteConnection::BusyClock clock)
    : connection_(&connection), sql_(std::move(sql)), stmt_(std::move(stmt)), clock_(clock) {}

SqliteResultSet::~SqliteResultSet() {
    close();
}

void SqliteResultSet::close() {
    onRow_ = false;
    if (!connection_) {
        stmt_.reset();
        return;
    }
    SqliteConnection* conn = connection_;
    connection_ = nullptr;
    conn->forget(this);
    conn->recycle(sql_, std::move(stmt_));
}

void SqliteResultSet::abandon() {
    onRow_ = false;
    connection_ = nullptr;
    stmt_.reset();
}

bool SqliteResultSet::next() {
    if (!stmt_ || !connection_) return false;
    const int rc = connection_->step(stmt_.get(), clock_);
    if (rc == SQLITE_ROW) {
        onRow_ = true;
        return true;
    }
    if (rc != SQLITE_DONE) {
        sqlite3* db = connection_->sqliteHandle();
        const char* message = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
        if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED)
            logf("%s:%d Database busy (%@)", "SqliteResultSet::next", __LINE__,
                 connection_->databasePath());
        else if (rc == SQLITE_ERROR || rc == SQLITE_MISUSE)
            logf("Error calling sqlite3_step (%d: %s) rs", rc, message);
        else
            logf("Unknown error calling sqlite3_step (%d: %s) rs", rc, message);
    }
    close();
    return false;
}

int SqliteResultSet::columnCount() const {
    return stmt_ ? sqlite3_column_count(stmt_.get()) : 0;
}

int SqliteResultSet::columnIndexForName(std::string_view name) const {
    if (!stmt_) return -1;
    if (lowerNames_.empty()) {
        const int n = sqlite3_column_count(stmt_.get());
        lowerNames_.reserve(static_cast<std::size_t>(n));
        for (int i = 0; i < n; ++i) {
            const char* colName = sqlite3_column_name(stmt_.get(), i);
            lowerNames_.emplace_back(toLowerAscii(colName ? colName : ""), i);
        }
    }
    for (const auto& [lower, index] : lowerNames_)
        if (equalsIgnoringCase(lower, name)) return index;
    return -1;
}

std::string SqliteResultSet::columnNameForIndex(int index) const {
    if (!stmt_ || index < 0 || index >= sqlite3_column_count(stmt_.get())) return std::string();
    const char* colName = sqlite3_column_name(stmt_.get(), index);
    return colName ? std::string(colName) : std::string();
}

bool SqliteResultSet::readable(int index) const {
    return onRow_ && stmt_ && index >= 0 && index < sqlite3_column_count(stmt_.get());
}

bool SqliteResultSet::columnIndexIsNull(int index) const {
    return !readable(index) || sqlite3_column_type(stmt_.get(), index) == SQLITE_NULL;
}

int SqliteResultSet::intForColumnIndex(int index) const {
    return readable(index) ? sqlite3_column_int(stmt_.get(), index) : 0;
}

long SqliteResultSet::longForColumnIndex(int index) const {
    return readable(index) ? static_cast<long>(sqlite3_column_int64(stmt_.get(), index)) : 0L;
}

long long SqliteResultSet::longLongIntForColumnIndex(int index) const {
    return readable(index) ? static_cast<long long>(sqlite3_column_int64(stmt_.get(), index)) : 0LL;
}

double SqliteResultSet::doubleForColumnIndex(int index) const {
    return readable(index) ? sqlite3_column_double(stmt_.get(), index) : 0.0;
}

bool SqliteResultSet::boolForColumnIndex(int index) const {
    return intForColumnIndex(index) != 0;
}

std::optional<std::string> SqliteResultSet::stringForColumnIndex(int index) const {
    if (columnIndexIsNull(index)) return std::nullopt;
    const unsigned char* text = sqlite3_column_text(stmt_.get(), index);
    const int size = sqlite3_column_bytes(stmt_.get(), index);
    if (!text) return std::string();
    return std::string(reinterpret_cast<const char*>(text), static_cast<std::size_t>(size));
}

std::string_view SqliteResultSet::textForColumnIndex(int index) const {
    if (!readable(index)) return {};
    const unsigned char* text = sqlite3_column_text(stmt_.get(), index);
    if (!text) return {};
    return {reinterpret_cast<const char*>(text),
            static_cast<std::size_t>(sqlite3_column_bytes(stmt_.get(), index))};
}

std::optional<Bytes> SqliteResultSet::dataForColumnIndex(int index) const {
    if (columnIndexIsNull(index)) return std::nullopt;
    const auto* data = static_cast<const std::uint8_t*>(sqlite3_column_blob(stmt_.get(), index));
    const int size = sqlite3_column_bytes(stmt_.get(), index);
    if (!data || size <= 0) return Bytes();
    return Bytes(data, data + size);
}

std::optional<std::string> SqliteResultSet::dateForColumnIndex(int index) const {
    if (columnIndexIsNull(index)) return std::nullopt;
    const int type = sqlite3_column_type(stmt_.get(), index);
    if (type == SQLITE_INTEGER || type == SQLITE_FLOAT)
        return DateTime::fromEpochLocal(sqlite3_column_int64(stmt_.get(), index)).format();
    std::optional<std::string> text = stringForColumnIndex(index);
    if (!text) return std::nullopt;
    std::optional<DateTime> date = DateTime::parse(*text);
    if (!date) return std::nullopt;
    return date->format();
}

Value SqliteResultSet::objectForColumnIndex(int index) const {
    if (!readable(index)) return Value();
    sqlite3_stmt* s = stmt_.get();
    switch (sqlite3_column_type(s, index)) {
        case SQLITE_INTEGER:
            return Value(static_cast<std::int64_t>(sqlite3_column_int64(s, index)));
        case SQLITE_FLOAT:
            return Value(sqlite3_column_double(s, index));
        case SQLITE_BLOB:
            return Value(dataForColumnIndex(index).value_or(Bytes()));
        case SQLITE_NULL:
            return Value();
        default:
            return Value(stringForColumnIndex(index).value_or(std::string()));
    }
}

Dict SqliteResultSet::resultDictionary() const {
    Dict row;
    if (!onRow_ || !stmt_) return row;
    const int n = sqlite3_column_count(stmt_.get());
    row.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        row.set(columnNameForIndex(i), objectForColumnIndex(i));
    return row;
}

}  // namespace examora
