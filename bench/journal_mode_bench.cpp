// The cost of one recorded answer under each journal mode, as the data-access layer runs it:
// open the connection, set synchronous, one update, close. With write-ahead logging the close of
// the last connection checkpoints and removes the log, so the figures are taken both alone and
// with another connection of the process open (as the facade's, a download's or the presence
// loop's usually is).
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

#include "lib/course_generator.h"
#include "store/sqlite_handles.h"

namespace examora {
namespace {

struct Mode {
    const char* journal;
    const char* synchronous;
};
constexpr Mode kModes[] = {
    {"delete", "full"}, {"delete", "normal"}, {"wal", "full"}, {"wal", "normal"}};

SqliteHandlePtr open(const std::string& path) {
    sqlite3* raw = nullptr;
    if (sqlite3_open_v2(path.c_str(), &raw, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
        throw std::runtime_error("cannot open " + path);
    return SqliteHandlePtr(raw);
}

void exec(sqlite3* db, const std::string& sql) {
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK)
        throw std::runtime_error(sql + ": " + sqlite3_errmsg(db));
}

void BM_RecordAnswer(benchmark::State& state) {
    const Mode mode = kModes[state.range(0)];
    const bool otherConnectionOpen = state.range(1) != 0;
    std::string dir = (std::filesystem::temp_directory_path() / "examora-jm-XXXXXX").string();
    if (!mkdtemp(dir.data())) throw std::runtime_error("no temporary directory");
    const std::string path = CourseGenerator::installTemplate(dir + "/zxexam.db");
    const GeneratedCourse course = CourseGenerator().generate(path, 1, CourseSize::S);
    {
        SqliteHandlePtr db = open(path);
        exec(db.get(), std::string("pragma journal_mode=") + mode.journal);
    }
    SqliteHandlePtr other;
    if (otherConnectionOpen) {
        other = open(path);
        exec(other.get(), "select count(*) from course");
    }

    int i = 0;
    for (auto _ : state) {
        SqliteHandlePtr db = open(path);
        exec(db.get(), std::string("pragma synchronous=") + mode.synchronous);
        exec(db.get(),
             "update coursesubject set cmyanswer='A',bcorrect=1,imyscore=1,"
             "danswerdate=datetime('now','localtime') where isubjectid=" +
                 std::to_string(course.firstSubjectId + i++ % course.subjectCount));
    }
    state.SetLabel(std::string(mode.journal) + "+" + mode.synchronous +
                   (otherConnectionOpen ? ", another connection open" : ", alone"));
    other.reset();
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
}

BENCHMARK(BM_RecordAnswer)
    ->ArgsProduct({{0, 1, 2, 3}, {0, 1}})
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime();

}  // namespace
}  // namespace examora

BENCHMARK_MAIN();
