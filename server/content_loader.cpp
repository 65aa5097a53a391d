// Loading and editing the reference service's catalogue with the change dates a service publishes.
#include "server/content_loader.h"

#include <nlohmann/json.hpp>

#include <charconv>
#include <fstream>
#include <map>
#include <sstream>
#include <vector>

#include "lib/course_content_generator.h"
#include "lib/course_generator.h"
#include "platform/base64.h"
#include "platform/date_time.h"
#include "platform/paths.h"
#include "platform/text_util.h"
#include "server/catalogue_table.h"
#include "server/course_content_loader.h"
#include "server/service_store.h"
#include "service/exam_web_service_util.h"
#include "store/sqlite_connection.h"

namespace examora {

namespace {

const CatalogueTable& tableNamed(const std::string& name) {
    const CatalogueTable* table = CatalogueTable::find(name);
    if (!table) throw ContentLoadError("unknown catalogue table: " + name);
    return *table;
}

[[noreturn]] void badValue(const CatalogueTable& t, const CatalogueColumn& c, const char* what,
                           const Value& v) {
    throw ContentLoadError(t.name + "." + c.name + ": " + what + ": " + v.description());
}

Value integerValue(const CatalogueTable& t, const CatalogueColumn& c, const Value& v) {
    if (v.isInteger()) return v;
    if (v.isDouble()) {
        const double d = v.asDouble();
        if (d == static_cast<double>(static_cast<std::int64_t>(d))) {
            return Value(static_cast<std::int64_t>(d));
        }
        badValue(t, c, "not a whole number", v);
    }
    if (v.isText()) {
        const std::string text = trim(*v.textPtr());
        if (text.empty()) return Value();
        std::int64_t n = 0;
        auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
        if (ec == std::errc() && end == text.data() + text.size()) return Value(n);
    }
    badValue(t, c, "not a whole number", v);
}

Value dateValue(const CatalogueTable& t, const CatalogueColumn& c, const Value& v) {
    if (!v.isText()) badValue(t, c, "not a date text", v);
    std::string text = trim(*v.textPtr());
    if (text.empty()) return Value();
    if (text.size() == 10) text += " 00:00:00";
    if (text.size() > 10 && text[10] == 'T') text[10] = ' ';
    std::optional<DateTime> parsed = DateTime::parse(text);
    if (!parsed) badValue(t, c, "not a date \"yyyy-MM-dd HH:mm:ss\"", v);
    return Value(parsed->format());
}

// A value as the column stores it; a null Value for null and for an empty number or date.
Value columnValue(const CatalogueTable& t, const CatalogueColumn& c, const Value& v) {
    if (v.isNull()) return Value();
    switch (c.kind) {
        case ColumnKind::Integer:
            return integerValue(t, c, v);
        case ColumnKind::Text:
            if (v.isText()) return v;
            if (v.isNumber()) return Value(v.asString());
            badValue(t, c, "not a text", v);
        case ColumnKind::Date:
            return dateValue(t, c, v);
        case ColumnKind::Bytes:
            if (v.isBlob()) return v;
            if (v.isText()) {
                if (std::optional<Bytes> bytes = base64Decode(*v.textPtr())) return Value(*bytes);
            }
            badValue(t, c, "not Base64 text", v);
    }
    return Value();
}

bool isChangeDateKey(const CatalogueTable& t, const std::string& key) {
    return key == t.changeColumn || key == "dchangedate" || key == "dchangdate";
}

// The row as stored values, in column order, without the change date. Throws on a missing key,
// an unknown column or a value of the wrong kind.
Dict storedRow(const CatalogueTable& t, const Dict& row) {
    for (const auto& [key, value] : row) {
        if (!t.column(key) && !isChangeDateKey(t, key)) {
            throw ContentLoadError(t.name + ": unknown column \"" + key + "\"");
        }
    }
    Dict out;
    for (const CatalogueColumn& c : t.columns) {
        if (c.name == t.changeColumn) continue;
        const Value* given = row.find(c.name);
        if (!given) {
            if (t.isKey(c)) throw ContentLoadError(t.name + ": a row without its key " + c.name);
            continue;
        }
        Value v = columnValue(t, c, *given);
        if (t.isKey(c) && (v.isNull() || (v.isText() && v.textPtr()->empty()))) {
            throw ContentLoadError(t.name + ": a row without its key " + c.name);
        }
        out.set(c.name, std::move(v));
    }
    return out;
}

std::vector<Value> keyValues(const CatalogueTable& t, const Dict& stored) {
    std::vector<Value> key;
    for (const CatalogueColumn& c : t.keys())
        key.push_back(stored.get(c.name));
    return key;
}

std::string keyCondition(const CatalogueTable& t) {
    std::string sql;
    for (const CatalogueColumn& c : t.keys()) {
        if (!sql.empty()) sql += " and ";
        sql += c.name + "=?";
    }
    return sql;
}

void run(SqliteConnection& db, const std::string& sql, const std::vector<Value>& args,
         const CatalogueTable& t) {
    if (!db.executeUpdate(sql, args)) throw ContentLoadError(t.name + ": cannot write the row");
}

// The writes of one load, inside one transaction of the store.
class CatalogueWriter {
  public:
    CatalogueWriter(ServiceStore& store, SqliteConnection& db) : store_(store), db_(db) {}

    // Adds or changes one stored row; true when it changed anything.
    bool upsert(const CatalogueTable& t, const Dict& row) {
        const std::vector<Value> key = keyValues(t, row);
        DictList existing =
            ServiceStore::rows(db_, "select * from " + t.name + " where " + keyCondition(t), key);
        std::vector<std::string> columns;
        std::vector<Value> args;
        for (const auto& [name, value] : row) {
            const CatalogueColumn* c = t.column(name);
            if (t.isKey(*c)) continue;
            if (!existing.empty() && existing[0].get(name) == value) continue;
            columns.push_back(name);
            args.push_back(value);
        }
        if (!existing.empty() && columns.empty()) return false;

        const std::string stamp = stampFor(t);
        if (existing.empty()) {
            std::string names, marks;
            for (const auto& [name, value] : row) {
                names += name + ", ";
                marks += "?, ";
            }
            std::vector<Value> all;
            for (const auto& [name, value] : row)
                all.push_back(value);
            all.push_back(stamp);
            run(db_,
                "insert into " + t.name + " (" + names + t.changeColumn + ") values (" + marks +
                    "?)",
                all, t);
        } else {
            std::string sets;
            for (const std::string& name : columns)
                sets += name + "=?, ";
            args.push_back(stamp);
            args.insert(args.end(), key.begin(), key.end());
            run(db_,
                "update " + t.name + " set " + sets + t.changeColumn + "=? where " +
                    keyCondition(t),
                args, t);
        }
        if (t.itemId == 0) touchPictureOwner(row);
        return true;
    }

    // Deletes one stored row by its key; true when there was one.
    bool remove(const CatalogueTable& t, const Dict& keyRow) {
        const std::vector<Value> key = keyValues(t, keyRow);
        run(db_, "delete from " + t.name + " where " + keyCondition(t), key, t);
        if (db_.changes() == 0) return false;
        if (t.itemId > 0) {
            if (publish(t.itemId, true).empty()) throw ContentLoadError(t.name + ": no date");
            // A deleted row takes its picture with it.
            if (t.keyCount == 1) {
                run(db_, "delete from sys_tableimage where ctblname=? and csourceid=?",
                    {t.name, key[0].asString()}, t);
            }
        } else {
            touchPictureOwner(keyRow);
        }
        return true;
    }

  private:
    // The change date of this load for the table: one per base item and load.
    std::string stampFor(const CatalogueTable& t) {
        if (t.itemId == 0) return store_.now();
        return publish(t.itemId, false);
    }

    std::string publish(int itemId, bool deletion) {
        std::string& stamp = stamps_[itemId];
        if (stamp.empty() || deletion) stamp = store_.publishItemChange(db_, itemId, deletion);
        if (stamp.empty()) throw ContentLoadError("cannot publish the change of an item");
        return stamp;
    }

    // A picture belongs to the catalogue row named by its table and source id; that row counts
    // as changed, so clients fetch it, and its picture, again.
    void touchPictureOwner(const Dict& picture) {
        const CatalogueTable* owner = CatalogueTable::find(picture.get("ctblname").asString());
        if (!owner || owner->itemId <= 0 || owner->keyCount != 1) return;
        const std::string stamp = publish(owner->itemId, false);
        run(db_,
            "update " + owner->name + " set " + owner->changeColumn + "=? where " +
                keyCondition(*owner),
            {stamp, picture.get("csourceid")}, *owner);
    }

    ServiceStore& store_;
    SqliteConnection& db_;
    std::map<int, std::string> stamps_;
};

// Runs the writes of one load in one transaction; a failure stores nothing.
template <class Work>
int inOneWrite(ServiceStore& store, Work work) {
    int changed = 0;
    const bool ok = store.write([&](SqliteConnection& db) {
        CatalogueWriter writer(store, db);
        changed = work(writer);
        return true;
    });
    if (!ok) throw ContentLoadError("the service store could not be written");
    return changed;
}

DictList rowsOfFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) throw ContentLoadError(file.string() + ": cannot be read");
    std::stringstream text;
    text << in.rdbuf();
    nlohmann::json json = nlohmann::json::parse(text.str(), nullptr, false);
    if (json.is_discarded() || !json.is_array()) {
        throw ContentLoadError(file.string() + ": not a JSON array of objects");
    }
    DictList rows;
    for (const nlohmann::json& object : json) {
        if (!object.is_object()) {
            throw ContentLoadError(file.string() + ": not a JSON array of objects");
        }
        rows.push_back(ExamWebServiceUtil::jsonToDict(object));
    }
    return rows;
}

int upsertAll(ServiceStore& store, const std::vector<std::pair<std::string, DictList>>& tables) {
    // Every value is checked before anything is written.
    std::vector<std::pair<const CatalogueTable*, DictList>> stored;
    for (const auto& [name, rows] : tables) {
        const CatalogueTable& t = tableNamed(name);
        DictList converted;
        for (const Dict& row : rows)
            converted.push_back(storedRow(t, row));
        stored.emplace_back(&t, std::move(converted));
    }
    return inOneWrite(store, [&](CatalogueWriter& writer) {
        int changed = 0;
        for (const auto& [table, rows] : stored) {
            for (const Dict& row : rows)
                changed += writer.upsert(*table, row) ? 1 : 0;
        }
        return changed;
    });
}

}  // namespace

std::filesystem::path ContentLoader::demoFolder() {
    return std::filesystem::path(Paths::resourceDirectory()) / "demo";
}

int ContentLoader::loadFolder(const std::filesystem::path& folder) {
    if (!std::filesystem::is_directory(folder)) {
        throw ContentLoadError(folder.string() + ": not a folder");
    }
    std::vector<std::pair<std::string, DictList>> tables;
    for (const CatalogueTable& t : CatalogueTable::all()) {
        const std::filesystem::path file = folder / (t.name + ".json");
        if (std::filesystem::exists(file)) tables.emplace_back(t.name, rowsOfFile(file));
    }
    const int changed = upsertAll(store_, tables);
    // The folder's course content, if it has any, in a load of its own.
    return changed + CourseContentLoader(store_).loadFolder(folder);
}

int ContentLoader::loadGenerated(char size) {
    if (CourseGenerator::courseIdForSize(size) == 0) {
        throw ContentLoadError(std::string("no generated course of size ") + size);
    }
    const int changed = upsertAll(store_, CourseGenerator::catalogue(size));
    return changed + CourseContentLoader(store_).load(CourseContentGenerator::content(size));
}

bool ContentLoader::upsertRow(const std::string& table, const Dict& row) {
    return upsertAll(store_, {{table, {row}}}) > 0;
}

int ContentLoader::upsertRows(const std::vector<std::pair<std::string, DictList>>& tables) {
    return upsertAll(store_, tables);
}

bool ContentLoader::deleteRow(const std::string& table, const Dict& key) {
    const CatalogueTable& t = tableNamed(table);
    Dict keyRow;
    for (const CatalogueColumn& c : t.keys()) {
        const Value* given = key.find(c.name);
        Value v = given ? columnValue(t, c, *given) : Value();
        if (v.isNull()) throw ContentLoadError(t.name + ": a key without " + c.name);
        keyRow.set(c.name, std::move(v));
    }
    return inOneWrite(store_, [&](CatalogueWriter& writer) {
               return writer.remove(t, keyRow) ? 1 : 0;
           }) > 0;
}

}  // namespace examora
