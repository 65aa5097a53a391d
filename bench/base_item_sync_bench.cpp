// The base-item download end to end over loopback against the reference service, split into
// service calls with parsing and database writes, beside the same rows written with raw statements.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>

#include "app/common_setting.h"
#include "bench_service.h"
#include "platform/base64.h"
#include "platform/file_util.h"
#include "platform/log.h"
#include "platform/paths.h"
#include "server/content_loader.h"
#include "server/reference_service.h"
#include "service/asi_service_args.h"
#include "sync/base_item_rule.h"
#include "sync/client_data_exchange.h"

namespace {

using namespace examora;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kClasses = 200, kCourses = 2000, kDistricts = 300, kMessages = 50;
const char* const kItems[] = {"courseclass", "course", "district", "sys_message"};

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void writeJson(const fs::path& file, const nlohmann::json& rows) {
    std::ofstream(file) << rows.dump();
}

// The catalogue: classes each with a 2 KB picture, courses, districts and messages.
fs::path writeCatalogue(const fs::path& dir) {
    fs::create_directories(dir);
    nlohmann::json classes = nlohmann::json::array(), pictures = nlohmann::json::array(),
                   courses = nlohmann::json::array(), districts = nlohmann::json::array(),
                   messages = nlohmann::json::array();
    const std::string picture = base64Encode(std::string(2048, '\x5a'));
    for (int i = 1; i <= kClasses; ++i) {
        classes.push_back({{"iclassid", i},
                           {"ccoursecname", "考试类别 " + std::to_string(i)},
                           {"csubjecttypes", "0,1,2,3"},
                           {"iindex", i},
                           {"bstopflag", 0}});
        pictures.push_back({{"ctblname", "courseclass"},
                            {"csourceid", std::to_string(i)},
                            {"pimage", picture},
                            {"cextname", "png"}});
    }
    for (int i = 1; i <= kCourses; ++i) {
        courses.push_back({{"icourseid", i},
                           {"iclassid", 1 + i % kClasses},
                           {"isubclassid", 0},
                           {"ccoursename", "课程 " + std::to_string(i)},
                           {"iindex", i},
                           {"bstopflag", 0},
                           {"bdistrict", i % 2},
                           {"dcreatedate", "2025-01-01 00:00:00"},
                           {"cexamdate", "2027-05-20"},
                           {"ctypscount", "0:40,1:20,2:20"}});
    }
    for (int i = 1; i <= kDistricts; ++i) {
        districts.push_back({{"cdccode", std::to_string(100000 + i)},
                             {"cdcname", "地区 " + std::to_string(i)},
                             {"bendgrade", 1},
                             {"igrade", 2},
                             {"cmemo", "m"}});
    }
    for (int i = 1; i <= kMessages; ++i) {
        messages.push_back({{"cmsgid", std::to_string(i)},
                            {"cmsgtitle", "通知"},
                            {"cmsgurl", "http://example.invalid/" + std::to_string(i)},
                            {"itype", "1"},
                            {"iindex", i},
                            {"icourseid", 0},
                            {"bstopflag", 0}});
    }
    writeJson(dir / "courseclass.json", classes);
    writeJson(dir / "sys_tableimage.json", pictures);
    writeJson(dir / "course.json", courses);
    writeJson(dir / "district.json", districts);
    writeJson(dir / "sys_message.json", messages);
    return dir;
}

// One reference service for the whole program, and a fresh client database per run.
struct Setup {
    BenchService bench{
        "sync", [](ReferenceService& service, const fs::path& root) {
            ContentLoader(service.store()).loadFolder(writeCatalogue(root / "catalogue"));
        }};

    void freshDatabase() { bench.freshClient(); }
};

Setup& setup() {
    static Setup s;
    return s;
}

// The same rows written with raw prepared statements: one transaction per table, one insert
// statement per table prepared once.
double rawWrite(const std::map<std::string, nlohmann::json>& lists,
                const ClientDataExchange::TablePictures& pictures) {
    sqlite3* db = nullptr;
    sqlite3_open(CommonSetting::DbPath().c_str(), &db);
    sqlite3_exec(db, "pragma journal_mode=wal; pragma synchronous=normal", nullptr, nullptr,
                 nullptr);
    auto start = Clock::now();
    auto insertAll = [&](const char* sql, const nlohmann::json& rows, auto bind) {
        sqlite3_exec(db, "begin exclusive transaction", nullptr, nullptr, nullptr);
        sqlite3_stmt* stmt = nullptr;
        sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr);
        for (const nlohmann::json& row : rows) {
            bind(stmt, row);
            sqlite3_step(stmt);
            sqlite3_reset(stmt);
        }
        sqlite3_finalize(stmt);
        sqlite3_exec(db, "commit transaction", nullptr, nullptr, nullptr);
    };
    auto text = [](sqlite3_stmt* s, int i, const nlohmann::json& v) {
        if (v.is_string()) {
            const auto& t = v.get_ref<const std::string&>();
            sqlite3_bind_text(s, i, t.data(), int(t.size()), SQLITE_TRANSIENT);
        } else if (v.is_number()) {
            sqlite3_bind_int64(s, i, v.get<long long>());
        } else {
            sqlite3_bind_null(s, i);
        }
    };
    insertAll(
        "insert into courseclass(iclassid,ccoursecname,csubjecttypes,dchangedate,iindex,"
        "bstopflag) values(?,?,?,?,?,?)",
        lists.at("courseclass"), [&](sqlite3_stmt* s, const nlohmann::json& r) {
            int i = 1;
            for (const char* k : {"iclassid", "ccoursecname", "csubjecttypes", "dchangedate",
                                  "iindex", "bstopflag"})
                text(s, i++, r.value(k, nlohmann::json()));
        });
    sqlite3_exec(db, "begin exclusive transaction", nullptr, nullptr, nullptr);
    sqlite3_stmt* pic = nullptr;
    sqlite3_prepare_v2(db,
                       "insert into sys_tableimage(ctblname,csourceid,pimage,cextname,dchangedate)"
                       " values('courseclass',?,?,?,?)",
                       -1, &pic, nullptr);
    for (const auto& [id, image] : pictures) {
        if (!image) continue;
        sqlite3_bind_text(pic, 1, id.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_blob(pic, 2, image->image.data(), int(image->image.size()), SQLITE_TRANSIENT);
        sqlite3_bind_text(pic, 3, image->extname.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_null(pic, 4);
        sqlite3_step(pic);
        sqlite3_reset(pic);
    }
    sqlite3_finalize(pic);
    sqlite3_exec(db, "commit transaction", nullptr, nullptr, nullptr);
    insertAll(
        "insert into course(icourseid,iclassid,isubclassid,ccoursename,iindex,bstopflag,"
        "bdistrict,dchangedate,dcreatedate,cexamdate,ctypscount) "
        "values(?,?,?,?,?,?,?,?,?,?,?)",
        lists.at("course"), [&](sqlite3_stmt* s, const nlohmann::json& r) {
            int i = 1;
            for (const char* k :
                 {"icourseid", "iclassid", "isubclassid", "ccoursename", "iindex", "bstopflag",
                  "bdistrict", "dchangedate", "dcreatedate", "cexamdate", "ctypscount"})
                text(s, i++, r.value(k, nlohmann::json()));
        });
    insertAll(
        "insert into district(cdccode,cdcname,bendgrade,igrade,cmemo,dchangedate) "
        "values(?,?,?,?,?,?)",
        lists.at("district"), [&](sqlite3_stmt* s, const nlohmann::json& r) {
            int i = 1;
            for (const char* k :
                 {"cdccode", "cdcname", "bendgrade", "igrade", "cmemo", "dchangedate"})
                text(s, i++, r.value(k, nlohmann::json()));
        });
    insertAll(
        "insert into sys_message(cmsgid,cmsgtitle,cmsgurl,ctype,iindex,icourseid,bstopflag,"
        "dchangedate,dstartdate,denddate) values(?,?,?,?,?,?,?,?,?,?)",
        lists.at("sys_message"), [&](sqlite3_stmt* s, const nlohmann::json& r) {
            int i = 1;
            for (const char* k : {"cmsgid", "cmsgtitle", "cmsgurl", "itype", "iindex", "icourseid",
                                  "bstopflag", "dchangedate", "dstartdate", "denddate"})
                text(s, i++, r.value(k, nlohmann::json()));
        });
    double ms = msSince(start);
    sqlite3_close(db);
    return ms;
}

void BM_FirstBaseItemDownload(benchmark::State& state) {
    Setup& s = setup();
    double serviceMs = 0, dbMs = 0, rawMs = 0, secondMs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        s.freshDatabase();
        state.ResumeTiming();
        auto start = Clock::now();
        {
            ClientDataExchange exchange;
            exchange.downloadBaseItem();
        }
        state.SetIterationTime(msSince(start) / 1000);
        state.PauseTiming();

        // Nothing changed since: the second run asks for the change list only.
        start = Clock::now();
        {
            ClientDataExchange exchange;
            exchange.downloadBaseItem();
        }
        secondMs += msSince(start);
        {
            SQLiteHelper check;
            if (check.ExecuteScalarInt("select count(*) from course") != kCourses ||
                check.ExecuteScalarInt("select count(*) from sys_tableimage") != kClasses ||
                check.ExecuteScalarInt("select count(*) from district") != kDistricts) {
                state.SkipWithError("the download did not store the whole catalogue");
                break;
            }
        }

        // The split, on another fresh database: every call and its parsing, then the writes.
        s.freshDatabase();
        ClientDataExchange exchange;
        start = Clock::now();
        std::map<std::string, nlohmann::json> lists;
        exchange.loadRemoteBaseItemChangeList();
        for (const char* item : kItems) {
            lists[item] = exchange.service().loadBaseItemUpdateNewData(item, "").value();
            for (const nlohmann::json& row : lists[item])
                benchmark::DoNotOptimize(ExamWebServiceUtil::jsonToDict(row));
        }
        ClientDataExchange::TablePictures pictures =
            exchange.fetchClassPictures(lists["courseclass"]);
        serviceMs += msSince(start);

        start = Clock::now();
        for (const char* item : kItems) {
            exchange.BeginTran();
            switch (BaseItemRule::tableFor(item)) {
                case BaseItemTable::CourseClass:
                    exchange.downloadCourseClass(lists[item], false, &pictures);
                    break;
                case BaseItemTable::Course:
                    exchange.downloadCourse(lists[item], false);
                    break;
                case BaseItemTable::District:
                    exchange.downloadDistrict(lists[item], false);
                    break;
                default:
                    exchange.downloadCusMessage(lists[item], false);
            }
            exchange.ExecuteNonQuery(
                "update sys_serverexchangeitem set dupdatedate=? where citemname=?",
                "2026-01-01 00:00:00", item);
            exchange.CommitTran();
        }
        dbMs += msSince(start);

        s.freshDatabase();
        rawMs += rawWrite(lists, pictures);
        state.ResumeTiming();
    }
    const double n = double(state.iterations());
    state.counters["service_and_parse_ms"] = serviceMs / n;
    state.counters["database_ms"] = dbMs / n;
    state.counters["raw_statements_ms"] = rawMs / n;
    state.counters["database_vs_raw"] = dbMs / rawMs;
    state.counters["second_run_ms"] = secondMs / n;
}
BENCHMARK(BM_FirstBaseItemDownload)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
