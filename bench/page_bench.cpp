// The question page and the subject search on the synthetic courses: building one page as the
// practice session shows it, and a search page that finds nothing (so every title of the course
// is deciphered and compared) against a bare loop that deciphers and compares the same titles.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/common_setting.h"
#include "engine/course_subject_util.h"
#include "engine/course_util.h"
#include "lib/course_generator.h"
#include "store/content_cipher.h"
#include "store/sqlite_handles.h"

namespace examora {
namespace {

constexpr const char* kAbsent = "并不存在的检索词";

// A temporary directory for the generated courses (a few hundred megabytes), removed when the
// run ends.
std::string benchDir() {
    struct Dir {
        std::string path;
        Dir() {
            std::string tmpl =
                (std::filesystem::temp_directory_path() / "examora-page-bench-XXXXXX").string();
            if (!mkdtemp(tmpl.data())) throw std::runtime_error("no temporary directory");
            path = tmpl;
        }
        ~Dir() {
            std::error_code ignored;
            std::filesystem::remove_all(path, ignored);
        }
    };
    static const Dir dir;
    return dir.path;
}

// One database per course size, generated once per process; CommonSetting points at it.
const GeneratedCourse& course(int size) {
    static std::map<int, GeneratedCourse> courses;
    static std::map<int, std::string> paths;
    auto it = courses.find(size);
    if (it == courses.end()) {
        const std::string path =
            CourseGenerator::installTemplate(benchDir() + "/course" + std::to_string(size) + ".db");
        it = courses.emplace(size, CourseGenerator().generate(path, 1, size, 1'796'000'000)).first;
        paths[size] = path;
    }
    CommonSetting::setDbPath(paths[size]);
    return it->second;
}

// The stored titles of the course in id order, as the search reads them.
std::vector<std::string> storedTitles(int size) {
    course(size);
    sqlite3* raw = nullptr;
    sqlite3_open_v2(CommonSetting::DbPath().c_str(), &raw, SQLITE_OPEN_READONLY, nullptr);
    SqliteHandlePtr db(raw);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db.get(), "select ctitle from coursesubject order by isubjectid", -1, &st,
                       nullptr);
    SqliteStatementPtr stmt(st);
    std::vector<std::string> out;
    while (sqlite3_step(st) == SQLITE_ROW)
        out.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
    return out;
}

void sessionSettings() {
    CourseSubjectUtil::updatePageSettings([](SubjectPageSettings& s) {
        s.showfunmode = 1;
        s.showmynote = 1;
        s.buildcss = true;
        s.showbackgroundimage = false;
    });
}

// A subject of the course of the given type, answered or not, loaded as the session loads it.
CourseSubjectEntity subjectOfType(int type, bool answered) {
    const GeneratedCourse& c = course(CourseSize::S);
    CourseUtil util;
    for (int id = c.firstSubjectId; id < c.firstSubjectId + c.subjectCount; ++id) {
        std::optional<CourseSubjectEntity> s = util.loadSubjuectInfo(id);
        if (s && s->subjecttype == type && s->myanswer.empty() != answered) return *s;
    }
    throw std::runtime_error("no such subject in the generated course");
}

void BM_BuildPage(benchmark::State& state) {
    const int type = static_cast<int>(state.range(0));
    const bool answered = state.range(1) != 0;
    sessionSettings();
    const CourseSubjectEntity subject = subjectOfType(type, answered);
    std::size_t bytes = 0;
    for (auto _ : state) {
        CourseSubjectEntity s = subject;
        std::string html;
        CourseSubjectUtil::buildSubjectHtml_SplitAnswerMode(html, s, 3, 0, s.subjecttype, false,
                                                            true);
        bytes = html.size();
        benchmark::DoNotOptimize(html);
    }
    state.counters["page_bytes"] = static_cast<double>(bytes);
}
// Unanswered pages touch no table; answered ones read the subject's notes for the answer area.
BENCHMARK(BM_BuildPage)
    ->ArgNames({"type", "answered"})
    ->Args({0, 0})
    ->Args({1, 0})
    ->Args({5, 0})
    ->Args({0, 1})
    ->Args({1, 1})
    ->Unit(benchmark::kMicrosecond);

void BM_FeedbackScript(benchmark::State& state) {
    sessionSettings();
    const CourseSubjectEntity subject = subjectOfType(1, true);
    for (auto _ : state) {
        std::string script =
            CourseSubjectUtil::getDoAnswerHtml_SplitAnswerMode(subject, subject.myanswer, 0);
        benchmark::DoNotOptimize(script);
    }
}
BENCHMARK(BM_FeedbackScript)->Unit(benchmark::kMicrosecond);

void BM_SearchFindingNothing(benchmark::State& state) {
    const int size = static_cast<int>(state.range(0));
    const GeneratedCourse& c = course(size);
    CourseUtil util;
    for (auto _ : state) {
        std::vector<BaseItemEntity> page = util.loadSearchSubjectList(c.courseId, kAbsent, 0, 20);
        if (!page.empty()) state.SkipWithError("the absent text was found");
        benchmark::DoNotOptimize(page);
    }
    state.SetItemsProcessed(state.iterations() * c.subjectCount);
}

// The floor: the same titles already in memory, deciphered and compared.
void BM_SearchBareLoop(benchmark::State& state) {
    const int size = static_cast<int>(state.range(0));
    const std::vector<std::string> titles = storedTitles(size);
    const std::string needle = kAbsent;
    const std::boyer_moore_horspool_searcher searcher(needle.begin(), needle.end());
    for (auto _ : state) {
        int found = 0;
        for (const std::string& t : titles) {
            std::optional<std::string> plain = ContentCipher::decipher(t);
            if (plain && std::search(plain->begin(), plain->end(), searcher) != plain->end())
                ++found;
        }
        benchmark::DoNotOptimize(found);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(titles.size()));
}

// The search runs on two threads: its CPU column counts both, against the loop's one.
void searchSizes(benchmark::internal::Benchmark* b) {
    for (int size : CourseSize::selected())
        b->Arg(size);
    b->ArgName("subjects")->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();
}
BENCHMARK(BM_SearchFindingNothing)->Apply(searchSizes);
BENCHMARK(BM_SearchBareLoop)->Apply(searchSizes);

}  // namespace
}  // namespace examora

BENCHMARK_MAIN();
