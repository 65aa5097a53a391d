#pragma once

#include <concepts>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/value.h"
#include "store/sqlite_connection.h"
#include "store/sqlite_result_set.h"

namespace examora {

// Arguments bound to `?` placeholders: anything a Value is made from (numbers, bool, text,
// bytes, nullptr, optionals of those).
template <class... Args>
concept SqlArguments = (std::constructible_from<Value, const Args&> && ...);

// The base of every data-access class. Each instance owns one connection to the working database
// (CommonSetting::DbPath at construction) for its whole life and is used by one thread at a time.
//
// Open/close discipline: every Execute… operation (except ExecuteDataReader), ExistsCol and
// ExistsTable opens the database if it is closed and then closes it again, also when an exception
// passes through; a database that was already open stays open. A caller that wants several
// statements on one open connection opens it first and closes it at the end.
//
// SQL errors are logged by the connection and never thrown: updates answer false, queries
// nullopt, 0 or nullptr.
class SQLiteHelper {
  public:
    SQLiteHelper();
    virtual ~SQLiteHelper();
    SQLiteHelper(const SQLiteHelper&) = delete;
    SQLiteHelper& operator=(const SQLiteHelper&) = delete;

    // The connection; nullptr only when SQLite is not thread-safe.
    SqliteConnection* db() const { return db_.get(); }
    int tranCount() const { return tranCount_; }
    bool isOpen() const { return isOpen_; }

    // True only when this very call opened the database; false when it was already open (nothing
    // is done) or could not be opened.
    bool OpenDataBase();
    // Closes the connection and every result set still open on it.
    bool CloseDataBase();

    // A nesting counter over one exclusive SQL transaction. The outermost BeginTran begins the
    // transaction (opening the database if needed); the matching CommitTran commits it and
    // closes the database only if that BeginTran opened it. RollbackTran at any depth rolls the
    // whole transaction back and resets the counter. BeginTran answers false, counting nothing,
    // when no transaction could be begun; CommitTran answers false when the commit failed (the
    // transaction is then rolled back).
    bool BeginTran();
    bool CommitTran();
    bool RollbackTran();
    bool HasTransaction() const { return tranCount_ > 0; }

    // Runs one statement that returns no rows. False when it failed (logged).
    bool ExecuteNonQuery(std::string_view sql, const std::vector<Value>& args);
    template <class... Args>
    requires SqlArguments<Args...>
    bool ExecuteNonQuery(std::string_view sql, const Args&... args) {
        return ExecuteNonQuery(sql, std::vector<Value>{Value(args)...});
    }

    // First column of the first row, typed as stored; nullopt when there is no row. A NULL
    // value is a null Value.
    std::optional<Value> ExecuteScalar(std::string_view sql, const std::vector<Value>& args);
    template <class... Args>
    requires SqlArguments<Args...> std::optional<Value> ExecuteScalar(std::string_view sql,
                                                                      const Args&... args) {
        return ExecuteScalar(sql, std::vector<Value>{Value(args)...});
    }

    // The first value as text; nullopt for no row or NULL.
    std::optional<std::string> ExecuteScalarString(std::string_view sql,
                                                   const std::vector<Value>& args);
    template <class... Args>
    requires SqlArguments<Args...> std::optional<std::string> ExecuteScalarString(
        std::string_view sql, const Args&... args) {
        return ExecuteScalarString(sql, std::vector<Value>{Value(args)...});
    }

    // The first value as a 32-bit integer (text reads as its leading integer); 0 for no row or
    // NULL.
    int ExecuteScalarInt(std::string_view sql, const std::vector<Value>& args);
    template <class... Args>
    requires SqlArguments<Args...>
    int ExecuteScalarInt(std::string_view sql, const Args&... args) {
        return ExecuteScalarInt(sql, std::vector<Value>{Value(args)...});
    }

    // The first value as a float; 0 for no row or NULL.
    float ExecuteScalarFloat(std::string_view sql, const std::vector<Value>& args);
    template <class... Args>
    requires SqlArguments<Args...>
    float ExecuteScalarFloat(std::string_view sql, const Args&... args) {
        return ExecuteScalarFloat(sql, std::vector<Value>{Value(args)...});
    }

    // The first value's bytes; nullopt for no row or NULL (a zero-length blob gives empty bytes).
    std::optional<Bytes> ExecuteScalarByte(std::string_view sql, const std::vector<Value>& args);
    template <class... Args>
    requires SqlArguments<Args...> std::optional<Bytes> ExecuteScalarByte(std::string_view sql,
                                                                          const Args&... args) {
        return ExecuteScalarByte(sql, std::vector<Value>{Value(args)...});
    }

    // The first value read as a date "yyyy-MM-dd HH:mm:ss" and given back in exactly that form
    // (two-digit fields); nullopt for no row, NULL or text that is no such date.
    std::optional<std::string> ExecuteScalarDate(std::string_view sql,
                                                 const std::vector<Value>& args);
    template <class... Args>
    requires SqlArguments<Args...> std::optional<std::string> ExecuteScalarDate(
        std::string_view sql, const Args&... args) {
        return ExecuteScalarDate(sql, std::vector<Value>{Value(args)...});
    }

    // Runs a query on the connection as it is, neither opening nor closing it: the caller opens
    // the database first, steps the rows, and closes the database after. nullptr (logged) on
    // failure, also when the database is closed.
    std::unique_ptr<SqliteResultSet> ExecuteDataReader(std::string_view sql,
                                                       const std::vector<Value>& args);
    template <class... Args>
    requires SqlArguments<Args...> std::unique_ptr<SqliteResultSet> ExecuteDataReader(
        std::string_view sql, const Args&... args) {
        return ExecuteDataReader(sql, std::vector<Value>{Value(args)...});
    }

    // SQL literals for statements assembled as text.
    static std::string GetBooleanValueInSql(bool value);  // "1" or "0"
    // A date as a quoted literal "'yyyy-MM-dd HH:mm:ss'"; "null" for nullopt or a text that is
    // no such date (the ISO "T" and "/" forms are accepted, as BaseEntity::toDate reads them).
    static std::string GetDateInSql(const std::optional<std::string>& date);
    // The text as a quoted SQL literal (embedded quotes doubled); "null" for empty text.
    static std::string GetDateStringInSql(const std::optional<std::string>& text);
    // The SQL expression for the current local time.
    static std::string ServerTimeFunctionName();
    // The current local time "yyyy-MM-dd HH:mm:ss" as the database sees it.
    std::string GetDateNow();

    // "pragma table_info" of the table, on the connection as it is (like ExecuteDataReader).
    std::unique_ptr<SqliteResultSet> getTableSchema(std::string_view tableName);
    // Whether the table has the column; both names compared ignoring case.
    bool ExistsCol(std::string_view tableName, std::string_view columnName);
    // Whether a table of that name exists, ignoring case.
    bool ExistsTable(std::string_view tableName);

  private:
    // Runs the query under the open/close discipline and reads its first row with read; nullopt
    // when the query failed or gave no row.
    template <class Read>
    auto readFirstRow(std::string_view sql, const std::vector<Value>& args, Read&& read)
        -> std::optional<decltype(read(std::declval<SqliteResultSet&>()))>;

    std::unique_ptr<SqliteConnection> db_;
    int tranCount_ = 0;
    bool isOpen_ = false;
    // Whether the outermost BeginTran began the SQL transaction, and whether it opened the
    // database; CommitTran and RollbackTran undo exactly those.
    bool tranBegan_ = false;
    bool tranOpened_ = false;
};

}  // namespace examora
