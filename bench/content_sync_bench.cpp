// Course content synchronisation end to end over loopback against the reference service: a
// first sync of a generated course (pictures on every tenth question) by the sequential driver
// and by a pool of five batches at once, and a second sync with nothing changed.
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>

#include "app/common_setting.h"
#include "bench_service.h"
#include "lib/course_generator.h"
#include "platform/log.h"
#include "platform/paths.h"
#include "server/content_loader.h"
#include "server/reference_service.h"
#include "service/asi_service_args.h"
#include "store/sqlite_helper.h"
#include "sync/course_content_sync.h"

namespace {

using namespace examora;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

char benchSize() {
    return CourseSize::largestSelected() == CourseSize::S ? 'S' : 'M';
}

// One reference service holding the generated course, and a fresh client database and picture
// folder per run.
struct Setup {
    BenchService bench{"content", [](ReferenceService& service, const fs::path&) {
                           ContentLoader(service.store()).loadGenerated(benchSize());
                       }};
    int courseId = CourseGenerator::courseIdForSize(benchSize());

    // A fresh copy of the template holding the course row, never synchronised.
    void freshClient() { bench.freshClient(courseId); }
};

Setup& setup() {
    static Setup s;
    return s;
}

double seconds(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

std::size_t sync(int concurrency, std::size_t* written = nullptr) {
    CourseContentSync::Options options;
    options.courseId = setup().courseId;
    options.concurrency = concurrency;
    std::size_t questions = 0;
    for (const ContentItemSetReport& r : CourseContentSync::run(options)) {
        if (!r.dateStored) throw std::runtime_error("an item set was left incomplete");
        if (r.itemSet == ContentItemSet::Subject) questions = r.written;
    }
    if (written) *written = questions;
    return questions;
}

// The whole course, chapters and outline included; questions per second over the whole sync.
void BM_FirstContentSync(benchmark::State& state) {
    const int concurrency = static_cast<int>(state.range(0));
    std::size_t questions = 0;
    double total = 0;
    for (auto _ : state) {
        setup().freshClient();
        const auto start = Clock::now();
        sync(concurrency, &questions);
        const double s = seconds(start);
        total += s;
        state.SetIterationTime(s);
    }
    state.counters["questions"] = static_cast<double>(questions);
    state.counters["questions_per_s"] =
        static_cast<double>(questions) * static_cast<double>(state.iterations()) / total;
}
BENCHMARK(BM_FirstContentSync)
    ->Arg(1)
    ->Arg(5)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

void BM_SecondSyncNothingChanged(benchmark::State& state) {
    setup().freshClient();
    sync(5);
    for (auto _ : state) {
        const auto start = Clock::now();
        if (sync(1) != 0) throw std::runtime_error("the second sync wrote questions");
        state.SetIterationTime(seconds(start));
    }
}
BENCHMARK(BM_SecondSyncNothingChanged)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
