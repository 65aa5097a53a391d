// What each operation puts on the wire: the service method, and the parameter names in the
// order they are written, with numbers in their exact text form. A misspelt name or a
// parameter in the wrong place makes the real service answer nothing, so every operation is
// listed.
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
        // System
        {"getServerTime", [](auto& s) { s.getServerTime(); }, "GetServerTime", std::nullopt},
        {"getAppVersion", [](auto& s) { s.getAppVersion(); }, "GetAppVersion",
         Params{{"appType", "1"}}},
        {"getAppSettingValue", [](auto& s) { s.getAppSettingValue("k"); }, "GetAppSettingValue",
         Params{{"itemName", "k"}}},
        // Catalogue and content
        {"checkCourseHadNewUpdate", [](auto& s) { s.checkCourseHadNewUpdate(5, 1, 2, "d"); },
         "CheckCourseHadNewUpdate",
         Params{{"courseid", "5"}, {"coursetype", "1"}, {"updateobj", "2"}, {"lastdate", "d"}}},
        {"loadRemoteBaseItemChangeList", [](auto& s) { s.loadRemoteBaseItemChangeList(); },
         "LoadRemoteBaseItemChangeList", std::nullopt},
        {"loadBaseItemUpdateNewData", [](auto& s) { s.loadBaseItemUpdateNewData("course", "d"); },
         "LoadBaseItemUpdateNewData", Params{{"itemName", "course"}, {"lastUpdateDate", "d"}}},
        {"loadBaseItemUpdateNewDataByVersion",
         [](auto& s) { s.loadBaseItemUpdateNewDataByVersion(3, "course", "d"); },
         "LoadBaseItemUpdateNewDataByVersion",
         Params{{"versionCode", "3"}, {"itemName", "course"}, {"lastUpdateDate", "d"}}},
        {"loadTableImageList", [](auto& s) { s.loadTableImageList("courseclass", "7"); },
         "LoadTableImage", Params{{"tableName", "courseclass"}, {"sourceId", "7"}}},
        {"loadTableImage", [](auto& s) { s.loadTableImage("courseclass", "7"); }, "LoadTableImage",
         Params{{"tableName", "courseclass"}, {"sourceId", "7"}}},
        {"loadNewCourseChapter", [](auto& s) { s.loadNewCourseChapter(5, 1, "d"); },
         "LoadNewCourseChapter",
         Params{{"courseId", "5"}, {"courseType", "1"}, {"lastUpdateDate", "d"}}},
        {"loadNewCourseChapter_HadDistrice",
         [](auto& s) { s.loadNewCourseChapter_HadDistrice(5, 1, "bj", lastDate); },
         "LoadNewCourseChapter_HadDistrice",
         Params{{"courseId", "5"},
                {"courseType", "1"},
                {"district", "bj"},
                {"lastUpdateDate", lastDate}},
         true},
        {"loadNewCourseOutline", [](auto& s) { s.loadNewCourseOutline(5, 1, "bj", lastDate); },
         "LoadNewCourseOutline",
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
        {"getCourseUpdateName", [](auto& s) { s.getCourseUpdateName(5, 1, "bj"); },
         "GetCourseUpdateName", Params{{"courseId", "5"}, {"courseType", "1"}, {"district", "bj"}}},
        {"loadCourseChapterListInfo",
         [](auto& s) {
             s.loadCourseChapterListInfo(5, {Value(1), Value(), Value("22")});
         },
         "LoadCourseChapterListInfo", Params{{"courseId", "5"}, {"lstChapterId", "1,22"}}},
        {"loadCourseChapterInfo", [](auto& s) { s.loadCourseChapterInfo(9); },
         "LoadCourseChapterInfo", Params{{"chapterId", "9"}}},
        {"loadCourseSubjectListInfo",
         [](auto& s) {
             s.loadCourseSubjectListInfo(5, {Value(3), Value(4)});
         },
         "LoadCourseSubjectListInfo", Params{{"courseId", "5"}, {"lstSubjectId", "3,4"}}},
        {"loadCourseSubjectInfo", [](auto& s) { s.loadCourseSubjectInfo(9); },
         "LoadCourseSubjectInfo", Params{{"subjectid", "9"}}},
        {"loadSubjectImageList", [](auto& s) { s.loadSubjectImageList(9); }, "LoadSubjectImageList",
         Params{{"subjectId", "9"}}},
        {"loadCourseOutlineListInfo", [](auto& s) { s.loadCourseOutlineListInfo(5, {Value(8)}); },
         "LoadCourseOutlineListInfo", Params{{"courseId", "5"}, {"lstOutlineId", "8"}}},
        {"loadCourseOutlineInfo", [](auto& s) { s.loadCourseOutlineInfo(8); },
         "LoadCourseOutlineInfo", Params{{"outlineid", "8"}}},
        // Accounts
        {"checkEmail", [](auto& s) { s.checkEmail("a@b.cn"); }, "CheckEmail",
         Params{{"email", "a@b.cn"}}},
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
        {"userLogin", [](auto& s) { s.userLogin("li", "pw"); }, "CustomerLogin",
         Params{{"cusName", "li"}, {"password", "pw"}}},
        {"verifyUser", [](auto& s) { s.verifyUser(4, "pw"); }, "VerifyCustomer",
         Params{{"cusId", "4"}, {"password", "pw"}}},
        {"changePassword", [](auto& s) { s.changePassword(4, "new"); }, "ChangePassword",
         Params{{"cusId", "4"}, {"newPassword", "new"}}},
        {"bindUser", [](auto& s) { s.bindUser(4, "dev"); }, "BindCustomer",
         Params{{"cusId", "4"}, {"machineID", "dev"}}},
        {"sendForgetpasswordEmail", [](auto& s) { s.sendForgetpasswordEmail("e"); },
         "ForgetPasswrodByEmail", Params{{"email", "e"}}},
        {"sendForgetpasswordByPhone", [](auto& s) { s.sendForgetpasswordByPhone("139"); },
         "ForgetPasswrodByPhone", Params{{"mobilePhone", "139"}}},
        {"resetPasswordByPhone", [](auto& s) { s.resetPasswordByPhone("139", "new"); },
         "ResetPasswrodByPhone", Params{{"mobilePhone", "139"}, {"newPassword", "new"}}},
        {"loadUserInfo", [](auto& s) { s.loadUserInfo(4); }, "LoadCustomerInfo",
         Params{{"cusId", "4"}}},
        {"searchUserNote", [](auto& s) { s.searchUserNote(9, 4, 20, 2); }, "SearchUserNote",
         Params{{"subjectId", "9"}, {"userId", "4"}, {"pageSize", "20"}, {"pageIndex", "2"}}},
        // Learner data exchange
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
        {"clearSubjectHistory", [](auto& s) { s.clearSubjectHistory(4); }, "ClearSubjectHistory",
         Params{{"cusId", "4"}}},
        {"clearSimulationPaperHistory", [](auto& s) { s.clearSimulationPaperHistory(4); },
         "ClearSimulationPaperHistory", Params{{"cusId", "4"}}},
        {"downloadSubjectHistory",
         [](auto& s) { s.downloadSubjectHistory(4, "dev", "2000-01-01"); },
         "DownloadSubjectHistory",
         Params{{"cusId", "4"}, {"machineId", "dev"}, {"startDate", "2000-01-01"}}},
        {"downloadSimulationPaperHistory",
         [](auto& s) { s.downloadSimulationPaperHistory(4, "dev", "2000-01-01"); },
         "DownloadSimulationPaperHistory",
         Params{{"cusId", "4"}, {"machineId", "dev"}, {"startDate", "2000-01-01"}}},
        {"downloadSimulationPaperDetailHistory",
         [](auto& s) { s.downloadSimulationPaperDetailHistory(Value(std::int64_t{7000000000})); },
         "DownloadSimulationPaperDetailHistory", Params{{"serverPaperId", "7000000000"}}},
        {"downloadWriteNoteHistory", [](auto& s) { s.downloadWriteNoteHistory("dev"); },
         "DownloadWriteNoteHistory", Params{{"machineId", "dev"}}},
        {"checkWriteNoteIsAudited", [](auto& s) { s.checkWriteNoteIsAudited("dev", 3); },
         "CheckWriteNoteIsAudited", Params{{"machineId", "dev"}, {"id", "3"}}},
        {"checkWriteErrorIsAudited", [](auto& s) { s.checkWriteErrorIsAudited("dev", 3); },
         "CheckWriteErrorIsAudited", Params{{"machineId", "dev"}, {"id", "3"}}},
        // Presence and messages
        {"customerLoginOn", [](auto& s) { s.customerLoginOn(4, "dev"); }, "CustomerLoginOn",
         Params{{"cusId", "4"}, {"machineId", "dev"}}, true},
        {"customerLoginOff", [](auto& s) { s.customerLoginOff(77); }, "CustomerLoginOff",
         Params{{"cusId", "77"}}},
        {"checkCustomerOnline", [](auto& s) { s.checkCustomerOnline(77); }, "CheckCustomerOnline",
         Params{{"loginId", "77"}}},
        {"getCustomerStatuMemo", [](auto& s) { s.getCustomerStatuMemo(4); }, "GetCustomerStatuMemo",
         Params{{"cusId", "4"}}},
        {"getCustomerMemo", [](auto& s) { s.getCustomerMemo(4); }, "GetCustomerMemo",
         Params{{"cusId", "4"}}},
        {"getNextPhoneMessage", [](auto& s) { s.getNextPhoneMessage(3, 5, 4); },
         "GetNextPhoneMessage", Params{{"curMsgId", "3"}, {"courseId", "5"}, {"userId", "4"}}},
        {"loadPhoneMessageInfo", [](auto& s) { s.loadPhoneMessageInfo(3); }, "LoadPhoneMessageInfo",
         Params{{"msgId", "3"}}},
        {"loadPhoneMessageListByUser", [](auto& s) { s.loadPhoneMessageListByUser(4, 5, 20, 1); },
         "LoadPhoneMessageList",
         Params{{"userId", "4"}, {"courseId", "5"}, {"pageSize", "20"}, {"pageIndex", "1"}}},
        {"readPhoneMessage", [](auto& s) { s.readPhoneMessage(4, 3); }, "ReadPhoneMessage",
         Params{{"userId", "4"}, {"msgId", "3"}}},
        {"getPhoneMessageStatus", [](auto& s) { s.getPhoneMessageStatus(4, 3); },
         "GetPhoneMessageStatus", Params{{"userId", "4"}, {"msgId", "3"}}},
        {"getPhoneMessageUnReadCount", [](auto& s) { s.getPhoneMessageUnReadCount(4, 5); },
         "GetPhoneMessageUnReadCount", Params{{"userId", "4"}, {"courseId", "5"}}},
        {"SendPhoneValidateCode", [](auto& s) { s.SendPhoneValidateCode("139"); },
         "SendPhoneValidateCode", Params{{"phone", "139"}}},
        {"CheckPhoneValidateCode", [](auto& s) { s.CheckPhoneValidateCode("139", "1234"); },
         "CheckPhoneValidateCode", Params{{"phone", "139"}, {"code", "1234"}}},
        {"loadAgentInfoByCode", [](auto& s) { s.loadAgentInfoByCode("A1", "t"); }, "LoadAgentInfo",
         Params{{"agentCode", "A1"}, {"time", "t"}}},
    };
    return cases;
}

TEST(CatalogueWire, EveryOperationSendsItsMethodAndParametersInOrder) {
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
