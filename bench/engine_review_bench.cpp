// Paper building, paper submission and the wrong-answer review lists on the generator's
// courses (S, M, L by EXAMORA_BENCH_SIZE; S only when EXAMORA_BENCH_SMALL is set). Each size's
// course is generated once into its own database and shared by every benchmark of that size.

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/common_setting.h"
#include "engine/course_subject_util.h"
#include "engine/course_util.h"
#include "lib/course_generator.h"
#include "store/sqlite_helper.h"

namespace examora {
namespace {

constexpr int kCourseId = 7;

std::vector<int> sizes() {
    if (std::getenv("EXAMORA_BENCH_SMALL")) return {CourseSize::S};
    return CourseSize::selected();
}

class GeneratedDb {
  public:
    explicit GeneratedDb(int subjects) {
        dir_ =
            std::filesystem::temp_directory_path() /
            ("examora-bench-review-" + std::to_string(subjects) + "-" + std::to_string(::getpid()));
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
        path_ = CourseGenerator::installTemplate((dir_ / "zxexam.db").string());
        course_ = CourseGenerator().generate(path_, kCourseId, subjects);
    }
    ~GeneratedDb() {
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    const std::string& path() const { return path_; }
    const GeneratedCourse& course() const { return course_; }

  private:
    std::filesystem::path dir_;
    std::string path_;
    GeneratedCourse course_;
};

// The database of a size, generated on first use, made the working database.
const GeneratedDb& use(int subjects) {
    static std::map<int, std::unique_ptr<GeneratedDb>> dbs;
    auto& db = dbs[subjects];
    if (!db) db = std::make_unique<GeneratedDb>(subjects);
    CommonSetting::setDbPath(db->path());
    return *db;
}

// Arg 1 = 1 keeps another connection open meanwhile, as the application's other data-access
// objects often do: the last connection's close then skips its write-ahead log checkpoint,
// which is the fsync that dominates a write on a closed database.
std::unique_ptr<SQLiteHelper> holder(const benchmark::State& state) {
    if (state.range(1) == 0) return nullptr;
    auto h = std::make_unique<SQLiteHelper>();
    h->OpenDataBase();
    return h;
}

void BM_CreatePaper100Points(benchmark::State& state) {
    use(static_cast<int>(state.range(0)));
    const auto held = holder(state);
    CourseSubjectUtil maker;
    maker.seedRandom(1);
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            maker.createPaper(kCourseId, 100, 120, "基准试卷", std::nullopt, "", "", std::nullopt));
    }
}

// The two reads of a draw over the whole bank, for the breakdown of the above.
void BM_LoadSubjectIdListForBuildPaper(benchmark::State& state) {
    use(static_cast<int>(state.range(0)));
    CourseUtil util;
    for (auto _ : state)
        benchmark::DoNotOptimize(util.loadSubjectIdListForBuildPaper(kCourseId, "b.itype>=0"));
}

void BM_CalcSubjectCount(benchmark::State& state) {
    use(static_cast<int>(state.range(0)));
    CourseUtil util;
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            util.calcSubjectCountForBeforeBuildPaper(kCourseId, 100, "b.itype>=0"));
    }
}

void BM_LoadEbbinghausList(benchmark::State& state) {
    use(static_cast<int>(state.range(0)));
    CourseUtil util;
    for (auto _ : state)
        benchmark::DoNotOptimize(util.loadEbbinghausList(kCourseId));
}

void BM_LoadErrSubjectListOfPeriod(benchmark::State& state) {
    use(static_cast<int>(state.range(0)));
    CourseUtil util;
    for (auto _ : state)
        benchmark::DoNotOptimize(util.loadErrSubjectListOfPeriod(kCourseId, 1));
}

void BM_LoadErrSubjectListOfCount(benchmark::State& state) {
    use(static_cast<int>(state.range(0)));
    CourseUtil util;
    for (auto _ : state)
        benchmark::DoNotOptimize(util.loadErrSubjectListOfCount(kCourseId, 1));
}

void BM_LoadChapterListForSelectSubject(benchmark::State& state) {
    use(static_cast<int>(state.range(0)));
    CourseUtil util;
    const int kind = static_cast<int>(state.range(1));
    for (auto _ : state)
        benchmark::DoNotOptimize(util.loadChapterListForSelectSubject(kCourseId, kind));
}

void BM_SumitPaper100Subjects(benchmark::State& state) {
    use(static_cast<int>(state.range(0)));
    const auto held = holder(state);
    CourseSubjectUtil maker;
    maker.seedRandom(2);
    CourseUtil util;
    // 100 single choices of one point, answered alternately right and wrong.
    const int paper = maker.createPaper(kCourseId, 100, 120, "交卷基准", std::vector<int>{0}, "",
                                        "", std::nullopt);
    const std::vector<int> ids = util.loadSubjectIdListOfPaperDetail(paper, 2);
    for (std::size_t i = 0; i < ids.size(); ++i) {
        const bool right = i % 2 == 0;
        util.updateSubjectMyAnswerInPaper(paper, ids[i], right ? "A" : "B", right,
                                          right ? 1.0f : 0.0f);
    }
    int seconds = 0;
    for (auto _ : state)
        util.sumitPaper(paper, ++seconds);
    state.counters["subjects"] = static_cast<double>(ids.size());
}

void sizeArgs(benchmark::internal::Benchmark* b) {
    for (int size : sizes())
        b->Arg(size);
}

void heldArgs(benchmark::internal::Benchmark* b) {
    for (int size : sizes())
        for (int held : {0, 1})
            b->Args({size, held});
}

void selectArgs(benchmark::internal::Benchmark* b) {
    for (int size : sizes())
        for (int kind : {4, 5, 6})
            b->Args({size, kind});
}

BENCHMARK(BM_CreatePaper100Points)->Apply(heldArgs)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadSubjectIdListForBuildPaper)->Apply(sizeArgs)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CalcSubjectCount)->Apply(sizeArgs)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadEbbinghausList)->Apply(sizeArgs)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadErrSubjectListOfPeriod)->Apply(sizeArgs)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadErrSubjectListOfCount)->Apply(sizeArgs)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadChapterListForSelectSubject)->Apply(selectArgs)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SumitPaper100Subjects)->Apply(heldArgs)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace examora

BENCHMARK_MAIN();
