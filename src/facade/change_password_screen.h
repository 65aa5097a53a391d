#pragma once

#include <functional>

#include "facade/account_actions.h"
#include "facade/views/field_view.h"
#include "facade/views/navigation_view.h"
#include "facade/views/tip_view.h"

namespace examora {

// The rules of the password change screen: old password, new password and its repeat (compared
// without regard to letter case); the facade verifies the old password before changing it.
class ChangePasswordScreen {
  public:
    static constexpr const char* kRoute = "change_password";
    static constexpr const char* kTitle = "密码修改";
    static constexpr const char* kOldField = " 请输入原来密码";
    static constexpr const char* kNewField = " 请输入新密码";
    static constexpr const char* kRepeatField = " 请确认新密码";
    static constexpr const char* kConfirmButton = "确认修改";
    static constexpr const char* kNoOld = "请填写原来密码！";
    static constexpr const char* kNoNew = "请填写新密码！";
    static constexpr const char* kDiffer = "两次密码输入不一致！";
    static constexpr const char* kFailed = "密码修改失败！";

    struct Views {
        FieldView& fields;
        TipView& tip;
        NavigationView& navigation;
    };

    ChangePasswordScreen(AccountActions& actions, Views views);

    // "确认修改", for the current learner.
    void confirm();

  private:
    AccountActions& actions_;
    Views views_;
};

}  // namespace examora
