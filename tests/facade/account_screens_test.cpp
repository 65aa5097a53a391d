// The account screens' rules, run against fake views and the facade's account operations over a
// scripted service: what each screen sends, shows and leaves behind.
#include <gtest/gtest.h>

#include "account/user_util.h"
#include "account_screen_fakes.h"
#include "app/common_setting.h"
#include "app/config_helper.h"
#include "facade/change_password_screen.h"
#include "facade/forget_password_screen.h"
#include "facade/item_edit_screen.h"
#include "facade/login_screen.h"
#include "facade/member_centre_screen.h"
#include "facade/member_info_screen.h"
#include "facade/register_screen.h"
#include "facade/user_account_actions.h"
#include "platform/global_queue.h"
#include "platform/log.h"
#include "platform/main_queue.h"
#include "service/catalogue_scripted_service.h"
#include "support/temp_home.h"

namespace examora::testing {
namespace {

class AccountScreensTest : public ::testing::Test {
  protected:
    AccountScreensTest() {
        auto scripted = std::make_unique<ScriptedService>();
        service_ = scripted.get();
        auto held = std::make_shared<std::unique_ptr<ScriptedService>>(std::move(scripted));
        actions_ = std::make_unique<UserAccountActions>(
            [held] { return std::make_unique<UserUtil>(std::move(*held)); });
        // Created on first use: make it now so the scripted service is owned from the start.
        actions_->dalUser();
    }

    std::string methods() const {
        std::string text;
        for (const auto& call : service_->calls)
            text += (text.empty() ? "" : " ") + call.method;
        return text;
    }

    TempHome home_;
    LogCapture log_;
    ScriptedService* service_ = nullptr;
    std::unique_ptr<UserAccountActions> actions_;
    FakeAccountViews v_;
};

TEST_F(AccountScreensTest, LogInSendsWhatWasTypedAndClosesOnlyOnSuccess) {
    int loggedIn = 0;
    LoginScreen screen(*actions_, {v_, v_, v_, v_, v_}, [&] { ++loggedIn; });
    service_->replies = {"0"};
    screen.login();
    EXPECT_EQ(wire(service_->onlyCall()), "cusName= password=");
    EXPECT_EQ(v_.tips, (std::vector<std::string>{"用户不存在或者密码错误！"}));
    EXPECT_FALSE(v_.busy);
    EXPECT_TRUE(v_.buttons["登录"]);
    EXPECT_TRUE(v_.navigation.empty());

    v_.fields = {{LoginScreen::kNameField, "a@b.cn"}, {LoginScreen::kPasswordField, "pw"}};
    service_->replies = {"8", R"([{"icusid":8,"ccusname":"li","cdccode":"北京"}])"};
    screen.login();
    EXPECT_EQ(v_.navigation, (std::vector<std::string>{"pop"}));
    EXPECT_EQ(loggedIn, 1);
    EXPECT_EQ(ConfigHelper::getStringValue("username"), "li");

    screen.registered(1);
    EXPECT_EQ(loggedIn, 2);
}

TEST_F(AccountScreensTest, RegistrationComparesTheRepeatExactlyAndTestsTheFormInOrder) {
    int registered = 0;
    RegisterScreen screen(
        *actions_, {v_, v_, v_, v_},
        [] {
            return std::vector<std::string>{"北京", "上海"};
        },
        [&](int value) { registered = value; });
    v_.fields[RegisterScreen::kPasswordField] = "Secret1";
    v_.fields[RegisterScreen::kRepeatField] = "secret1";
    screen.fieldLeft(RegisterScreen::kRepeatField);
    EXPECT_EQ(v_.tips.back(), "两次密码不一样！");
    EXPECT_EQ(v_.fields[RegisterScreen::kRepeatField], "");

    screen.submit();
    EXPECT_EQ(v_.tips.back(), "请填写手机号码！");
    v_.fields[RegisterScreen::kPhoneField] = "1391234567";
    screen.fieldLeft(RegisterScreen::kPhoneField);
    EXPECT_EQ(v_.tips.back(), "手机格式不正确！");
    v_.fields[RegisterScreen::kPhoneField] = "13912345678";
    service_->replies = {"true", "false"};
    screen.fieldLeft(RegisterScreen::kPhoneField);
    EXPECT_EQ(v_.tips.back(), "手机已经被注册！");
    EXPECT_EQ(v_.fields[RegisterScreen::kPhoneField], "");
    v_.fields[RegisterScreen::kPhoneField] = "13912345678";
    screen.fieldLeft(RegisterScreen::kPhoneField);
    screen.submit();
    EXPECT_EQ(v_.tips.back(), "请填写邮件！");

    v_.fields[RegisterScreen::kEmailField] = "li@example.com";
    service_->replies = {"false"};
    screen.fieldLeft(RegisterScreen::kEmailField);
    v_.districtChoice = "上海";
    screen.chooseDistrict();
    v_.fields[RegisterScreen::kRepeatField] = "secret1";
    screen.submit();
    EXPECT_EQ(v_.tips.back(), "两次密码不一样！");
    EXPECT_EQ(methods(), "ExistsCusName ExistsCusName CheckEmail");

    v_.fields[RegisterScreen::kRepeatField] = "Secret1";
    service_->replies = {"0"};
    screen.submit();
    EXPECT_EQ(v_.tips.back(), "注册失败！");
    service_->replies = {"15"};
    screen.submit();
    EXPECT_EQ(wire(service_->calls.back()),
              "cusName=13912345678 password=Secret1 email=li@example.com districtName=上海");
    EXPECT_EQ(registered, 1);
    EXPECT_EQ(v_.navigation, (std::vector<std::string>{"pop"}));
}

TEST_F(AccountScreensTest, PasswordChangeIgnoresCaseInTheRepeatAndVerifiesTheOldPasswordFirst) {
    CommonSetting::setLoginId(4);
    ChangePasswordScreen screen(*actions_, {v_, v_, v_});
    screen.confirm();
    EXPECT_EQ(v_.tips.back(), "请填写原来密码！");
    v_.fields = {{ChangePasswordScreen::kOldField, "old"}};
    screen.confirm();
    EXPECT_EQ(v_.tips.back(), "请填写新密码！");
    v_.fields[ChangePasswordScreen::kNewField] = "NewPass";
    v_.fields[ChangePasswordScreen::kRepeatField] = "newpasX";
    screen.confirm();
    EXPECT_EQ(v_.tips.back(), "两次密码输入不一致！");
    EXPECT_TRUE(service_->calls.empty());

    v_.fields[ChangePasswordScreen::kRepeatField] = "newpass";
    service_->replies = {"false"};
    screen.confirm();
    EXPECT_EQ(v_.tips.back(), "原来密码验证失败！");
    EXPECT_EQ(methods(), "VerifyCustomer");
    service_->replies = {"true", "false"};
    screen.confirm();
    EXPECT_EQ(v_.tips.back(), "密码修改失败！");
    service_->replies = {"true", "true"};
    screen.confirm();
    EXPECT_EQ(wire(service_->calls.back()), "cusId=4 newPassword=NewPass");
    EXPECT_EQ(v_.navigation, (std::vector<std::string>{"pop"}));
}

TEST_F(AccountScreensTest, ItemEditTakesAnUnchangedValueWithoutAnyCheck) {
    CommonSetting::setLoginId(4);
    std::vector<std::string> accepted;
    auto edit = [&](int kind, const std::string& old, const std::string& value) {
        ItemEditScreen screen(*actions_, {v_, v_, v_}, kind, old,
                              [&](std::string v) { accepted.push_back(v); });
        v_.fields[ItemEditScreen::kValueField] = value;
        screen.confirm();
    };
    edit(ItemEditScreen::kEmail, "Li@Example.com", "li@example.COM");
    edit(ItemEditScreen::kPosition, "", "讲师");
    edit(ItemEditScreen::kInformation, "x", "");
    EXPECT_TRUE(service_->calls.empty());
    EXPECT_EQ(accepted, (std::vector<std::string>{"li@example.COM", "讲师"}));
    EXPECT_TRUE(v_.tips.empty());

    edit(ItemEditScreen::kEmail, "old@example.com", "");
    edit(ItemEditScreen::kPhone, "13900000000", "");
    edit(ItemEditScreen::kPhone, "13900000000", "12900000000");
    edit(ItemEditScreen::kEmail, "old@example.com", "new@");
    EXPECT_EQ(v_.tips, (std::vector<std::string>{"请填写邮件！", "请填写手机！", "手机格式不正确！",
                                                 "邮箱格式不正确！"}));
    EXPECT_TRUE(service_->calls.empty());

    service_->replies = {"false", "true", "true", "false"};
    edit(ItemEditScreen::kPhone, "13900000000", "13911111111");
    edit(ItemEditScreen::kPhone, "13900000000", "13922222222");
    edit(ItemEditScreen::kEmail, "old@example.com", "taken@example.com");
    edit(ItemEditScreen::kEmail, "old@example.com", "free@example.com");
    EXPECT_EQ(wire(service_->calls[0]), "cusId=4 mobilePhone=13911111111");
    EXPECT_EQ(v_.tips.back(), "邮箱已经被注册！");
    EXPECT_EQ(v_.tips[v_.tips.size() - 2], "手机号码已经被注册！");
    EXPECT_EQ(accepted.back(), "free@example.com");
    EXPECT_EQ(accepted[accepted.size() - 2], "13922222222");
}

TEST_F(AccountScreensTest, PasswordResetAsksFirstAndReportsARefusal) {
    int reset = 0;
    ForgetPasswordScreen screen(*actions_, {v_, v_, v_, v_}, [&](int value) { reset = value; });
    screen.reset();
    EXPECT_EQ(v_.tips.back(), "请填写邮件！");
    v_.fields[ForgetPasswordScreen::kEmailField] = "nobody@example.com";
    service_->replies = {"false"};
    screen.fieldLeft(ForgetPasswordScreen::kEmailField);
    EXPECT_EQ(v_.tips.back(), "不存在的邮箱！");
    EXPECT_EQ(v_.fields[ForgetPasswordScreen::kEmailField], "");

    v_.fields[ForgetPasswordScreen::kEmailField] = "li@example.com";
    v_.dialogChoice = "取消";
    screen.reset();
    EXPECT_EQ(methods(), "CheckEmail");
    v_.dialogChoice = "确认";
    service_->replies = {"false"};
    screen.reset();
    EXPECT_EQ(v_.tips.back(), "密码重置失败！");
    EXPECT_EQ(reset, 0);
    service_->replies = {"true"};
    screen.reset();
    EXPECT_EQ(v_.dialogs.back(), "提示/发送邮件成功，请打开您的邮箱重置您的密码！");
    EXPECT_EQ(reset, 1);
    EXPECT_EQ(v_.navigation, (std::vector<std::string>{"pop"}));
}

TEST_F(AccountScreensTest, LogOutWithoutAnOnlineLoginClearsTheDeviceAndCallsNothing) {
    UserUtil::updateLocalUserInfo("li", "北京", "4");
    int changed = 0;
    MemberCentreScreen screen(*actions_, v_, [&] { ++changed; });
    EXPECT_EQ(screen.memberName(), "li");
    screen.logout();
    EXPECT_TRUE(service_->calls.empty());
    EXPECT_EQ(ConfigHelper::getIntValue("userid"), 0);
    EXPECT_EQ(CommonSetting::LoginUserName(), "");
    EXPECT_EQ(changed, 1);

    UserUtil::updateLocalUserInfo("li", "北京", "4");
    CommonSetting::setLoginOnlineId(77);
    screen.logout();
    EXPECT_EQ(wire(service_->onlyCall()), "cusId=77");
    EXPECT_EQ(CommonSetting::LoginOnlineId(), 0);
}

TEST_F(AccountScreensTest, MemberInformationClosesOnlyWhenTheServiceAcceptsTheChange) {
    UserUtil::updateLocalUserInfo("li", "北京", "4");
    int changed = 0;
    MemberInfoScreen screen(
        *actions_, {v_, v_, v_, v_, v_, v_},
        [] {
            return std::vector<std::string>{"北京", "上海"};
        },
        [&] { ++changed; },
        [] {
            // The load's own service: the worker never reaches the screen's account actions.
            auto loading = std::make_unique<ScriptedService>();
            loading->replies = {
                R"([{"icusid":4,"ccusname":"li","ccusemail":"li@example.com","cdccode":"北京"}])"};
            auto held = std::make_shared<std::unique_ptr<ScriptedService>>(std::move(loading));
            return std::make_unique<UserAccountActions>(
                [held] { return std::make_unique<UserUtil>(std::move(*held)); });
        });
    EXPECT_FALSE(v_.buttons["提交修改"]);
    screen.open();
    GlobalQueue::waitUntilIdle();
    MainQueue::shared().runUntilIdle();
    EXPECT_TRUE(service_->calls.empty()) << "the main queue's account actions stay its own";
    ASSERT_EQ(v_.rows.size(), 4u);
    EXPECT_EQ(v_.rows[1].value, "li@example.com");

    screen.itemEdited(ItemEditScreen::kEmail, "new@example.com");
    v_.districtChoice = "上海";
    screen.chooseDistrict();
    EXPECT_TRUE(v_.buttons["提交修改"]);
    EXPECT_EQ(v_.rows[3].value, "上海");

    service_->replies = {"false"};
    screen.submit();
    EXPECT_EQ(v_.dialogs.back(), "会员信息修改/确认要提交修改吗？");
    EXPECT_EQ(v_.tips.back(), "会员信息修改失败！");
    EXPECT_EQ(changed, 0);
    EXPECT_TRUE(v_.navigation.empty());
    EXPECT_EQ(ConfigHelper::getStringValue("district"), "北京");

    service_->replies = {"true"};
    screen.submit();
    EXPECT_EQ(wire(service_->calls.back()), "cusId=4 email=new@example.com districtName=上海");
    EXPECT_EQ(changed, 1);
    EXPECT_EQ(v_.navigation, (std::vector<std::string>{"pop"}));
    EXPECT_EQ(ConfigHelper::getStringValue("district"), "上海");
}

}  // namespace
}  // namespace examora::testing
