// Course change lists: the in/out date and the two forms of the question list.
#include <gtest/gtest.h>

#include "catalogue_scripted_service.h"

namespace examora {
namespace {

using nlohmann::json;
using testing::ScriptedService;
using Parts = std::vector<std::string>;

json group(const char* id, const char* max, const char* chapter, const char* type,
           const char* index, const char* score, const char* answers) {
    return json{{"isubjectid", id},       {"imaxid", max},   {"ichapterid", chapter},
                {"isubjecttype", type},   {"iindex", index}, {"iscore", score},
                {"ianswercount", answers}};
}

TEST(CompactSubjectList, GroupsOfSevenBecomeObjectsWithTextValuesAndOthersAreSkipped) {
    auto read = [](const char* text) {
        return ExamWebServiceUtil::readSubjectChangeList(text).value();
    };
    EXPECT_EQ(read("101,105,7,0,1,2,4|200,200,8,1,3,2,4"),
              json::array({group("101", "105", "7", "0", "1", "2", "4"),
                           group("200", "200", "8", "1", "3", "2", "4")}));
    EXPECT_EQ(read("1,1,1,0,1,1,4|2,3"), json::array({group("1", "1", "1", "0", "1", "1", "4")}));
    EXPECT_EQ(read("1,2,3,4,5,6,7,8|1,2,3,4,5,6|"), json::array());
    EXPECT_EQ(read("|1,1,1,0,1,1,4||"), json::array({group("1", "1", "1", "0", "1", "1", "4")}));
    // Empty fields still count as fields, and stay empty texts.
    EXPECT_EQ(read(",,,,,,"), json::array({group("", "", "", "", "", "", "")}));
    EXPECT_EQ(read("garbage"), json::array());
}

TEST(CompactSubjectList, ListStartingWithABracketIsJSON) {
    auto list = ExamWebServiceUtil::readSubjectChangeList(
        R"([{"isubjectid":101,"imaxid":105,"ichapterid":7,"isubjecttype":0,"iindex":1,"iscore":2,"ianswercount":4}])");
    ASSERT_TRUE(list);
    ASSERT_EQ(list->size(), 1u);
    EXPECT_EQ((*list)[0]["imaxid"], 105) << "JSON numbers stay numbers";
    EXPECT_EQ(ExamWebServiceUtil::readSubjectChangeList("[1,2,3,4,5,6,7|"), std::nullopt)
        << "malformed JSON is not read as the compact form";
    EXPECT_EQ(ExamWebServiceUtil::readSubjectChangeList("\n [ ]")->size(), 0u);
}

TEST(CourseChangeList, NewDateIsTakenOnlyWithAReadableList) {
    ScriptedService s;
    s.multiReplies = {Parts{R"([{"ichapterid":3},{"ichapterid":4}])", "2024-06-01 08:00:00"},
                      Parts{"anyType{}", "2024-07-01 08:00:00"},
                      Parts{"[{\"a\":1}, anyType{}]", "2024-07-01 08:00:00"},
                      Parts{"", "2024-07-01 08:00:00"},
                      Parts{"[{\"ichapterid\":", "2024-07-01 08:00:00"},
                      Parts{R"([{"ichapterid":3}])"},
                      std::nullopt};
    std::string date = "2000-01-01";
    auto list = s.loadNewCourseChapter_HadDistrice(5, 1, "bj", date);
    ASSERT_TRUE(list);
    EXPECT_EQ(list->size(), 2u);
    EXPECT_EQ(date, "2024-06-01 08:00:00");
    for (const char* what :
         {"anyType{}", "embedded anyType{}", "empty", "malformed", "one part", "none"}) {
        SCOPED_TRACE(what);
        EXPECT_EQ(s.loadNewCourseChapter_HadDistrice(5, 1, "bj", date), std::nullopt);
        EXPECT_EQ(date, "2024-06-01 08:00:00");
    }
    // The date sent is the in/out date as it stood.
    EXPECT_EQ(s.calls[1].params->back(),
              (ScriptedService::Param{"lastUpdateDate", "2024-06-01 08:00:00"}));
}

TEST(CourseChangeList, OutlineAndQuestionListsFollowTheSameRules) {
    ScriptedService s;
    s.multiReplies = {Parts{R"([{"ioutlineid":8}])", "2024-06-02 00:00:00"},
                      Parts{"101,105,7,0,1,2,4|2,3", "2024-06-03 00:00:00"},
                      Parts{"2,3", "2024-06-05 00:00:00"}};
    std::string date = "2000-01-01";
    auto outline = s.loadNewCourseOutline(5, 1, "bj", date);
    ASSERT_TRUE(outline);
    EXPECT_EQ((*outline)[0]["ioutlineid"], 8);
    EXPECT_EQ(date, "2024-06-02 00:00:00");

    auto subjects = s.loadNewCourseSubject_HadDistrict(5, 1, "bj", date, false);
    ASSERT_TRUE(subjects);
    EXPECT_EQ(*subjects, json::array({group("101", "105", "7", "0", "1", "2", "4")}));
    EXPECT_EQ(date, "2024-06-03 00:00:00");

    // A compact list without any whole group is an empty list, and the service's date holds.
    auto none = s.loadNewCourseSubject_HadDistrict(5, 1, "bj", date, false);
    ASSERT_TRUE(none);
    EXPECT_TRUE(none->empty());
    EXPECT_EQ(date, "2024-06-05 00:00:00");
}

}  // namespace
}  // namespace examora
