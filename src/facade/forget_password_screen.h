#pragma once

#include <functional>
#include <string>

#include "facade/account_actions.h"
#include "facade/views/dialog_view.h"
#include "facade/views/field_view.h"
#include "facade/views/navigation_view.h"
#include "facade/views/tip_view.h"

namespace examora {

// The rules of the password reset screen: an e-mail field tested on leaving it, and "确认重置",
// which asks for confirmation and then has the service mail a reset.
class ForgetPasswordScreen {
  public:
    static constexpr const char* kRoute = "forget_password";
    static constexpr const char* kTitle = "重置密码";
    static constexpr const char* kEmailField = " 请输入您的邮箱";
    static constexpr const char* kResetButton = "确认重置";
    static constexpr const char* kBadEmail = "邮箱格式不正确！";
    static constexpr const char* kUnknownEmail = "不存在的邮箱！";
    static constexpr const char* kNoEmail = "请填写邮件！";
    static constexpr const char* kConfirmTitle = "重置密码";
    static constexpr const char* kConfirmMessage = "确认要重置密码吗？";
    static constexpr const char* kCancel = "取消";
    static constexpr const char* kConfirm = "确认";
    static constexpr const char* kSentTitle = "提示";
    static constexpr const char* kSent = "发送邮件成功，请打开您的邮箱重置您的密码！";
    static constexpr const char* kSentButton = "知道了";
    static constexpr const char* kFailed = "密码重置失败！";

    struct Views {
        FieldView& fields;
        TipView& tip;
        DialogView& dialog;
        NavigationView& navigation;
    };

    // `onReset` gets 1 once the reset mail has been sent, as the screen closes.
    ForgetPasswordScreen(AccountActions& actions, Views views, std::function<void(int)> onReset);

    void fieldLeft(const std::string& field);
    // "确认重置".
    void reset();

  private:
    void send(const std::string& email);

    AccountActions& actions_;
    Views views_;
    std::function<void(int)> onReset_;
};

}  // namespace examora
