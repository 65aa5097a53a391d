// Speed of the practice engine on a generated course (L by default; EXAMORA_BENCH_SIZE picks S,
// M or L, EXAMORA_BENCH_SMALL=1 picks S): one level of the chapter tree with progress figures
// against a plain group-by pass over the course's subjects, and against one statement per
// chapter; the whole course's subject ids; one subject deciphered; one answer checked; one answer
// recorded; the course's progress. Every operation runs as the screens call it, on a closed
// database. Peak resident memory of the process is reported with every result.

#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>

#include "app/common_setting.h"
#include "engine/course_subject_util.h"
#include "engine/course_util.h"
#include "lib/course_generator.h"
#include "platform/log.h"
#include "platform/strformat.h"
#include "store/database_scope.h"

namespace examora {
namespace {

// One generated course in a temporary database for the whole run.
class BenchCourse {
  public:
    static BenchCourse& get() {
        static BenchCourse course;
        return course;
    }
    const GeneratedCourse& course() const { return course_; }

  private:
    BenchCourse() {
        // Every open and close logs a line; the output is for the results only.
        setLogQuiet(true);
        dir_ = std::filesystem::temp_directory_path() /
               ("examora-engine-bench-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir_);
        const std::string path = CourseGenerator::installTemplate((dir_ / "zxexam.db").string());
        CommonSetting::setDbPath(path);
        course_ = CourseGenerator().generate(path, 1, CourseSize::largestSelected());
    }
    ~BenchCourse() {
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }

    std::filesystem::path dir_;
    GeneratedCourse course_;
};

// How the database is held around the measured operations, by the benchmark's argument:
// 0 the operation's own connection is the only one: each operation opens and closes it;
// 1 another data-access object holds the database open meanwhile (a download, the presence loop);
// 2 the caller holds the operating object's database open, so no operation opens or closes.
class Holding {
  public:
    template <class Helper>
    Holding(const benchmark::State& state, Helper& helper) {
        if (state.range(0) == 1) {
            other_ = std::make_unique<SQLiteHelper>();
            other_->OpenDataBase();
        } else if (state.range(0) == 2) {
            own_ = std::make_unique<DatabaseScope>(helper);
        }
    }

  private:
    std::unique_ptr<SQLiteHelper> other_;
    std::unique_ptr<DatabaseScope> own_;
};

void reportPeakMemory(benchmark::State& state) {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_rss_MiB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void BM_ChapterTopLevelWithProgress(benchmark::State& state) {
    const GeneratedCourse& c = BenchCourse::get().course();
    CourseUtil util;
    const Holding holding(state, util);
    for (auto _ : state) {
        benchmark::DoNotOptimize(util.loadCourseChapterList(c.courseId, 0, true, ""));
    }
    reportPeakMemory(state);
}
BENCHMARK(BM_ChapterTopLevelWithProgress)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

// The yardstick: one group-by pass over the course's subjects, rows read, on a closed database.
void BM_GroupByChapterPass(benchmark::State& state) {
    const GeneratedCourse& c = BenchCourse::get().course();
    SQLiteHelper db;
    const Holding holding(state, db);
    for (auto _ : state) {
        DatabaseScope scope(db);
        auto rs = db.ExecuteDataReader(
            "select ichapterid,count(*) icount,sum(case when cmyanswer>'' then 1 else 0 end) "
            "ianswercount,sum(case when cmyanswer>'' and bcorrect=1 then 1 else 0 end) "
            "icorrectcount from coursesubject where icourseid=? and bstopflag=0 group by "
            "ichapterid",
            c.courseId);
        long long sum = 0;
        while (rs && rs->next())
            sum += rs->longLongIntForColumnIndex(1);
        benchmark::DoNotOptimize(sum);
    }
    reportPeakMemory(state);
}
BENCHMARK(BM_GroupByChapterPass)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

// The progress of the top level read with one subtree statement per chapter (a full pass each).
void BM_ChapterTopLevelOneStatementPerChapter(benchmark::State& state) {
    const GeneratedCourse& c = BenchCourse::get().course();
    CourseUtil util;
    SQLiteHelper raw;
    const Holding holding(state, raw);
    const auto chapters = util.loadCourseChapterList(c.courseId, 0, false, "");
    for (auto _ : state) {
        DatabaseScope scope(raw);
        for (const CourseChapterEntity& chapter : chapters) {
            benchmark::DoNotOptimize(raw.ExecuteScalarInt(
                strformat("select sum(b.icount) icount from coursechapter a,(select ichapterid, "
                          "count(*) icount,sum(case when cmyanswer>'' then 1 else 0 end) "
                          "ianswercount,sum(case when cmyanswer>'' and bcorrect=1 then 1 else 0 "
                          "end) icorrectcount from coursesubject where icourseid=%d and "
                          "bstopflag=0 group by ichapterid) b where a.ichapterid=b.ichapterid and "
                          "a.cchaptercode like ? and a.itype=%d",
                          c.courseId, chapter.type),
                chapter.chaptercode + "%"));
        }
    }
    reportPeakMemory(state);
}
BENCHMARK(BM_ChapterTopLevelOneStatementPerChapter)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

void BM_SubjectIdListWholeCourse(benchmark::State& state) {
    const GeneratedCourse& c = BenchCourse::get().course();
    CourseUtil util;
    const Holding holding(state, util);
    for (auto _ : state) {
        benchmark::DoNotOptimize(util.loadSubjectIdList(c.courseId, 0, 0, SubjectFilter()));
    }
    reportPeakMemory(state);
}
BENCHMARK(BM_SubjectIdListWholeCourse)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

void BM_LoadSubjectInfo(benchmark::State& state) {
    const GeneratedCourse& c = BenchCourse::get().course();
    CourseUtil util;
    const Holding holding(state, util);
    int i = 0;
    for (auto _ : state) {
        i = (i + 7919) % c.subjectCount;
        benchmark::DoNotOptimize(util.loadSubjuectInfo(c.firstSubjectId + i));
    }
    reportPeakMemory(state);
}
BENCHMARK(BM_LoadSubjectInfo)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);

void BM_CheckAnswerIsCorrect(benchmark::State& state) {
    CourseSubjectEntity subject;
    subject.subjecttype = kSubjectMultipleChoice;
    subject.answer = "ABCD";
    subject.score = 2.0;
    const char* answers[] = {"ABCD", "ABC", "AE", "DCBA"};
    int i = 0;
    for (auto _ : state) {
        subject.myanswer = answers[i++ & 3];
        benchmark::DoNotOptimize(CourseSubjectUtil::checkAnswerIsCorrect(subject));
    }
}
BENCHMARK(BM_CheckAnswerIsCorrect)->Unit(benchmark::kNanosecond);

// One answer as the practice screen records it: marked, written, wrong count moved.
void BM_RecordPracticeAnswer(benchmark::State& state) {
    const GeneratedCourse& c = BenchCourse::get().course();
    CourseUtil util;
    const Holding holding(state, util);
    int i = 0;
    for (auto _ : state) {
        state.PauseTiming();
        i = (i + 104729) % c.subjectCount;
        std::optional<CourseSubjectEntity> subject = util.loadSubjuectInfo(c.firstSubjectId + i);
        const std::string answer = subject->myanswer == "A" ? "B" : "A";
        state.ResumeTiming();
        benchmark::DoNotOptimize(util.recordPracticeAnswer(*subject, answer, 0));
    }
    reportPeakMemory(state);
}
BENCHMARK(BM_RecordPracticeAnswer)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);

void BM_CourseFinishCountWithTotal(benchmark::State& state) {
    const GeneratedCourse& c = BenchCourse::get().course();
    CourseUtil util;
    const Holding holding(state, util);
    for (auto _ : state) {
        benchmark::DoNotOptimize(util.getCourseFinishCount(c.courseId, true));
    }
    reportPeakMemory(state);
}
BENCHMARK(BM_CourseFinishCountWithTotal)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace examora

BENCHMARK_MAIN();
