#pragma once

#include <functional>
#include <string>

#include "facade/account_actions.h"
#include "facade/views/navigation_view.h"

namespace examora {

// The rules of the member centre: the learner's name, the way to the member information and the
// password change, and the log-out.
class MemberCentreScreen {
  public:
    static constexpr const char* kRoute = "member_centre";
    static constexpr const char* kTitle = "会员中心";
    static constexpr const char* kNameLabel = "会员名称:";
    static constexpr const char* kInfoRow = "个人信息";
    static constexpr const char* kPasswordRow = "修改登录密码";
    static constexpr const char* kLogoutButton = "退出登录";

    // `onChanged` runs after the log-out, as the screen closes.
    MemberCentreScreen(AccountActions& actions, NavigationView& navigation,
                       std::function<void()> onChanged);

    // The current learner's name.
    std::string memberName() const;
    // "个人信息" and "修改登录密码".
    void openMemberInfo();
    void openPasswordChange();
    // "退出登录".
    void logout();

  private:
    AccountActions& actions_;
    NavigationView& navigation_;
    std::function<void()> onChanged_;
};

}  // namespace examora
