#pragma once

#include <functional>
#include <string>

#include "facade/account_actions.h"
#include "facade/district_chooser.h"
#include "facade/views/field_view.h"
#include "facade/views/list_chooser_view.h"
#include "facade/views/navigation_view.h"
#include "facade/views/tip_view.h"

namespace examora {

// The rules of the registration screen. Phone and e-mail are tested when the learner leaves
// their fields (format, then whether an account already has them); the repeated password is
// compared exactly, letter case included; "注册" tests the whole form before it registers.
class RegisterScreen {
  public:
    static constexpr const char* kRoute = "register";
    static constexpr const char* kTitle = "注册账号";
    static constexpr const char* kPhoneField = " 输入手机号码";
    static constexpr const char* kEmailField = " 邮箱";
    static constexpr const char* kDistrictField = " 地区选择";
    static constexpr const char* kPasswordField = " 密码";
    static constexpr const char* kRepeatField = " 确认密码";
    static constexpr const char* kSubmitButton = "注册";

    static constexpr const char* kBadPhone = "手机格式不正确！";
    static constexpr const char* kPhoneTaken = "手机已经被注册！";
    static constexpr const char* kBadEmail = "邮箱格式不正确！";
    static constexpr const char* kEmailTaken = "邮箱已经被注册！";
    static constexpr const char* kPasswordsDiffer = "两次密码不一样！";
    static constexpr const char* kNoPhone = "请填写手机号码！";
    static constexpr const char* kNoEmail = "请填写邮件！";
    static constexpr const char* kNoPassword = "请填写密码！";
    static constexpr const char* kFailed = "注册失败！";

    struct Views {
        FieldView& fields;
        TipView& tip;
        ListChooserView& chooser;
        NavigationView& navigation;
    };

    // `onRegistered` gets 1 after a successful registration, as the screen closes.
    RegisterScreen(AccountActions& actions, Views views, DistrictChooser::Districts districts,
                   std::function<void(int)> onRegistered);

    // The learner left a field: the phone, e-mail, password and repeat fields are tested.
    void fieldLeft(const std::string& field);
    // " 地区选择" opens the district list.
    void chooseDistrict();
    // "注册".
    void submit();

    // The account as the form holds it so far.
    const UserEntity& user() const { return user_; }

  private:
    void phoneLeft();
    void emailLeft();
    void repeatLeft();

    AccountActions& actions_;
    Views views_;
    DistrictChooser::Districts districts_;
    std::function<void(int)> onRegistered_;
    UserEntity user_;
};

}  // namespace examora
