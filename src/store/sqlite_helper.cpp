// SQLiteHelper: the base of every data-access class, one connection per instance.

#include "store/sqlite_helper.h"

#include "app/common_setting.h"
#include "platform/date_time.h"
#include "platform/log.h"
#include "platform/strformat.h"
#include "platform/text_util.h"
#include "store/base_entity.h"
#include "store/database_scope.h"

namespace examora {

namespace {

// A text as an SQL string literal body: single quotes doubled.
std::string quoteLiteral(std::string_view text) {
    std::string literal;
    literal.reserve(text.size() + 2);
    literal.push_back('\'');
    for (char c : text) {
        literal.push_back(c);
        if (c == '\'') literal.push_back('\'');
    }
    literal.push_back('\'');
    return literal;
}

}  // namespace

SQLiteHelper::SQLiteHelper() : db_(SqliteConnection::databaseWithPath(CommonSetting::DbPath())) {}

SQLiteHelper::~SQLiteHelper() = default;

bool SQLiteHelper::OpenDataBase() {
    if (isOpen_) return false;
    logf("db open retain count:%lu", SqliteConnection::openConnectionCount());
    isOpen_ = db_ && db_->open();
    return isOpen_;
}

bool SQLiteHelper::CloseDataBase() {
    if (db_ && !db_->close()) return false;
    isOpen_ = false;
    logf("db close retain count:%lu", SqliteConnection::openConnectionCount());
    return true;
}

bool SQLiteHelper::BeginTran() {
    if (tranCount_ < 1) {
        const bool opened = OpenDataBase();
        if (!db_ || !db_->isOpen()) return false;
        // A caller may have opened the database before the outermost BeginTran; the writes that
        // follow still belong to one transaction, so it is begun whenever none is in progress.
        bool began = false;
        if (!db_->inTransaction()) {
            if (!db_->executeUpdate("begin exclusive transaction")) {
                if (opened) CloseDataBase();
                return false;
            }
            began = true;
        }
        tranBegan_ = began;
        tranOpened_ = opened;
    }
    ++tranCount_;
    return true;
}

bool SQLiteHelper::CommitTran() {
    bool ok = true;
    if (tranCount_ == 1 && db_) {
        if (tranBegan_) {
            ok = db_->executeUpdate("commit transaction");
            // A transaction left half-finished would hold the write lock and be committed or
            // lost by whatever runs next; a failed commit is rolled back at once instead.
            if (!ok && db_->inTransaction()) db_->executeUpdate("rollback transaction");
        }
        if (tranOpened_) CloseDataBase();
        tranBegan_ = tranOpened_ = false;
    }
    if (tranCount_ >= 1) --tranCount_;
    return ok;
}

bool SQLiteHelper::RollbackTran() {
    if (tranCount_ >= 1 && db_) {
        if (tranBegan_ && db_->inTransaction()) db_->executeUpdate("rollback transaction");
        if (tranOpened_) CloseDataBase();
        tranBegan_ = tranOpened_ = false;
    }
    tranCount_ = 0;
    return true;
}

template <class Read>
auto SQLiteHelper::readFirstRow(std::string_view sql, const std::vector<Value>& args, Read&& read)
    -> std::optional<decltype(read(std::declval<SqliteResultSet&>()))> {
    DatabaseScope scope(*this);
    std::unique_ptr<SqliteResultSet> rs = ExecuteDataReader(sql, args);
    if (!rs || !rs->next()) return std::nullopt;
    auto value = read(*rs);
    rs->close();
    return value;
}

bool SQLiteHelper::ExecuteNonQuery(std::string_view sql, const std::vector<Value>& args) {
    DatabaseScope scope(*this);
    if (!db_) {
        logf("The FMDatabase %@ is not open.", CommonSetting::DbPath());
        return false;
    }
    return db_->executeUpdate(sql, args);
}

std::optional<Value> SQLiteHelper::ExecuteScalar(std::string_view sql,
                                                 const std::vector<Value>& args) {
    return readFirstRow(sql, args, [](SqliteResultSet& rs) { return rs.objectForColumnIndex(0); });
}

std::optional<std::string> SQLiteHelper::ExecuteScalarString(std::string_view sql,
                                                             const std::vector<Value>& args) {
    return readFirstRow(sql, args, [](SqliteResultSet& rs) { return rs.stringForColumnIndex(0); })
        .value_or(std::nullopt);
}

int SQLiteHelper::ExecuteScalarInt(std::string_view sql, const std::vector<Value>& args) {
    return readFirstRow(sql, args, [](SqliteResultSet& rs) { return rs.intForColumnIndex(0); })
        .value_or(0);
}

float SQLiteHelper::ExecuteScalarFloat(std::string_view sql, const std::vector<Value>& args) {
    return readFirstRow(
               sql, args,
               [](SqliteResultSet& rs) { return static_cast<float>(rs.doubleForColumnIndex(0)); })
        .value_or(0.0f);
}

std::optional<Bytes> SQLiteHelper::ExecuteScalarByte(std::string_view sql,
                                                     const std::vector<Value>& args) {
    return readFirstRow(sql, args, [](SqliteResultSet& rs) { return rs.dataForColumnIndex(0); })
        .value_or(std::nullopt);
}

std::optional<std::string> SQLiteHelper::ExecuteScalarDate(std::string_view sql,
                                                           const std::vector<Value>& args) {
    std::optional<std::string> text = ExecuteScalarString(sql, args);
    if (!text) return std::nullopt;
    std::optional<DateTime> date = DateTime::parse(*text);
    if (!date) return std::nullopt;
    return date->format();
}

std::unique_ptr<SqliteResultSet> SQLiteHelper::ExecuteDataReader(std::string_view sql,
                                                                 const std::vector<Value>& args) {
    if (!db_) {
        logf("The FMDatabase %@ is not open.", CommonSetting::DbPath());
        return nullptr;
    }
    return db_->executeQuery(sql, args);
}

std::string SQLiteHelper::GetBooleanValueInSql(bool value) {
    return value ? "1" : "0";
}

std::string SQLiteHelper::GetDateInSql(const std::optional<std::string>& date) {
    if (!date) return "null";
    // Only a well-formed date reaches the SQL text; anything else could carry SQL with it.
    std::optional<std::string> normalised = BaseEntity::toDate(Value(*date));
    if (!normalised) return "null";
    return strformat("'%@'", *normalised);
}

std::string SQLiteHelper::GetDateStringInSql(const std::optional<std::string>& text) {
    if (isEmpty(text)) return "null";
    return quoteLiteral(*text);
}

std::string SQLiteHelper::ServerTimeFunctionName() {
    return "datetime('now','localtime')";
}

std::string SQLiteHelper::GetDateNow() {
    std::optional<Value> now = ExecuteScalar("select datetime('now','localtime')");
    if (now && now->isText()) return now->asString();
    // The database could not answer; the process clock gives the same local time.
    return nowLocalText();
}

std::unique_ptr<SqliteResultSet> SQLiteHelper::getTableSchema(std::string_view tableName) {
    return ExecuteDataReader(
        strformat("pragma table_info('%@')", replaceAll(tableName, "'", "''")));
}

bool SQLiteHelper::ExistsCol(std::string_view tableName, std::string_view columnName) {
    const std::string table = toLowerAscii(tableName);
    const std::string column = toLowerAscii(columnName);
    DatabaseScope scope(*this);
    std::unique_ptr<SqliteResultSet> rs = getTableSchema(table);
    if (!rs) return false;
    while (rs->next()) {
        std::optional<std::string> name = rs->stringForColumn("name");
        if (name && toLowerAscii(*name) == column) return true;
    }
    return false;
}

bool SQLiteHelper::ExistsTable(std::string_view tableName) {
    return readFirstRow(
               "select [sql] from sqlite_master where [type] = 'table' and lower(name) = ?",
               {Value(toLowerAscii(tableName))}, [](SqliteResultSet&) { return true; })
        .has_value();
}

}  // namespace examora
