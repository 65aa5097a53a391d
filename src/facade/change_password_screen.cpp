// ChangePasswordScreen: the password change screen's rules.
#include "facade/change_password_screen.h"

#include "app/common_setting.h"
#include "platform/text_util.h"

namespace examora {

ChangePasswordScreen::ChangePasswordScreen(AccountActions& actions, Views views)
    : actions_(actions), views_(views) {}

void ChangePasswordScreen::confirm() {
    const std::string oldPassword = views_.fields.fieldText(kOldField);
    const std::string newPassword = views_.fields.fieldText(kNewField);
    const std::string repeat = views_.fields.fieldText(kRepeatField);
    if (isEmpty(std::string_view(oldPassword))) {
        views_.tip.showTip(kNoOld);
        return;
    }
    if (isEmpty(std::string_view(newPassword))) {
        views_.tip.showTip(kNoNew);
        return;
    }
    if (!equalsIgnoringCase(newPassword, repeat)) {
        views_.tip.showTip(kDiffer);
        return;
    }
    actions_.changeUserPassword(
        CommonSetting::LoginUserId(), oldPassword, newPassword,
        [this](std::optional<bool> changed, std::optional<ExamError> error) {
            if (changed && *changed) {
                views_.navigation.popScreen();
                return;
            }
            views_.tip.showTip(error ? error->reason() : kFailed);
        });
}

}  // namespace examora
