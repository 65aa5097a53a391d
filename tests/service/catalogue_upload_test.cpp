// The uploads that carry table rows as JSON text: the paper with its details, and the batch
// of answered questions.
#include <gtest/gtest.h>

#include "catalogue_scripted_service.h"

namespace examora {
namespace {

using nlohmann::json;
using testing::ScriptedService;

TEST(CatalogueUpload, PaperGoesUpWithEveryFieldInOrderAndItsDetailsAsJSON) {
    ScriptedService service;
    service.uploadSimulationPaper(
        4, "dev", 3, 5, "模拟卷", 7200, 100, 62.5, 1, 0, 50, 10, 11, 12, 13, 14, 15,
        "2024-05-01 09:00:00", "2024-05-01 11:00:00", 3600, 8000000001L,
        {Dict{{"isubjectid", 101},
              {"cmyanswer", "A&B"},
              {"imyscore", 2.5},
              {"danswerdate", Value()}},
         Dict{{"isubjectid", 102}, {"cmyanswer", "C"}, {"danswerdate", "2024-05-01 10:00:00"}}});
    ScriptedService::Call call = service.onlyCall();
    EXPECT_EQ(call.method, "UploadSimulationPaper");
    ASSERT_TRUE(call.params && !call.params->empty());
    const auto [detailName, details] = call.params->back();
    call.params->pop_back();
    EXPECT_EQ(testing::wire(call),
              "cusId=4 machineId=dev ipaperid=3 icourseid=5 cpapername=模拟卷 itotaltime=7200 "
              "itotalscore=100.000000 iscore=62.500000 iexam=1 ifromchapter=0 isubjectcount=50 "
              "itype0count=10 itype1count=11 itype2count=12 itype3count=13 itype4count=14 "
              "itype5count=15 dcreatedate=2024-05-01 09:00:00 dexamtime=2024-05-01 11:00:00 "
              "iusetime=3600 serverPaperId=8000000001");
    EXPECT_EQ(detailName, "tblSimulationDetail");
    // The server reads the details back as they were stored: types kept, order kept.
    EXPECT_EQ(json::parse(details), json::parse(R"([
        {"isubjectid":101,"cmyanswer":"A&B","imyscore":2.5,"danswerdate":null},
        {"isubjectid":102,"cmyanswer":"C","danswerdate":"2024-05-01 10:00:00"}])"));
}

TEST(CatalogueUpload, AnswerHistoryIsSentAsOneJSONParameterAndNotAtAllWhenEmpty) {
    ScriptedService service;
    service.uploadSubjectHistory(4, "dev", {});
    EXPECT_TRUE(service.calls.empty());

    service.uploadSubjectHistory(
        4, "dev",
        {Dict{{"isubjectid", 7}, {"bcorrect", 1}, {"cmyanswer", "D"}, {"drememberdate", Value()}}});
    ScriptedService::Call call = service.onlyCall();
    EXPECT_EQ(call.method, "UploadSubjectHistory");
    ASSERT_TRUE(call.params && !call.params->empty());
    const auto [historyName, history] = call.params->back();
    call.params->pop_back();
    EXPECT_EQ(testing::wire(call), "cusId=4 machineId=dev");
    EXPECT_EQ(historyName, "tblSubjectHistory");
    EXPECT_EQ(
        json::parse(history),
        json::parse(R"([{"isubjectid":7,"bcorrect":1,"cmyanswer":"D","drememberdate":null}])"));
}

TEST(CatalogueUpload, RowsWithBytesOrTextsThatAreNotUTF8CannotBreakTheUpload) {
    // Bytes travel as Base64; a text column holding invalid UTF-8 must not throw out of the
    // upload (nothing is sent for that paper, or it is sent with the text replaced).
    ScriptedService service;
    Bytes image{0x00, 0xff, 0x10};
    service.uploadSubjectHistory(4, "dev", {Dict{{"pimage", image}}});
    ASSERT_EQ(service.calls.size(), 1u);
    EXPECT_EQ(json::parse(service.calls[0].params->back().second)[0]["pimage"], "AP8Q");

    service.calls.clear();
    EXPECT_NO_THROW(service.uploadSimulationPaper(4, "dev", 3, 5, "p", 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                                  0, 0, "d", "d", 0, 0,
                                                  {Dict{{"cmyanswer", std::string("\xff\xfe")}}}));
}

}  // namespace
}  // namespace examora
