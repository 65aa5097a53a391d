// What operations put on the wire: the service method and the parameter names in the order
// they are written, with numbers in their exact text form. A misspelt name or a parameter in
// the wrong place makes the real service answer nothing; listed are the operations whose names
// do not follow from the operation's own (misspellings kept by the service, lower-case names,
// a method shared or renamed), and every number format.
#include <gtest/gtest.h>

#include <functional>

#include "catalogue_scripted_service.h"
#include "platform/log.h"
#include "store/records/course_chapter_entity.h"
#include "store/records/course_outline_entity.h"
#include "store/records/course_subject_entity.h"
#include "store/records/message_entity.h"
#include "store/records/table_image_entity.h"
#include "store/records/user_entity.h"

namespace examora {
namespace {

using testing::ScriptedService;
using Params = std::vector<ScriptedService::Param>;

struct WireCase {
    const char* name;
    std::function<void(ScriptedService&)> call;
    std::string method;
    std::optional<Params> params;
    bool multi = false;
};

std::string lastDate = "2020-01-02 03:04:05";

const std::vector<WireCase>& wireCases() {
    static const std::vector<WireCase> cases = {
        {"getAppVersion", [](auto& s) { s.getAppVersion(); }, "GetAppVersion",
         Params{{"appType", "1"}}},
        {"checkCourseHadNewUpdate", [](auto& s) { s.checkCourseHadNewUpdate(5, 1, 2, "d"); },
         "CheckCourseHadNewUpdate",
         Params{{"courseid", "5"}, {"coursetype", "1"}, {"updateobj", "2"}, {"lastdate", "d"}}},
        {"loadRemoteBaseItemChangeList", [](auto& s) { s.loadRemoteBaseItemChangeList(); },
         "LoadRemoteBaseItemChangeList", std::nullopt},
        {"loadTableImage", [](auto& s) { s.loadTableImage("courseclass", "7"); }, "LoadTableImage",
         Params{{"tableName", "courseclass"}, {"sourceId", "7"}}},
        {"loadNewCourseChapter_HadDistrice",
         [](auto& s) { s.loadNewCourseChapter_HadDistrice(5, 1, "bj", lastDate); },
         "LoadNewCourseChapter_HadDistrice",
         Params{{"courseId", "5"},
                {"courseType", "1"},
                {"district", "bj"},
                {"lastUpdateDate", lastDate}},
         true},
        {"loadNewCourseSubject_HadDistrict",
         [](auto& s) { s.loadNewCourseSubject_HadDistrict(5, 1, "bj", lastDate, true); },
         "LoadNewCourseSubjectGroup_HadDistrict",
         Params{{"courseId", "5"},
                {"courseType", "1"},
                {"district", "bj"},
                {"lastUpdateDate", lastDate}},
         true},
        {"loadCourseChapterListInfo",
         [](auto& s) {
             s.loadCourseChapterListInfo(5, {Value(1), Value(), Value("22")});
         },
         "LoadCourseChapterListInfo", Params{{"courseId", "5"}, {"lstChapterId", "1,22"}}},
        {"loadCourseSubjectInfo", [](auto& s) { s.loadCourseSubjectInfo(9); },
         "LoadCourseSubjectInfo", Params{{"subjectid", "9"}}},
        {"checkCusName", [](auto& s) { s.checkCusName("li"); }, "ExistsCusName",
         Params{{"cusName", "li"}}},
        {"checkUserPhone", [](auto& s) { s.checkUserPhone(4, "139"); }, "ExistCustomerPhone",
         Params{{"cusId", "4"}, {"mobilePhone", "139"}}},
        {"createNewUser",
         [](auto& s) { s.createNewUser("li", "pw", "e", "139", "job", "bj", "dev"); },
         "CreateNewCustomer_HadQQ",
         Params{{"cusName", "li"},
                {"password", "pw"},
                {"email", "e"},
                {"mobilePhone", "139"},
                {"qq", "job"},
                {"districtName", "bj"},
                {"machineId", "dev"}}},
        {"editUser", [](auto& s) { s.editUser(4, "139", "e", "job", "bj"); }, "EditCustomer_HadQQ",
         Params{{"cusId", "4"},
                {"mobilePhone", "139"},
                {"email", "e"},
                {"qq", "job"},
                {"districtName", "bj"}}},
        {"bindUser", [](auto& s) { s.bindUser(4, "dev"); }, "BindCustomer",
         Params{{"cusId", "4"}, {"machineID", "dev"}}},
        {"sendForgetpasswordEmail", [](auto& s) { s.sendForgetpasswordEmail("e"); },
         "ForgetPasswrodByEmail", Params{{"email", "e"}}},
        {"resetPasswordByPhone", [](auto& s) { s.resetPasswordByPhone("139", "new"); },
         "ResetPasswrodByPhone", Params{{"mobilePhone", "139"}, {"newPassword", "new"}}},
        {"searchUserNote", [](auto& s) { s.searchUserNote(9, 4, 20, 2); }, "SearchUserNote",
         Params{{"subjectId", "9"}, {"userId", "4"}, {"pageSize", "20"}, {"pageIndex", "2"}}},
        {"uploadWriteNote", [](auto& s) { s.uploadWriteNote(9000000000L, 9, "n", "d", "4"); },
         "UploadWriteNote",
         Params{{"noteId", "9000000000"},
                {"subjectId", "9"},
                {"noteText", "n"},
                {"changeDate", "d"},
                {"userId", "4"}}},
        {"uploadWriteError", [](auto& s) { s.uploadWriteError(12L, 9, 2, "t", "d", "4"); },
         "UploadWriteError",
         Params{{"errorId", "12"},
                {"subjectId", "9"},
                {"errorType", "2"},
                {"errorText", "t"},
                {"changeDate", "d"},
                {"userId", "4"}}},
        {"uploadSimulationLog",
         [](auto& s) { s.uploadSimulationLog(5, "c", "4", "ch", 60, 2.5, 100, 3, 0.25, "d"); },
         "UploadSimulationLog",
         Params{{"courseId", "5"},
                {"cuscode", "c"},
                {"userid", "4"},
                {"chapterName", "ch"},
                {"usetime", "60"},
                {"myscore", "2.500000"},
                {"totalscore", "100.000000"},
                {"testcount", "3"},
                {"prescore", "0.250000"},
                {"time", "d"}}},
        {"downloadSimulationPaperDetailHistory",
         [](auto& s) { s.downloadSimulationPaperDetailHistory(Value(std::int64_t{7000000000})); },
         "DownloadSimulationPaperDetailHistory", Params{{"serverPaperId", "7000000000"}}},
        {"checkWriteErrorIsAudited", [](auto& s) { s.checkWriteErrorIsAudited("dev", 3); },
         "CheckWriteErrorIsAudited", Params{{"machineId", "dev"}, {"id", "3"}}},
        {"customerLoginOn", [](auto& s) { s.customerLoginOn(4, "dev"); }, "CustomerLoginOn",
         Params{{"cusId", "4"}, {"machineId", "dev"}}, true},
        {"customerLoginOff", [](auto& s) { s.customerLoginOff(77); }, "CustomerLoginOff",
         Params{{"cusId", "77"}}},
        {"checkCustomerOnline", [](auto& s) { s.checkCustomerOnline(77); }, "CheckCustomerOnline",
         Params{{"loginId", "77"}}},
        {"getCustomerStatuMemo", [](auto& s) { s.getCustomerStatuMemo(4); }, "GetCustomerStatuMemo",
         Params{{"cusId", "4"}}},
        {"loadPhoneMessageListByUser", [](auto& s) { s.loadPhoneMessageListByUser(4, 5, 20, 1); },
         "LoadPhoneMessageList",
         Params{{"userId", "4"}, {"courseId", "5"}, {"pageSize", "20"}, {"pageIndex", "1"}}},
        {"getPhoneMessageUnReadCount", [](auto& s) { s.getPhoneMessageUnReadCount(4, 5); },
         "GetPhoneMessageUnReadCount", Params{{"userId", "4"}, {"courseId", "5"}}},
        {"loadAgentInfoByCode", [](auto& s) { s.loadAgentInfoByCode("A1", "t"); }, "LoadAgentInfo",
         Params{{"agentCode", "A1"}, {"time", "t"}}},

    };
    return cases;
}

TEST(CatalogueWire, OperationsSendTheirMethodAndParametersInOrder) {
    LogCapture quiet;
    for (const WireCase& c : wireCases()) {
        SCOPED_TRACE(c.name);
        ScriptedService service;
        c.call(service);
        const ScriptedService::Call& call = service.onlyCall();
        EXPECT_EQ(call.method, c.method);
        EXPECT_EQ(call.params, c.params);
        EXPECT_EQ(call.multi, c.multi);
        EXPECT_EQ(call.timeoutSeconds, 0) << "only the online check sets a time-out";
    }
}

TEST(CatalogueWire, NullTextsAndNullIdsAreNotSentButTheTextNullIs) {
    ScriptedService service;
    service.createNewUser("li", "pw", std::nullopt, "139", std::nullopt, "bj", "dev");
    service.uploadWriteNote(1, 2, "NULL", "d", Value());
    ASSERT_EQ(service.calls.size(), 2u);
    EXPECT_EQ(service.calls[0].params, (Params{{"cusName", "li"},
                                               {"password", "pw"},
                                               {"mobilePhone", "139"},
                                               {"districtName", "bj"},
                                               {"machineId", "dev"}}));
    EXPECT_EQ(
        service.calls[1].params,
        (Params{{"noteId", "1"}, {"subjectId", "2"}, {"noteText", "NULL"}, {"changeDate", "d"}}));
}

TEST(CatalogueWire, OnlineCheckWaitsFiveMinutesUnlessGivenASecondOrMore) {
    ScriptedService service;
    service.checkIsOnline(0);
    service.checkIsOnline(0.5);
    service.checkIsOnline(10);
    service.checkIsOnline(1);
    ASSERT_EQ(service.calls.size(), 4u);
    EXPECT_EQ(service.calls[0].timeoutSeconds, 300);
    EXPECT_EQ(service.calls[1].timeoutSeconds, 300);
    EXPECT_EQ(service.calls[2].timeoutSeconds, 10);
    EXPECT_EQ(service.calls[3].timeoutSeconds, 1);
    EXPECT_EQ(service.calls[0].method, "GetServerTime");
    EXPECT_FALSE(service.calls[0].params.has_value());
}

}  // namespace
}  // namespace examora
