// The cost of one service call on loopback and of reading large result texts.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "exam_service/exam_server.h"
#include "exam_service/scripted_responses.h"
#include "service/asi_service_result.h"
#include "service/exam_web_service_util.h"

namespace {

using examora::ExamWebServiceUtil;

// A deterministic list of question rows, as a content download returns them, of about `bytes`.
std::string questionRows(std::size_t bytes) {
    std::string text = "[";
    for (int i = 0; text.size() < bytes; ++i) {
        if (i > 0) text += ",";
        text += R"({"isubjectid":)" + std::to_string(100000 + i) + R"(,"ichapterid":)" +
                std::to_string(i % 97) + R"(,"isubjecttype":)" + std::to_string(i % 7) +
                R"(,"ctitle":"第)" + std::to_string(i) +
                R"(题：下列关于会计要素的表述中，正确的是（ ）。","canswer":"A","bok":"TRUE",)"
                R"("fscore":2.5,"dupdatedate":"2026-01-01 00:00:00"})";
    }
    return text + "]";
}

void BM_SoapRoundTrip(benchmark::State& state) {
    auto responses = std::make_shared<examora::ScriptedResponses>();
    responses->setResult("GetServerTime", "2026-01-01 00:00:00");
    examora::ExamServer server(responses);
    if (!server.start()) {
        state.SkipWithError("cannot start the loopback service");
        return;
    }
    examora::ASIServiceArgs::useExamService(server.serviceURL());
    ExamWebServiceUtil util;
    for (auto _ : state) {
        std::string result = util.getRespondData("GetServerTime", std::nullopt);
        if (result.empty()) state.SkipWithError("empty result");
        benchmark::DoNotOptimize(result);
    }
    server.stop();
    examora::ASIServiceArgs::resetDefaults();
}
BENCHMARK(BM_SoapRoundTrip)->Repetitions(5)->ReportAggregatesOnly(true)->UseRealTime();

void BM_GetJSONObject(benchmark::State& state) {
    const std::string text = questionRows(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        auto object = ExamWebServiceUtil::getJSONObject(text);
        if (!object) state.SkipWithError("parse failed");
        benchmark::DoNotOptimize(object);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_GetJSONObject)
    ->Arg(1 << 20)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// The same rows arriving as the escaped text of a SOAP response element.
void BM_SingleResultOfLargeResponse(benchmark::State& state) {
    const std::string rows = questionRows(static_cast<std::size_t>(state.range(0)));
    const std::string document =
        examora::ServiceReply::soapResult("LoadCourseSubjectListInfo", rows).body;
    examora::ASIServiceArgs args;
    args.setMethodName("LoadCourseSubjectListInfo");
    for (auto _ : state) {
        auto result = examora::ASIServiceResult::fromResponseText(document, args);
        if (result.xmlValue()->size() != rows.size()) state.SkipWithError("wrong result");
        benchmark::DoNotOptimize(result);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * document.size()));
}
BENCHMARK(BM_SingleResultOfLargeResponse)
    ->Arg(1 << 20)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
