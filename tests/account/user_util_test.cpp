// UserUtil: what log-in, registration and the account update leave on the device, what they send,
// and that the learner's password reaches no log line.
#include <gtest/gtest.h>

#include "account/account_patterns.h"
#include "account_fixture.h"
#include "platform/log.h"
#include "service/asi_service_args.h"
#include "store/records/user_entity.h"

namespace examora::testing {
namespace {

UserEntity account(const std::string& name, const std::string& password) {
    UserEntity user;
    user.initWithDict(nullptr);
    user.userName = name;
    user.userPassword = password;
    return user;
}

TEST_F(AccountTest, LogInEndsTheOldOnlineLoginAndKeepsTheIdWhenTheAccountCannotBeLoaded) {
    CommonSetting::setLoginOnlineId(31);
    UserUtil::updateLocalUserInfo("old", "北京", "3");
    service_->replies = {"", "7", "[]"};  // log-off, log-in, an account list without the account

    EXPECT_EQ(user_->userLogin(account("13912345678", "pw")), 7);
    EXPECT_EQ(methods(), "CustomerLoginOff CustomerLogin LoadCustomerInfo");
    EXPECT_EQ(wire(service_->calls[0]), "cusId=31");
    EXPECT_EQ(CommonSetting::LoginOnlineId(), 0);
    EXPECT_EQ(stored(), "7  ");
    EXPECT_EQ(CommonSetting::LoginUserId(), 7);
    EXPECT_EQ(CommonSetting::LoginUserName(), "");
}

TEST_F(AccountTest, FailedLogInAndRegistrationChangeNothingStored) {
    UserUtil::updateLocalUserInfo("old", "北京", "3");
    service_->replies = {"0", "-1"};
    EXPECT_EQ(user_->userLogin(account("", "")), 0);
    EXPECT_EQ(user_->regUser(account("13912345678", "pw")), -1);
    // The empty name still goes to the service; the registration sends no empty field.
    EXPECT_EQ(wire(service_->calls[0]), "cusName= password=");
    EXPECT_EQ(wire(service_->calls[1]), "cusName=13912345678 password=pw");
    EXPECT_EQ(stored(), "3 old 北京");
}

TEST_F(AccountTest, RegistrationLogsTheNewAccountIn) {
    CommonSetting::setDeviceId("dev-1");
    UserEntity user = account("13912345678", "pw");
    user.userEmail = "a@b.cn";
    user.userCity = "上海";
    service_->replies = {"12"};
    EXPECT_EQ(user_->regUser(user), 12);
    EXPECT_EQ(wire(service_->onlyCall()),
              "cusName=13912345678 password=pw email=a@b.cn districtName=上海 machineId=dev-1");
    EXPECT_EQ(stored(), "12 13912345678 上海");
}

TEST_F(AccountTest, AnAccountUpdateChangesTheStoredLearnerOnlyWhenTheServiceAcceptsIt) {
    UserUtil::updateLocalUserInfo("li", "北京", "4");
    UserEntity edited = account("li-new", "");
    edited.userId = 4;
    edited.userCity = "上海";
    for (const std::string refusal : {"false", "", "anyType{}", "<oops>"}) {
        service_->replies = {refusal};
        EXPECT_FALSE(user_->updateUserInfo(edited)) << refusal;
        EXPECT_EQ(stored(), "4 li 北京") << refusal;
    }
    service_->replies = {"true"};
    EXPECT_TRUE(user_->updateUserInfo(edited));
    EXPECT_EQ(stored(), "4 li-new 上海");
    EXPECT_EQ(CommonSetting::District(), "上海");
}

TEST_F(AccountTest, LocalUserInfoRoundTripsAndLogOutClearsIt) {
    UserUtil::updateLocalUserInfo("li", "北京", "9");
    CommonSetting::reset();
    UserUtil::loadLocalUserInfo();
    EXPECT_EQ(CommonSetting::LoginUserId(), 9);
    EXPECT_EQ(CommonSetting::LoginUserName(), "li");
    UserUtil::deleteLocalUserInfo();
    EXPECT_EQ(stored(), "0  ");
    EXPECT_EQ(CommonSetting::LoginUserId(), 0);
}

// Reaches the transport with every call: the real call layer is in the path.
class RecordingTransport : public HttpTransport {
  public:
    HttpResponse perform(const HttpRequest& request) override {
        requests.push_back(request);
        HttpResponse r;
        r.status = status;
        r.body = body;
        if (!error.empty()) r.error = error;
        return r;
    }
    std::vector<HttpRequest> requests;
    long status = 200;
    std::string body;
    std::string error;
};

TEST_F(AccountTest, TheLearnersPasswordTravelsOnlyInItsParameterAndIsNeverLogged) {
    const std::string secret = "Pa55&<口令>";
    ASIServiceArgs::setHeaderUser("zxexam");
    ASIServiceArgs::setHeaderPassword("583quiz");
    auto transport = std::make_shared<RecordingTransport>();
    auto real = std::make_unique<ExamWebServiceUtil>();
    real->setTransport(transport);
    UserUtil user(std::move(real));

    LogCapture log;
    // A refused connection, an error page, a broken document and a broken JSON answer.
    const std::vector<std::tuple<std::string, long, std::string>> answers = {
        {"connection refused", 0, ""},
        {"", 500, "<html>" + secret + "</html>"},
        {"", 200, "<soap:Envelope"},
        {"", 200,
         "<Envelope><Body><LoadCustomerInfoResponse><LoadCustomerInfoResult>[{\"a\":"
         "</LoadCustomerInfoResult></LoadCustomerInfoResponse></Body></Envelope>"}};
    for (const auto& [error, status, body] : answers) {
        transport->error = error;
        transport->status = status;
        transport->body = body;
        user.userLogin(account("li", secret));
        user.regUser(account("li", secret));
        user.verifyUser(4, secret);
        user.changeUserPassword(4, secret);
        user.loadRemoteUserInfo(4);
    }
    for (const std::string& line : log.lines())
        EXPECT_EQ(line.find("Pa55"), std::string::npos);

    for (const HttpRequest& request : transport->requests) {
        for (const auto& [name, value] : request.headers)
            EXPECT_EQ(value.find("Pa55"), std::string::npos) << name;
        EXPECT_NE(request.body.find("<Password>583quiz</Password>"), std::string::npos);
        const bool carries = request.body.find("Pa55&amp;&lt;口令&gt;") != std::string::npos;
        const std::size_t start = request.body.find("<soap:Body><") + 12;
        const std::string method =
            request.body.substr(start, request.body.find_first_of(" >", start) - start);
        const bool needs = method == "CustomerLogin" || method == "CreateNewCustomer_HadQQ" ||
                           method == "VerifyCustomer" || method == "ChangePassword";
        EXPECT_EQ(carries, needs) << request.body;
    }
}

TEST(AccountPatterns, PhoneNumbersAndAddresses) {
    const std::vector<std::pair<std::string, bool>> phones = {
        {"13912345678", true},   {"19900000000", true},   {"12912345678", false},
        {"1391234567", false},   {"139123456789", false}, {"23912345678", false},
        {" 13912345678", false}, {"1391234567a", false},  {"", false}};
    for (const auto& [text, valid] : phones)
        EXPECT_EQ(AccountPatterns::isPhone(text), valid) << text;

    const std::vector<std::pair<std::string, bool>> emails = {
        {"li.ming@example.com", true},
        {"Li.Ming@Example.COM", true},
        {"a+b/c=d{e}~f@mail.example.cn", true},
        {"\"john..doe\"@example.com", true},
        {"\"a@b\"@example.com", true},
        {"\"a\\\"b\"@example.com", true},
        {"x@[192.168.0.1]", true},
        {"x@[10.0.0.255]", true},
        {"x@a-b.c0", true},
        {"li@example.com.", false},
        {"li.@example.com", false},
        {".li@example.com", false},
        {"li..ming@example.com", false},
        {"li@example", false},
        {"li@-example.com", false},
        {"li@example-.com", false},
        {"x@[300.1.1.1]", false},
        {"\"unclosed@example.com", false},
        {"li ming@example.com", false},
        {"li@@example.com", false},
        {"@example.com", false},
        {"", false},
        {std::string(250, 'a') + "@b.cn", false}};
    for (const auto& [text, valid] : emails)
        EXPECT_EQ(AccountPatterns::isEmail(text), valid) << text;
}

}  // namespace
}  // namespace examora::testing
