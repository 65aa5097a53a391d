#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/dict.h"
#include "platform/value.h"
#include "store/sqlite_connection.h"
#include "store/sqlite_handles.h"

namespace examora {

// The rows of one query, read one at a time with next().
//
// Column values are typed by what is stored: INTEGER → 64-bit integer, FLOAT → double, BLOB →
// bytes, NULL → the null Value, TEXT → text. Typed getters read a value as the caller needs it;
// NULL reads 0 for numbers and nullopt for text, bytes and dates. Before the first row, after the
// last one, or for an unknown column every getter reads as NULL.
//
// When next() answers false (end of rows, busy after the retry window, or a step error, the last
// two logged) the result set closes itself, so the rows read so far are the whole result.
class SqliteResultSet {
  public:
    ~SqliteResultSet();
    SqliteResultSet(const SqliteResultSet&) = delete;
    SqliteResultSet& operator=(const SqliteResultSet&) = delete;

    bool next();
    // Releases the statement; later next() calls answer false. Closing twice is harmless.
    void close();
    bool isClosed() const { return !stmt_; }

    const std::string& query() const { return sql_; }
    int columnCount() const;
    // Index of the column with that name ignoring ASCII case; the first one wins; -1 if none.
    int columnIndexForName(std::string_view name) const;
    std::string columnNameForIndex(int index) const;
    bool columnIndexIsNull(int index) const;

    int intForColumn(std::string_view name) const { return intForColumnIndex(indexOf(name)); }
    int intForColumnIndex(int index) const;
    long longForColumn(std::string_view name) const { return longForColumnIndex(indexOf(name)); }
    long longForColumnIndex(int index) const;
    long long longLongIntForColumn(std::string_view name) const {
        return longLongIntForColumnIndex(indexOf(name));
    }
    long long longLongIntForColumnIndex(int index) const;
    double doubleForColumn(std::string_view name) const {
        return doubleForColumnIndex(indexOf(name));
    }
    double doubleForColumnIndex(int index) const;
    bool boolForColumn(std::string_view name) const { return boolForColumnIndex(indexOf(name)); }
    bool boolForColumnIndex(int index) const;
    std::optional<std::string> stringForColumn(std::string_view name) const {
        return stringForColumnIndex(indexOf(name));
    }
    std::optional<std::string> stringForColumnIndex(int index) const;
    // The text of a column without a copy, valid until the next call of next() or close(); NULL
    // reads as empty. For walks over many rows that keep only a few of them.
    std::string_view textForColumnIndex(int index) const;
    // A zero-length blob reads as empty bytes; only NULL reads nullopt.
    std::optional<Bytes> dataForColumn(std::string_view name) const {
        return dataForColumnIndex(indexOf(name));
    }
    std::optional<Bytes> dataForColumnIndex(int index) const;
    // The value as a date text "yyyy-MM-dd HH:mm:ss": numbers are seconds since 1970 (local
    // time), text is read in that form. nullopt for NULL or text that is not such a date.
    std::optional<std::string> dateForColumn(std::string_view name) const {
        return dateForColumnIndex(indexOf(name));
    }
    std::optional<std::string> dateForColumnIndex(int index) const;
    Value objectForColumnName(std::string_view name) const {
        return objectForColumnIndex(indexOf(name));
    }
    Value objectForColumnIndex(int index) const;

    // Every column of the current row under its name as the statement gives it (an alias when
    // one is given).
    Dict resultDictionary() const;

  private:
    friend class SqliteConnection;

    SqliteResultSet(SqliteConnection& connection, std::string sql, SqliteStatementPtr stmt,
                    SqliteConnection::BusyClock clock);

    int indexOf(std::string_view name) const { return columnIndexForName(name); }
    // Whether index names a column of a current row.
    bool readable(int index) const;
    // The connection is closing: finalize the statement instead of handing it back.
    void abandon();

    SqliteConnection* connection_;  // not owned; cleared when the connection closes
    std::string sql_;
    SqliteStatementPtr stmt_;
    SqliteConnection::BusyClock clock_;
    bool onRow_ = false;
    mutable std::vector<std::pair<std::string, int>> lowerNames_;  // built on first lookup
};

}  // namespace examora
