// The operation catalogue end to end, through SOAP on loopback: what the service receives, and
// what comes back out of real response documents.
#include <gtest/gtest.h>

#include "loopback_service.h"
#include "service/exam_web_service_util.h"

namespace examora {
namespace {

using CatalogueLoopbackTest = LoopbackServiceTest;
using Params = std::vector<std::pair<std::string, std::string>>;

TEST_F(CatalogueLoopbackTest, QuestionChangeListInCompactFormAndTheNewDate) {
    responses->setParts(
        "LoadNewCourseSubjectGroup_HadDistrict",
        {{"LoadNewCourseSubjectGroup_HadDistrictResult", "101,105,7,0,1,2,4|200,200,8,1,3,2,4|9,9"},
         {"lastUpdateDate", "2026-03-04 05:06:07"}});
    ExamWebServiceUtil util;
    std::string date = "2000-01-01";
    auto list = util.loadNewCourseSubject_HadDistrict(12, 1, "北京", date, true);
    ASSERT_TRUE(list);
    ASSERT_EQ(list->size(), 2u);
    EXPECT_EQ((*list)[1]["isubjectid"], "200");
    EXPECT_EQ((*list)[1]["ichapterid"], "8");
    EXPECT_EQ(date, "2026-03-04 05:06:07");

    auto requests = server->requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].soapMethod, "LoadNewCourseSubjectGroup_HadDistrict");
    EXPECT_EQ(requests[0].soapParams, (Params{{"courseId", "12"},
                                              {"courseType", "1"},
                                              {"district", "北京"},
                                              {"lastUpdateDate", "2000-01-01"}}));
}

TEST_F(CatalogueLoopbackTest, PaperUploadArrivesWithItsDetailsIntact) {
    responses->setResult("UploadSimulationPaper", "1");
    ExamWebServiceUtil util;
    util.uploadSimulationPaper(
        4, "dev-1", 3, 12, "第1次 <模拟> & 练习", 7200, 100, 2.5, 1, 0, 2, 1, 1, 0, 0, 0, 0,
        "2026-03-01 09:00:00", "2026-03-01 10:00:00", 3600, 9000000000L,
        {Dict{{"isubjectid", 101}, {"cmyanswer", "A&B"}, {"imyscore", 2.5}},
         Dict{{"isubjectid", 102}, {"cmyanswer", Value()}, {"imyscore", 0}}});
    auto requests = server->requests();
    ASSERT_EQ(requests.size(), 1u);
    const RecordedRequest& r = requests[0];
    EXPECT_EQ(r.soapMethod, "UploadSimulationPaper");
    ASSERT_EQ(r.soapParams.size(), 22u);
    EXPECT_EQ(*r.param("cpapername"), "第1次 <模拟> & 练习");
    EXPECT_EQ(*r.param("iscore"), "2.500000");
    EXPECT_EQ(*r.param("serverPaperId"), "9000000000");
    nlohmann::json details = nlohmann::json::parse(*r.param("tblSimulationDetail"));
    EXPECT_EQ(details,
              nlohmann::json::parse(R"([{"isubjectid":101,"cmyanswer":"A&B","imyscore":2.5},
                                                 {"isubjectid":102,"cmyanswer":null,"imyscore":0}])"));
}

}  // namespace
}  // namespace examora
