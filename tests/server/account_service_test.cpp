// The reference service's accounts, reached the way the client reaches them (UserUtil over SOAP
// on loopback) and, where answers must be compared byte for byte, through its dispatcher.
#include <gtest/gtest.h>

#include <filesystem>

#include "account/user_util.h"
#include "app/common_setting.h"
#include "platform/file_util.h"
#include "platform/log.h"
#include "reference_service_fixture.h"
#include "server/service_store.h"
#include "service/asi_service_args.h"
#include "store/sqlite_connection.h"
#include "support/temp_home.h"

namespace examora {
namespace {

constexpr const char* kSecret = "Pa55-口令";

class AccountServiceTest : public ReferenceServiceTest {
  protected:
    void SetUp() override {
        ReferenceServiceTest::SetUp();
        CommonSetting::setDeviceId("dev-1");
    }

    static UserEntity account(const std::string& name, const std::string& password,
                              const std::string& email = std::string()) {
        UserEntity user;
        user.initWithDict(nullptr);
        user.userName = name;
        user.userPassword = password;
        user.userEmail = email;
        user.userCity = "北京";
        return user;
    }

    // One SOAP call straight to the dispatcher, as the client writes it.
    std::string call(const std::string& method, const std::string& params) {
        return service->dispatcher()
            .handle(
                "<?xml version=\"1.0\" encoding=\"utf-8\"?><soap:Envelope "
                "xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\"><soap:Header>"
                "<MGSoapHeader xmlns=\"http://tempuri.org/\"><UserID>zxexam</UserID>"
                "<Password>583quiz</Password></MGSoapHeader></soap:Header><soap:Body><" +
                    method + " xmlns=\"http://tempuri.org/\">" + params + "</" + method +
                    "></soap:Body></soap:Envelope>",
                "")
            .body;
    }

    DictList customers() {
        DictList rows;
        service->store().read([&](SqliteConnection& db) {
            rows = ServiceStore::rows(db, "select * from customer order by icusid");
        });
        return rows;
    }

    LogCapture log_;
    UserUtil user_;
};

TEST_F(AccountServiceTest, TheClientsAccountCallsRoundTrip) {
    const int li = user_.regUser(account("13912345678", kSecret, "Li@Example.com"));
    ASSERT_GE(li, 1);
    EXPECT_EQ(user_.regUser(account("13912345678", "x")), 0);
    EXPECT_EQ(user_.regUser(account("13800000000", "x", "li@example.COM")), 0);
    const int wang = user_.regUser(account("13800000000", "x", "wang@example.com"));
    ASSERT_GE(wang, 1);
    EXPECT_TRUE(user_.checkUserName("13912345678"));
    EXPECT_FALSE(user_.checkUserName("13700000000"));
    EXPECT_TRUE(user_.checkEmail("LI@example.com"));

    EXPECT_EQ(user_.userLogin(account("li@example.com", kSecret)), li);
    EXPECT_EQ(CommonSetting::LoginUserName(), "13912345678");
    EXPECT_EQ(CommonSetting::District(), "北京");

    UserEntity edited = *user_.loadRemoteUserInfo(li);
    edited.userPhone = "13911112222";
    edited.userCity = "上海";
    EXPECT_TRUE(user_.updateUserInfo(edited));
    EXPECT_FALSE(user_.checkUserPhone(wang, "13911112222"));
    EXPECT_TRUE(user_.checkUserPhone(li, "13911112222"));
    edited.userEmail = "wang@example.com";
    EXPECT_FALSE(user_.updateUserInfo(edited));
    EXPECT_EQ(user_.loadRemoteUserInfo(li)->userEmail, "Li@Example.com");
    EXPECT_EQ(user_.loadRemoteUserInfo(li)->userCity, "上海");

    EXPECT_FALSE(user_.verifyUser(li, "wrong"));
    EXPECT_TRUE(user_.verifyUser(li, kSecret));
    EXPECT_TRUE(user_.changeUserPassword(li, "new-one"));
    EXPECT_EQ(user_.userLogin(account("13912345678", kSecret)), 0);

    const int online = user_.userLoginOn(li, "dev-1");
    EXPECT_GE(online, 1);
    EXPECT_TRUE(user_.checkUserOnline(online));
    user_.userLoginOff(online);
    EXPECT_FALSE(user_.checkUserOnline(online));

    // The reset mail holds a temporary password that logs in beside the old one.
    EXPECT_FALSE(user_.sendForgetpasswordEmail("nobody@example.com"));
    EXPECT_TRUE(user_.sendForgetpasswordEmail("li@example.com"));
    const auto mails = std::filesystem::directory_iterator(home.path() + "/service/mail");
    const std::string mail = TempHome::readFile(mails->path().string());
    const std::size_t at = mail.find("临时密码是 ") + std::string("临时密码是 ").size();
    const std::string temporary = mail.substr(at, 12);
    EXPECT_EQ(user_.userLogin(account("13912345678", temporary)), li);
    EXPECT_EQ(user_.userLogin(account("13912345678", "new-one")), 0);

    for (const std::string& line : log_.lines()) {
        EXPECT_EQ(line.find(kSecret), std::string::npos) << line;
        EXPECT_EQ(line.find(temporary), std::string::npos) << line;
    }
}

TEST_F(AccountServiceTest, PasswordsAreStoredOnlyAsSaltedHashes) {
    ASSERT_GE(user_.regUser(account("13912345678", kSecret)), 1);
    ASSERT_GE(user_.regUser(account("13800000000", kSecret)), 1);
    const DictList rows = customers();
    ASSERT_EQ(rows.size(), 2u);
    const std::string first = rows[0].get("cpasswordhash").asString();
    EXPECT_EQ(first.find(kSecret), std::string::npos);
    EXPECT_EQ(first.rfind("$scrypt$", 0), 0u);
    EXPECT_NE(first, rows[1].get("cpasswordhash").asString());
    const std::string file =
        readFileContent((std::filesystem::path(home.path()) / "service/service.db").string())
            .value_or("");
    EXPECT_EQ(file.find(kSecret), std::string::npos);
}

TEST_F(AccountServiceTest, AWrongPasswordAndAnUnknownNameAnswerAlikeAndFiveFailuresLockTheName) {
    setNow("2026-03-01 10:00:00");
    const int li = user_.regUser(account("13912345678", kSecret));
    ASSERT_GE(li, 1);
    const std::string wrong =
        call("CustomerLogin", "<cusName>13912345678</cusName><password>nope</password>");
    const std::string unknown =
        call("CustomerLogin", "<cusName>13700000000</cusName><password>nope</password>");
    EXPECT_EQ(wrong, unknown);
    EXPECT_NE(wrong.find("<CustomerLoginResult>0</CustomerLoginResult>"), std::string::npos);

    // One failure for the name above; four more within the minute lock it, right password or not.
    setNow("2026-03-01 10:00:30");
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(user_.userLogin(account("13912345678", "nope")), 0);
    EXPECT_EQ(user_.userLogin(account("13912345678", kSecret)), 0);
    setNow("2026-03-01 10:01:29");
    EXPECT_EQ(user_.userLogin(account("13912345678", kSecret)), 0);
    setNow("2026-03-01 10:01:31");
    EXPECT_EQ(user_.userLogin(account("13912345678", kSecret)), li);

    // Failures spread over more than a minute never lock.
    for (const char* at : {"2026-03-01 11:00:00", "2026-03-01 11:00:20", "2026-03-01 11:00:40",
                           "2026-03-01 11:01:00", "2026-03-01 11:01:20"}) {
        setNow(at);
        EXPECT_EQ(user_.userLogin(account("13912345678", "nope")), 0);
    }
    EXPECT_EQ(user_.userLogin(account("13912345678", kSecret)), li);
}

TEST_F(AccountServiceTest, EachLearnerReadsThePublishedMessagesForItself) {
    const int li = user_.regUser(account("13912345678", kSecret));
    service->store().write([](SqliteConnection& db) {
        return db.executeUpdate(
            "insert into sys_message (cmsgid, cmsgtitle, icourseid, dstartdate) values ('3', "
            "'全部课程', 0, '2026-01-01 00:00:00'), ('5', '本课程', 7, '2026-01-02 00:00:00'), "
            "('6', '别的课程', 8, null), ('9', '未开始', 0, '2027-01-01 00:00:00')");
    });
    ExamWebServiceUtil client;
    client.readPhoneMessage(li, 5);
    const auto listed = client.loadPhoneMessageListByUser(li, 7, 20, 1);
    ASSERT_TRUE(listed);
    ASSERT_EQ(listed->size(), 2u);
    EXPECT_EQ((*listed)[0].msgid + " " + (*listed)[0].type + " " + (*listed)[0].msgurl,
              "5 1 2026-01-02 00:00:00");
    EXPECT_EQ((*listed)[1].msgid + " " + (*listed)[1].type, "3 0");
    EXPECT_EQ(client.getPhoneMessageStatus(li, 5), 1);
    EXPECT_EQ(client.getPhoneMessageUnReadCount(li, 7), 1);
    EXPECT_EQ(client.getPhoneMessageUnReadCount(li + 1, 7), 2);
}

}  // namespace
}  // namespace examora
