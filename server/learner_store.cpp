// LearnerStore: the reference service's copy of each learner's answers, papers, notes, reports
// and practice logs.
#include "server/learner_store.h"

#include <stdexcept>

#include "server/service_store.h"
#include "store/sqlite_connection.h"

namespace examora {

namespace {

constexpr const char* kSchema[] = {
    "create table if not exists learner_answer (icusid integer not null, isubjectid integer not "
    "null, icourseid integer, bremember integer, bcollect integer, drememberdate text, iwrong "
    "integer, cmyanswer text, bcorrect integer, imyscore real, danswerdate text, cmachineid "
    "text, dserverdate text, primary key (icusid, isubjectid))",
    "create table if not exists learner_paper (iserverpaperid integer primary key "
    "autoincrement, icusid integer not null, cmachineid text, ipaperid integer, icourseid "
    "integer, cpapername text, itotaltime integer, itotalscore real, iscore real, iexam "
    "integer, ifromchapter integer, isubjectcount integer, itype0count integer, itype1count "
    "integer, itype2count integer, itype3count integer, itype4count integer, itype5count "
    "integer, dcreatedate text, dexamtime text, iusetime integer, dserverdate text)",
    "create index if not exists idx_learner_paper_machine on learner_paper (icusid, cmachineid, "
    "ipaperid)",
    "create table if not exists learner_paper_detail (iserverpaperid integer not null, iindex "
    "integer, isubjectid integer, cmyanswer text, bcorrect integer, iscore real, imyscore real)",
    "create index if not exists idx_learner_paper_detail on learner_paper_detail "
    "(iserverpaperid)",
    "create table if not exists learner_note (cuserid text not null, isubjectid integer not "
    "null, inoteid integer not null, cnotetext text, dchangedate text, dserverdate text, "
    "primary key (cuserid, isubjectid, inoteid))",
    "create table if not exists learner_error (cuserid text not null, isubjectid integer not "
    "null, ierrorid integer, ierrortype integer, cerrortext text, dchangedate text, dserverdate "
    "text, primary key (cuserid, isubjectid))",
    "create table if not exists learner_log (cuserid text, ccuscode text, icourseid integer, "
    "cchaptername text, iusetime integer, imyscore real, itotalscore real, itestcount integer, "
    "dprescore real, dtime text, dserverdate text, unique (cuserid, icourseid, cchaptername, "
    "dtime))",
};

constexpr const char* kPaperColumns[] = {
    "icourseid",    "cpapername",    "itotaltime",  "itotalscore", "iscore",      "iexam",
    "ifromchapter", "isubjectcount", "itype0count", "itype1count", "itype2count", "itype3count",
    "itype4count",  "itype5count",   "dcreatedate", "dexamtime",   "iusetime"};

// The row's number under `name`, which must be a whole number of 1 or more.
long long requiredId(const Dict& row, const char* name) {
    const Value& v = row.get(name);
    const long long id = v.isInteger() || v.isText() ? v.asInt64() : 0;
    if (id < 1) throw std::invalid_argument(std::string("a row without ") + name);
    return id;
}

}  // namespace

LearnerStore::LearnerStore(ServiceStore& store) : store_(store) {
    ready_ = store_.write([](SqliteConnection& db) {
        for (const char* sql : kSchema) {
            if (!db.executeUpdate(sql)) return false;
        }
        return true;
    });
}

DictList LearnerStore::query(const std::string& sql, const std::vector<Value>& args) const {
    DictList out;
    store_.read([&](SqliteConnection& db) { out = ServiceStore::rows(db, sql, args); });
    return out;
}

bool LearnerStore::saveAnswers(long long cusId, const std::string& machineId,
                               const DictList& rows) {
    for (const Dict& row : rows)
        requiredId(row, "isubjectid");
    const std::string now = store_.now();
    return store_.write([&](SqliteConnection& db) {
        for (const Dict& a : rows) {
            if (!db.executeUpdate(
                    "insert or replace into learner_answer (icusid, isubjectid, icourseid, "
                    "bremember, bcollect, drememberdate, iwrong, cmyanswer, bcorrect, imyscore, "
                    "danswerdate, cmachineid, dserverdate) values (?,?,?,?,?,?,?,?,?,?,?,?,?)",
                    {cusId, requiredId(a, "isubjectid"), a.get("icourseid"), a.get("bremember"),
                     a.get("bcollect"), a.get("drememberdate"), a.get("iwrong"), a.get("cmyanswer"),
                     a.get("bcorrect"), a.get("imyscore"), a.get("danswerdate"), machineId, now}))
                return false;
        }
        return true;
    });
}

bool LearnerStore::clearAnswers(long long cusId) {
    return store_.write([&](SqliteConnection& db) {
        return db.executeUpdate("delete from learner_answer where icusid=?", {cusId});
    });
}

DictList LearnerStore::answers(long long cusId, const std::string& since) const {
    return query(
        "select isubjectid, icourseid, bremember, bcollect, drememberdate, iwrong, cmyanswer, "
        "bcorrect, imyscore, danswerdate from learner_answer where icusid=? and (?='' or "
        "dserverdate>=?) order by isubjectid",
        {cusId, since, since});
}

long long LearnerStore::savePaper(long long cusId, const std::string& machineId,
                                  long long serverPaperId, const Dict& paper,
                                  const DictList& details) {
    const long long localId = requiredId(paper, "ipaperid");
    const std::string now = store_.now();
    long long id = 0;
    const bool ok = store_.write([&](SqliteConnection& db) {
        id = 0;
        if (serverPaperId >= 1) {
            DictList own = ServiceStore::rows(
                db, "select iserverpaperid from learner_paper where iserverpaperid=? and icusid=?",
                {serverPaperId, cusId});
            if (!own.empty()) id = own[0].get("iserverpaperid").asInt64();
        }
        if (id < 1) {
            DictList same = ServiceStore::rows(
                db,
                "select iserverpaperid from learner_paper where icusid=? and cmachineid=? and "
                "ipaperid=? order by iserverpaperid limit 1",
                {cusId, machineId, localId});
            if (!same.empty()) id = same[0].get("iserverpaperid").asInt64();
        }
        std::vector<Value> values;
        for (const char* column : kPaperColumns)
            values.push_back(paper.get(column));
        values.emplace_back(now);
        if (id >= 1) {
            values.emplace_back(id);
            if (!db.executeUpdate(
                    "update learner_paper set icourseid=?, cpapername=?, itotaltime=?, "
                    "itotalscore=?, iscore=?, iexam=?, ifromchapter=?, isubjectcount=?, "
                    "itype0count=?, itype1count=?, itype2count=?, itype3count=?, itype4count=?, "
                    "itype5count=?, dcreatedate=?, dexamtime=?, iusetime=?, dserverdate=? where "
                    "iserverpaperid=?",
                    values) ||
                !db.executeUpdate("delete from learner_paper_detail where iserverpaperid=?", {id}))
                return false;
        } else {
            values.insert(values.begin(), {Value(cusId), Value(machineId), Value(localId)});
            if (!db.executeUpdate(
                    "insert into learner_paper (icusid, cmachineid, ipaperid, icourseid, "
                    "cpapername, itotaltime, itotalscore, iscore, iexam, ifromchapter, "
                    "isubjectcount, itype0count, itype1count, itype2count, itype3count, "
                    "itype4count, itype5count, dcreatedate, dexamtime, iusetime, dserverdate) "
                    "values (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)",
                    values))
                return false;
            id = db.lastInsertRowId();
        }
        for (const Dict& d : details) {
            if (!db.executeUpdate(
                    "insert into learner_paper_detail (iserverpaperid, iindex, isubjectid, "
                    "cmyanswer, bcorrect, iscore, imyscore) values (?,?,?,?,?,?,?)",
                    {id, d.get("iindex"), d.get("isubjectid"), d.get("cmyanswer"),
                     d.get("bcorrect"), d.get("iscore"), d.get("imyscore")}))
                return false;
        }
        return true;
    });
    return ok ? id : 0;
}

bool LearnerStore::clearPapers(long long cusId) {
    return store_.write([&](SqliteConnection& db) {
        return db.executeUpdate(
                   "delete from learner_paper_detail where iserverpaperid in "
                   "(select iserverpaperid from learner_paper where icusid=?)",
                   {cusId}) &&
               db.executeUpdate("delete from learner_paper where icusid=?", {cusId});
    });
}

DictList LearnerStore::papers(long long cusId, const std::string& since) const {
    return query(
        "select iserverpaperid, ipaperid, cmachineid, icourseid, cpapername, itotaltime, "
        "itotalscore, iscore, iexam, ifromchapter, isubjectcount, itype0count, itype1count, "
        "itype2count, itype3count, itype4count, itype5count, dcreatedate, dexamtime, iusetime "
        "from learner_paper where icusid=? and (?='' or dserverdate>=?) order by iserverpaperid",
        {cusId, since, since});
}

DictList LearnerStore::paperDetails(long long serverPaperId) const {
    return query(
        "select iindex, isubjectid, cmyanswer, bcorrect, iscore, imyscore from "
        "learner_paper_detail where iserverpaperid=? order by iindex, rowid",
        {serverPaperId});
}

bool LearnerStore::saveNote(const std::string& user, long long noteId, long long subjectId,
                            const std::optional<std::string>& text,
                            const std::optional<std::string>& changeDate) {
    const std::string now = store_.now();
    return store_.write([&](SqliteConnection& db) {
        return db.executeUpdate(
            "insert or replace into learner_note (cuserid, isubjectid, inoteid, cnotetext, "
            "dchangedate, dserverdate) values (?,?,?,?,?,?)",
            {user, subjectId, noteId, Value(text), Value(changeDate), now});
    });
}

DictList LearnerStore::notes(const std::string& user) const {
    return query(
        "select isubjectid, cnotetext, dchangedate, 1 as istatus from learner_note where "
        "cuserid=? order by dserverdate, isubjectid, inoteid",
        {user});
}

bool LearnerStore::hasNote(const std::string& user, long long noteId) const {
    return !query("select 1 from learner_note where cuserid=? and inoteid=?", {user, noteId})
                .empty();
}

bool LearnerStore::saveReport(const std::string& user, long long reportId, long long subjectId,
                              long long errorType, const std::optional<std::string>& text,
                              const std::optional<std::string>& changeDate) {
    const std::string now = store_.now();
    return store_.write([&](SqliteConnection& db) {
        return db.executeUpdate(
            "insert or replace into learner_error (cuserid, isubjectid, ierrorid, ierrortype, "
            "cerrortext, dchangedate, dserverdate) values (?,?,?,?,?,?,?)",
            {user, subjectId, reportId, errorType, Value(text), Value(changeDate), now});
    });
}

bool LearnerStore::hasReport(const std::string& user, long long reportId) const {
    return !query("select 1 from learner_error where cuserid=? and ierrorid=?", {user, reportId})
                .empty();
}

DictList LearnerStore::reports(const std::string& user) const {
    return query(
        "select isubjectid, ierrorid, ierrortype, cerrortext, dchangedate from learner_error "
        "where cuserid=? order by isubjectid",
        {user});
}

bool LearnerStore::saveLog(const Dict& log) {
    const std::string now = store_.now();
    return store_.write([&](SqliteConnection& db) {
        return db.executeUpdate(
            "insert or replace into learner_log (cuserid, ccuscode, icourseid, cchaptername, "
            "iusetime, imyscore, itotalscore, itestcount, dprescore, dtime, dserverdate) values "
            "(?,?,?,?,?,?,?,?,?,?,?)",
            {log.get("cuserid"), log.get("ccuscode"), log.get("icourseid"), log.get("cchaptername"),
             log.get("iusetime"), log.get("imyscore"), log.get("itotalscore"),
             log.get("itestcount"), log.get("dprescore"), log.get("dtime"), now});
    });
}

}  // namespace examora
