// MemberCentreScreen: the member centre's rules.
#include "facade/member_centre_screen.h"

#include "app/common_setting.h"
#include "facade/change_password_screen.h"
#include "facade/member_info_screen.h"

namespace examora {

MemberCentreScreen::MemberCentreScreen(AccountActions& actions, NavigationView& navigation,
                                       std::function<void()> onChanged)
    : actions_(actions), navigation_(navigation), onChanged_(std::move(onChanged)) {}

std::string MemberCentreScreen::memberName() const {
    return CommonSetting::LoginUserName();
}

void MemberCentreScreen::openMemberInfo() {
    navigation_.pushScreen(MemberInfoScreen::kRoute, std::string());
}

void MemberCentreScreen::openPasswordChange() {
    navigation_.pushScreen(ChangePasswordScreen::kRoute, std::string());
}

void MemberCentreScreen::logout() {
    actions_.userLoginOffWithBlock([this](std::optional<bool> done, std::optional<ExamError>) {
        if (!done || !*done) return;
        if (onChanged_) onChanged_();
        navigation_.popScreen();
    });
}

}  // namespace examora
