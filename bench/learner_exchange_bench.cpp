// The learner-data exchange end to end over loopback against the reference service: the upload
// of changed answers, and the history download of answers and papers with their details.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "app/common_setting.h"
#include "bench_service.h"
#include "platform/log.h"
#include "platform/paths.h"
#include "server/account_store.h"
#include "server/learner_store.h"
#include "server/reference_service.h"
#include "service/asi_service_args.h"
#include "store/sqlite_helper.h"
#include "sync/client_data_exchange.h"

namespace {

using namespace examora;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kCourse = 1;

bool small() {
    return std::getenv("EXAMORA_BENCH_SMALL") != nullptr;
}
int answers() {
    return small() ? 1000 : 10000;
}
int papers() {
    return small() ? 10 : 100;
}
constexpr int kPaperSubjects = 100;

struct Setup {
    long long uploader = 0, holder = 0;
    // Declared after the account ids, which its loading sets.
    BenchService bench{
        "exchange", [this](ReferenceService& service, const fs::path&) {
            AccountStore accounts(service.store());
            uploader = accounts.createAccount({"uploader", "bench-1", {}, {}, {}, {}, {}});
            holder = accounts.createAccount({"holder", "bench-2", {}, {}, {}, {}, {}});
            fillHistory(service);
        }};

    Setup() {
        CommonSetting::setDeviceId("bench-device");
        CommonSetting::setLoginUserName("holder");
    }

    // The history the download fetches: every answer, and the papers with their details.
    void fillHistory(ReferenceService& service) {
        LearnerStore learners(service.store());
        DictList rows;
        for (int i = 1; i <= answers(); ++i) {
            rows.push_back(Dict{{"isubjectid", i},
                                {"icourseid", kCourse},
                                {"cmyanswer", "B"},
                                {"bcorrect", 1},
                                {"imyscore", 1},
                                {"danswerdate", "2026-02-01 10:00:00"}});
        }
        learners.saveAnswers(holder, "elsewhere", rows);
        for (int p = 1; p <= papers(); ++p) {
            DictList details;
            for (int i = 1; i <= kPaperSubjects; ++i) {
                details.push_back(Dict{{"iindex", i},
                                       {"isubjectid", i},
                                       {"cmyanswer", "A"},
                                       {"bcorrect", 1},
                                       {"iscore", 1},
                                       {"imyscore", 1}});
            }
            learners.savePaper(holder, "elsewhere", 0,
                               Dict{{"ipaperid", p},
                                    {"icourseid", kCourse},
                                    {"cpapername", "模拟试卷 " + std::to_string(p)},
                                    {"itotaltime", 60},
                                    {"itotalscore", 100.0},
                                    {"isubjectcount", kPaperSubjects},
                                    {"dcreatedate", "2026-02-01 10:00:00"}},
                               details);
        }
    }

    // A fresh working database holding the course's questions, all answered.
    void freshDatabase() {
        bench.freshClient();
        SQLiteHelper db;
        db.BeginTran();
        for (int i = 1; i <= answers(); ++i) {
            db.ExecuteNonQuery(
                "insert into coursesubject(isubjectid,icourseid,ichapterid,isubjecttype,iscore,"
                "cmyanswer,bcorrect,imyscore,danswerdate) values (?,?,1,0,1,'A',1,1,"
                "'2026-02-01 10:00:00')",
                i, kCourse);
        }
        db.CommitTran();
    }
};

Setup& setup() {
    static Setup s;
    return s;
}

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

void BM_UploadChangedAnswers(benchmark::State& state) {
    Setup& s = setup();
    CommonSetting::setLoginId(static_cast<int>(s.uploader));
    for (auto _ : state) {
        s.freshDatabase();
        const auto start = Clock::now();
        ClientDataExchange exchange;
        exchange.uploadUserDataToServer(static_cast<int>(s.uploader), kCourse, false,
                                        "bench-device");
        state.SetIterationTime(secondsSince(start));
        if (exchange.lastUploadReport().answers != static_cast<std::size_t>(answers())) {
            state.SkipWithError("not every answer went up");
            break;
        }
    }
    state.counters["answers"] = answers();
}

void BM_DownloadHistory(benchmark::State& state) {
    Setup& s = setup();
    CommonSetting::setLoginId(static_cast<int>(s.holder));
    for (auto _ : state) {
        s.freshDatabase();
        const auto start = Clock::now();
        ClientDataExchange exchange;
        exchange.downloadUserDataFromServer(static_cast<int>(s.holder));
        state.SetIterationTime(secondsSince(start));
        const HistoryReport& r = exchange.lastHistoryReport();
        if (!r.delivered() || r.answers != answers() || r.papersAdded != papers()) {
            state.SkipWithError("the history did not come down whole");
            break;
        }
    }
    state.counters["answers"] = answers();
    state.counters["papers"] = papers();
}

}  // namespace

BENCHMARK(BM_UploadChangedAnswers)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_DownloadHistory)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);

BENCHMARK_MAIN();
