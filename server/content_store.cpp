// The reference service's course content: schema, change lists, records by id, pictures, stamps.
#include "server/content_store.h"

#include <array>

#include "platform/date_time.h"
#include "platform/strformat.h"
#include "platform/text_util.h"
#include "server/service_store.h"
#include "service/exam_web_service_util.h"
#include "store/sqlite_connection.h"

namespace examora {

namespace {

using K = ColumnKind;

std::vector<ContentTable> makeTables() {
    return {
        {"coursechapter",
         0,
         {{"ichapterid", K::Integer},
          {"icourseid", K::Integer},
          {"cchaptercode", K::Text},
          {"itype", K::Integer},
          {"cchaptername", K::Text},
          {"bendgrade", K::Integer},
          {"igrade", K::Integer},
          {"icount", K::Integer},
          {"iexamtime", K::Integer},
          {"cdcname", K::Text},
          {"cmemo", K::Text},
          {"bstopflag", K::Integer},
          {"dchangedate", K::Date}}},
        {"courseoutline",
         1,
         {{"ioutlineid", K::Integer},
          {"icourseid", K::Integer},
          {"coutlinecode", K::Text},
          {"itype", K::Integer},
          {"coutlinename", K::Text},
          {"bendgrade", K::Integer},
          {"igrade", K::Integer},
          {"cdcname", K::Text},
          {"curl", K::Text},
          {"ctext", K::Text},
          {"bstopflag", K::Integer},
          {"dchangedate", K::Date}}},
        {"coursesubject",
         2,
         {{"isubjectid", K::Integer},
          {"icourseid", K::Integer},
          {"ichapterid", K::Integer},
          {"isubjecttype", K::Integer},
          {"ichaptertype", K::Integer},
          {"iindex", K::Integer},
          {"iscore", K::Integer},
          {"ctitle", K::Text},
          {"cquestion", K::Text},
          {"canswer", K::Text},
          {"ianswercount", K::Integer},
          {"cdescription", K::Text},
          {"csubjecttype", K::Text},
          {"bpicquestion", K::Integer},
          {"bpicanswer", K::Integer},
          {"bstopflag", K::Integer},
          {"dchangedate", K::Date}}},
    };
}

const char* sqlType(ColumnKind kind) {
    return kind == K::Integer ? "integer" : "text";
}

// Rows bound to no district or to one naming the district; every row for an empty district.
constexpr const char* kDistrictCondition =
    "(?='' or cdcname is null or cdcname='' or instr(cdcname,?)>0)";
// Questions follow their chapter: left out when it is bound to other districts only.
constexpr const char* kSubjectDistrictCondition =
    "(?='' or ichapterid not in (select ichapterid from coursechapter where icourseid=? and "
    "cdcname is not null and cdcname<>'' and instr(cdcname,?)=0))";

std::string oneSecondAfter(const std::string& date) {
    std::optional<DateTime> parsed = DateTime::parse(date);
    if (!parsed) return std::string();
    return DateTime::fromEpochLocal(parsed->toEpochLocal() + 1).format();
}

std::string idListJson(const DictList& rows, const std::string& key) {
    nlohmann::json list = nlohmann::json::array();
    for (const Dict& row : rows)
        list.push_back(nlohmann::json{{key, row.get(key).asInt64()}});
    return list.dump();
}

// Consecutive question ids become one run; the run keeps its first question's fields.
std::string subjectRuns(const DictList& rows) {
    static const char* kKeys[] = {"isubjectid", "imaxid", "ichapterid",  "isubjecttype",
                                  "iindex",     "iscore", "ianswercount"};
    std::vector<std::array<long long, 7>> runs;
    for (const Dict& row : rows) {
        const long long id = row.get("isubjectid").asInt64();
        if (!runs.empty() && runs.back()[1] + 1 == id) {
            runs.back()[1] = id;
            continue;
        }
        runs.push_back({id, id, row.get("ichapterid").asInt64(), row.get("isubjecttype").asInt64(),
                        row.get("iindex").asInt64(), row.get("iscore").asInt64(),
                        row.get("ianswercount").asInt64()});
    }
    if (runs.size() <= ContentStore::kCompactAfter) {
        nlohmann::json list = nlohmann::json::array();
        for (const auto& run : runs) {
            nlohmann::json object = nlohmann::json::object();
            for (std::size_t i = 0; i < run.size(); ++i)
                object[kKeys[i]] = run[i];
            list.push_back(std::move(object));
        }
        return list.dump();
    }
    std::string text;
    for (const auto& run : runs) {
        if (!text.empty()) text += "|";
        text += strformat("%lld,%lld,%lld,%lld,%lld,%lld,%lld", run[0], run[1], run[2], run[3],
                          run[4], run[5], run[6]);
    }
    return text;
}

}  // namespace

const CatalogueColumn* ContentTable::column(std::string_view columnName) const {
    for (const CatalogueColumn& c : columns)
        if (c.name == columnName) return &c;
    return nullptr;
}

ContentStore::ContentStore(ServiceStore& store) : store_(store) {
    ready_ = store_.write([](SqliteConnection& db) {
        bool ok = true;
        for (const ContentTable& t : tables()) {
            std::string sql = "create table if not exists " + t.name + " (";
            for (const CatalogueColumn& c : t.columns) {
                sql += c.name + " " + sqlType(c.kind);
                sql += &c == &t.columns.front() ? " primary key, " : ", ";
            }
            sql.resize(sql.size() - 2);
            sql += ")";
            ok = ok && db.executeUpdate(sql) &&
                 db.executeUpdate("create index if not exists idx_" + t.name + "_change on " +
                                  t.name + " (icourseid, dchangedate)");
        }
        return ok &&
               db.executeUpdate(
                   "create table if not exists subjectpicture (isubjectid integer, cposition "
                   "text, pimage blob, cextname text, dchangedate text, primary key (isubjectid, "
                   "cposition))");
    });
}

const std::vector<ContentTable>& ContentStore::tables() {
    static const std::vector<ContentTable> all = makeTables();
    return all;
}

const ContentTable* ContentStore::table(int itemSet) {
    if (itemSet < 0 || itemSet >= static_cast<int>(tables().size())) return nullptr;
    return &tables()[static_cast<std::size_t>(itemSet)];
}

ContentStore::ChangeList ContentStore::changeList(int itemSet, long long courseId,
                                                  const std::string& district,
                                                  const std::string& since) const {
    const ContentTable* t = table(itemSet);
    ChangeList out{"[]", since};
    if (!t) return out;
    store_.read([&](SqliteConnection& db) {
        // The latest stamp first: rows stamped after it (by a load running meanwhile) are left
        // for the next list, which asks from this date.
        DictList latest = ServiceStore::rows(
            db, "select max(dchangedate) as d from " + t->name + " where icourseid=?", {courseId});
        if (latest.empty() || !latest[0].get("d").isText()) return;
        const std::string until = *latest[0].get("d").textPtr();
        if (until > since) out.date = until;
        std::string sql = itemSet == 2 ? "select isubjectid,ichapterid,isubjecttype,iindex,iscore,"
                                         "ianswercount from coursesubject"
                                       : "select " + t->key() + " from " + t->name;
        sql += " where icourseid=? and dchangedate>? and dchangedate<=? and ";
        std::vector<Value> args{courseId, since, until, district};
        if (itemSet == 2) {
            sql += kSubjectDistrictCondition;
            args.insert(args.end(), {Value(courseId), Value(district)});
        } else {
            sql += kDistrictCondition;
            args.emplace_back(district);
        }
        sql += " order by " + t->key();
        DictList rows = ServiceStore::rows(db, sql, args);
        out.text = itemSet == 2 ? subjectRuns(rows) : idListJson(rows, t->key());
    });
    return out;
}

DictList ContentStore::rowsById(int itemSet, long long courseId,
                                const std::vector<long long>& ids) const {
    const ContentTable* t = table(itemSet);
    DictList out;
    if (!t || ids.empty()) return out;
    std::string marks;
    std::vector<Value> args{courseId};
    for (long long id : ids) {
        marks += marks.empty() ? "?" : ",?";
        args.emplace_back(id);
    }
    std::string columns;
    for (const CatalogueColumn& c : t->columns)
        columns += (columns.empty() ? "" : ",") + c.name;
    store_.read([&](SqliteConnection& db) {
        out = ServiceStore::rows(db,
                                 "select " + columns + " from " + t->name +
                                     " where icourseid=? and " + t->key() + " in (" + marks +
                                     ") order by " + t->key(),
                                 args);
    });
    return out;
}

DictList ContentStore::subjectPictures(long long subjectId) const {
    DictList out;
    store_.read([&](SqliteConnection& db) {
        out = ServiceStore::rows(
            db,
            "select 'coursesubject' || cposition as ctblname, cast(isubjectid as text) as "
            "csourceid, pimage, cextname, dchangedate from subjectpicture where isubjectid=? "
            "order by cposition",
            {subjectId});
    });
    return out;
}

bool ContentStore::hadNewUpdate(long long courseId, const std::string& since) const {
    bool found = false;
    store_.read([&](SqliteConnection& db) {
        for (const ContentTable& t : tables()) {
            if (!ServiceStore::rows(db,
                                    "select 1 from " + t.name +
                                        " where icourseid=? and (?='' or dchangedate>?) limit 1",
                                    {courseId, since, since})
                     .empty()) {
                found = true;
                return;
            }
        }
    });
    return found;
}

std::string ContentStore::stampChange(SqliteConnection& db, int itemSet, long long courseId) const {
    const ContentTable* t = table(itemSet);
    std::string stamp = store_.now();
    if (!t) return stamp;
    DictList latest = ServiceStore::rows(
        db, "select max(dchangedate) as d from " + t->name + " where icourseid=?", {courseId});
    if (!latest.empty() && latest[0].get("d").isText() && *latest[0].get("d").textPtr() >= stamp) {
        std::string next = oneSecondAfter(*latest[0].get("d").textPtr());
        if (!next.empty()) stamp = next;
    }
    return stamp;
}

}  // namespace examora
