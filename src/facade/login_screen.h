#pragma once

#include <functional>

#include "facade/account_actions.h"
#include "facade/views/busy_view.h"
#include "facade/views/button_view.h"
#include "facade/views/field_view.h"
#include "facade/views/navigation_view.h"
#include "facade/views/tip_view.h"

namespace examora {

// The rules of the log-in screen: two fields and a button that sends them as typed, with the
// button disabled and a busy mark shown until the answer is in; links to registration and
// password reset.
class LoginScreen {
  public:
    static constexpr const char* kRoute = "login";
    static constexpr const char* kTitle = "登录";
    static constexpr const char* kProductName = "Examora";
    static constexpr const char* kNameField = " 输入手机号码或邮箱";
    static constexpr const char* kPasswordField = " 密码";
    static constexpr const char* kLoginButton = "登录";
    static constexpr const char* kRegisterLink = "免费注册";
    static constexpr const char* kForgetLink = "忘记密码";
    static constexpr const char* kFailed = "用户不存在或者密码错误！";

    struct Views {
        FieldView& fields;
        TipView& tip;
        BusyView& busy;
        ButtonView& buttons;
        NavigationView& navigation;
    };

    // `onLoggedIn` runs after a successful log-in (or registration) has closed the screen.
    LoginScreen(AccountActions& actions, Views views, std::function<void()> onLoggedIn);

    // "登录".
    void login();
    // "免费注册" and "忘记密码" open their screens.
    void openRegistration();
    void openPasswordReset();
    // The registration screen's callback: a registration closes this screen as a log-in does.
    void registered(int value);

  private:
    void finish();

    AccountActions& actions_;
    Views views_;
    std::function<void()> onLoggedIn_;
};

}  // namespace examora
