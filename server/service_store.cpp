// The reference service's SQLite store: schema, writer and reader connections, catalogue reads.
#include "server/service_store.h"

#include <system_error>

#include "platform/date_time.h"
#include "platform/log.h"
#include "platform/strformat.h"
#include "store/sqlite_connection.h"
#include "store/sqlite_result_set.h"

namespace examora {

namespace {

const char* sqlType(ColumnKind kind) {
    switch (kind) {
        case ColumnKind::Integer:
            return "integer";
        case ColumnKind::Bytes:
            return "blob";
        default:
            return "text";
    }
}

std::string createTableSql(const CatalogueTable& t) {
    std::string sql = "create table if not exists " + t.name + " (";
    for (const CatalogueColumn& c : t.columns) {
        sql += c.name + " " + sqlType(c.kind) + ", ";
    }
    sql += "primary key (";
    for (std::size_t i = 0; i < t.keyCount; ++i) {
        if (i) sql += ", ";
        sql += t.columns[i].name;
    }
    sql += "))";
    return sql;
}

std::string keyCondition(const CatalogueTable& t) {
    std::string sql;
    for (std::size_t i = 0; i < t.keyCount; ++i) {
        if (i) sql += " and ";
        sql += t.columns[i].name + "=?";
    }
    return sql;
}

std::string keyOrder(const CatalogueTable& t) {
    std::string sql;
    for (std::size_t i = 0; i < t.keyCount; ++i) {
        if (i) sql += ", ";
        sql += t.columns[i].name;
    }
    return sql;
}

std::string oneSecondAfter(const std::string& date) {
    std::optional<DateTime> parsed = DateTime::parse(date);
    if (!parsed) return std::string();
    return DateTime::fromEpochLocal(parsed->toEpochLocal() + 1).format();
}

}  // namespace

ServiceStore::ServiceStore(std::filesystem::path dataDir) : dataDir_(std::move(dataDir)) {
    if (dataDir_.empty()) {
        logf("service store: no data folder given");
        return;
    }
    std::error_code ec;
    std::filesystem::create_directories(dataDir_, ec);
    auto writer = SqliteConnection::databaseWithPath(databasePath().string());
    if (!writer || !writer->open()) {
        logf("service store: cannot open %@", databasePath().string());
        return;
    }
    writer_ = std::move(writer);
    if (!createSchema()) {
        logf("service store: cannot create the schema in %@", databasePath().string());
        writer_.reset();
    }
}

ServiceStore::~ServiceStore() = default;

bool ServiceStore::createSchema() {
    return write([](SqliteConnection& db) {
        bool ok = db.executeUpdate(
            "create table if not exists baseitem (id integer primary key, citemname text not "
            "null unique, dupdatedate text, ddeletedate text)");
        for (const CatalogueTable& t : CatalogueTable::all()) {
            ok = ok && db.executeUpdate(createTableSql(t));
            if (t.itemId > 0) {
                ok = ok && db.executeUpdate(
                               "insert or ignore into baseitem (id, citemname) values (?, ?)",
                               {t.itemId, t.name});
            }
        }
        return ok;
    });
}

void ServiceStore::setClock(std::function<std::string()> nowText) {
    std::lock_guard<std::mutex> lock(clockMutex_);
    clock_ = std::move(nowText);
}

std::string ServiceStore::now() const {
    std::function<std::string()> clock;
    {
        std::lock_guard<std::mutex> lock(clockMutex_);
        clock = clock_;
    }
    if (clock) {
        if (std::optional<DateTime> parsed = DateTime::parse(clock())) return parsed->format();
    }
    return nowLocalText();
}

bool ServiceStore::write(const std::function<bool(SqliteConnection&)>& work) {
    if (!writer_) return false;
    std::lock_guard<std::mutex> lock(writerMutex_);
    if (!writer_->executeUpdate("begin immediate transaction")) return false;
    bool done = false;
    try {
        done = work(*writer_);
    } catch (...) {
        writer_->executeUpdate("rollback transaction");
        throw;
    }
    if (done && writer_->executeUpdate("commit transaction")) return true;
    if (writer_->inTransaction()) writer_->executeUpdate("rollback transaction");
    return false;
}

std::unique_ptr<SqliteConnection> ServiceStore::takeReader() const {
    {
        std::lock_guard<std::mutex> lock(readersMutex_);
        if (!readers_.empty()) {
            std::unique_ptr<SqliteConnection> reader = std::move(readers_.back());
            readers_.pop_back();
            return reader;
        }
    }
    auto reader = SqliteConnection::databaseWithPath(databasePath().string());
    if (!reader || !reader->open()) return nullptr;
    return reader;
}

void ServiceStore::returnReader(std::unique_ptr<SqliteConnection> reader) const {
    std::lock_guard<std::mutex> lock(readersMutex_);
    readers_.push_back(std::move(reader));
}

bool ServiceStore::read(const std::function<void(SqliteConnection&)>& work) const {
    if (!writer_) return false;
    std::unique_ptr<SqliteConnection> reader = takeReader();
    if (!reader) return false;
    // A reader goes back to the pool only when it holds no transaction, so a failed piece of
    // work can never leave an old snapshot for the next caller.
    struct Return {
        const ServiceStore* store;
        std::unique_ptr<SqliteConnection>& reader;
        ~Return() {
            if (!reader->inTransaction()) store->returnReader(std::move(reader));
        }
    } giveBack{this, reader};
    work(*reader);
    return true;
}

DictList ServiceStore::rows(SqliteConnection& db, std::string_view sql,
                            const std::vector<Value>& args) {
    DictList out;
    std::unique_ptr<SqliteResultSet> rs = db.executeQuery(sql, args);
    if (!rs) return out;
    while (rs->next())
        out.push_back(rs->resultDictionary());
    return out;
}

std::string ServiceStore::publishItemChange(SqliteConnection& db, int itemId, bool deletion) {
    DictList current = rows(db, "select dupdatedate from baseitem where id=?", {itemId});
    if (current.empty()) return std::string();
    std::string stamp = now();
    const Value& last = current[0].get("dupdatedate");
    if (last.isText() && *last.textPtr() >= stamp) {
        std::string next = oneSecondAfter(*last.textPtr());
        if (!next.empty()) stamp = next;
    }
    const bool ok =
        deletion
            ? db.executeUpdate("update baseitem set dupdatedate=?, ddeletedate=? where id=?",
                               {stamp, stamp, itemId})
            : db.executeUpdate("update baseitem set dupdatedate=? where id=?", {stamp, itemId});
    return ok ? stamp : std::string();
}

DictList ServiceStore::baseItemChangeList() const {
    DictList out;
    read([&](SqliteConnection& db) {
        out = rows(db, "select id, citemname, dupdatedate, ddeletedate from baseitem order by id");
    });
    return out;
}

std::optional<DictList> ServiceStore::baseItemRowsSince(
    std::string_view itemName, const std::string& since,
    const std::optional<std::string>& versionCode) const {
    const CatalogueTable* table = CatalogueTable::find(itemName);
    if (!table || table->itemId <= 0) return std::nullopt;
    std::string sql =
        "select * from " + table->name + " where (?='' or " + table->changeColumn + ">?)";
    std::vector<Value> args{since, since};
    if (versionCode && table->column("cversioncode")) {
        sql += " and (cversioncode is null or cversioncode='' or cversioncode=?)";
        args.emplace_back(*versionCode);
    }
    sql += " order by " + keyOrder(*table);
    DictList out;
    if (!read([&](SqliteConnection& db) { out = rows(db, sql, args); })) return std::nullopt;
    return out;
}

std::optional<Dict> ServiceStore::catalogueRow(const CatalogueTable& table,
                                               const std::vector<Value>& key) const {
    if (key.size() != table.keyCount) return std::nullopt;
    DictList found;
    read([&](SqliteConnection& db) {
        found = rows(db, "select * from " + table.name + " where " + keyCondition(table), key);
    });
    if (found.empty()) return std::nullopt;
    return found[0];
}

}  // namespace examora
