// What operations put on the wire: the service method and the parameter names in the order
// they are written, with numbers in their exact text form. A misspelt name or a parameter in
// the wrong place makes the real service answer nothing. Checked are every method name that
// does not follow from the operation's own (misspellings kept by the service, a method shared
// or renamed), and the parameters of one operation of each argument shape and number format.
#include <gtest/gtest.h>

#include <functional>

#include "catalogue_scripted_service.h"
#include "platform/log.h"
#include "store/records/message_entity.h"
#include "store/records/user_entity.h"

namespace examora {
namespace {

using testing::ScriptedService;
using testing::wire;
using Operation = std::function<void(ScriptedService&)>;

std::string lastDate = "2020-01-02 03:04:05";

TEST(CatalogueWire, MethodsTheServiceNamesItsOwnWay) {
    LogCapture quiet;
    const std::vector<std::pair<Operation, std::string>> cases = {
        {[](auto& s) { s.checkCusName("li"); }, "ExistsCusName"},
        {[](auto& s) { s.checkUserPhone(4, "139"); }, "ExistCustomerPhone"},
        {[](auto& s) { s.editUser(4, "139", "e", "q", "bj"); }, "EditCustomer_HadQQ"},
        {[](auto& s) { s.sendForgetpasswordEmail("e"); }, "ForgetPasswrodByEmail"},
        {[](auto& s) { s.resetPasswordByPhone("139", "new"); }, "ResetPasswrodByPhone"},
        {[](auto& s) { s.sendForgetpasswordByPhone("139"); }, "ForgetPasswrodByPhone"},
        {[](auto& s) { s.userLogin("li", "pw"); }, "CustomerLogin"},
        {[](auto& s) { s.verifyUser(4, "pw"); }, "VerifyCustomer"},
        {[](auto& s) { s.loadUserInfo(4); }, "LoadCustomerInfo"},
        {[](auto& s) { s.loadPhoneMessageListByUser(4, 5, 20, 1); }, "LoadPhoneMessageList"},
        {[](auto& s) { s.loadAgentInfoByCode("A1", "t"); }, "LoadAgentInfo"},
        {[](auto& s) { s.loadNewCourseSubject_HadDistrict(5, 1, "bj", lastDate, true); },
         "LoadNewCourseSubjectGroup_HadDistrict"},
        {[](auto& s) { s.checkIsOnline(5); }, "GetServerTime"},
    };
    for (const auto& [call, method] : cases) {
        SCOPED_TRACE(method);
        ScriptedService service;
        call(service);
        EXPECT_EQ(service.onlyCall().method, method);
    }
}

struct WireCase {
    Operation call;
    std::string method;
    std::string params;
    bool multi = false;
};

TEST(CatalogueWire, EachArgumentShapeSendsItsParametersInOrder) {
    LogCapture quiet;
    const std::vector<WireCase> cases = {
        {[](auto& s) { s.loadRemoteBaseItemChangeList(); }, "LoadRemoteBaseItemChangeList", "-"},
        {[](auto& s) { s.createNewUser("li", "pw", "e", "139", "q", "bj", "dev"); },
         "CreateNewCustomer_HadQQ",
         "cusName=li password=pw email=e mobilePhone=139 qq=q districtName=bj machineId=dev"},
        {[](auto& s) { s.bindUser(4, "dev"); }, "BindCustomer", "cusId=4 machineID=dev"},
        {[](auto& s) { s.searchUserNote(9, 4, 20, 2); }, "SearchUserNote",
         "subjectId=9 userId=4 pageSize=20 pageIndex=2"},
        {[](auto& s) { s.loadNewCourseChapter_HadDistrice(5, 1, "bj", lastDate); },
         "LoadNewCourseChapter_HadDistrice",
         "courseId=5 courseType=1 district=bj lastUpdateDate=" + lastDate, true},
        // Null ids in a list are skipped.
        {[](auto& s) {
             s.loadCourseChapterListInfo(5, {Value(1), Value(), Value("22")});
         },
         "LoadCourseChapterListInfo", "courseId=5 lstChapterId=1,22"},
        {[](auto& s) { s.uploadWriteNote(9000000000L, 9, "n", "d", "4"); }, "UploadWriteNote",
         "noteId=9000000000 subjectId=9 noteText=n changeDate=d userId=4"},
        {[](auto& s) { s.downloadSimulationPaperDetailHistory(Value(std::int64_t{7000000000})); },
         "DownloadSimulationPaperDetailHistory", "serverPaperId=7000000000"},
        {[](auto& s) { s.uploadSimulationLog(5, "c", "4", "ch", 60, 2.5, 100, 3, 0.25, "d"); },
         "UploadSimulationLog",
         "courseId=5 cuscode=c userid=4 chapterName=ch usetime=60 myscore=2.500000 "
         "totalscore=100.000000 testcount=3 prescore=0.250000 time=d"},
    };
    for (const WireCase& c : cases) {
        SCOPED_TRACE(c.method);
        ScriptedService service;
        c.call(service);
        const ScriptedService::Call& call = service.onlyCall();
        EXPECT_EQ(call.method, c.method);
        EXPECT_EQ(wire(call), c.params);
        EXPECT_EQ(call.multi, c.multi);
        EXPECT_EQ(call.timeoutSeconds, 0) << "only the online check sets a time-out";
    }
}

TEST(CatalogueWire, NullTextsAndNullIdsAreNotSentButTheTextNullIs) {
    ScriptedService service;
    service.createNewUser("li", "pw", std::nullopt, "139", std::nullopt, "bj", "dev");
    service.uploadWriteNote(1, 2, "NULL", "d", Value());
    ASSERT_EQ(service.calls.size(), 2u);
    EXPECT_EQ(wire(service.calls[0]),
              "cusName=li password=pw mobilePhone=139 districtName=bj machineId=dev");
    EXPECT_EQ(wire(service.calls[1]), "noteId=1 subjectId=2 noteText=NULL changeDate=d");
}

TEST(CatalogueWire, OnlineCheckWaitsFiveMinutesUnlessGivenASecondOrMore) {
    ScriptedService service;
    for (double seconds : {0.0, 0.5, 10.0, 1.0})
        service.checkIsOnline(seconds);
    std::vector<double> sent;
    for (const ScriptedService::Call& call : service.calls)
        sent.push_back(call.timeoutSeconds);
    EXPECT_EQ(sent, (std::vector<double>{300, 300, 10, 1}));
}

}  // namespace
}  // namespace examora
