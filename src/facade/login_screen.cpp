// LoginScreen: the log-in screen's rules.
#include "facade/login_screen.h"

#include "facade/forget_password_screen.h"
#include "facade/register_screen.h"

namespace examora {

LoginScreen::LoginScreen(AccountActions& actions, Views views, std::function<void()> onLoggedIn)
    : actions_(actions), views_(views), onLoggedIn_(std::move(onLoggedIn)) {}

void LoginScreen::login() {
    UserEntity user;
    user.initWithDict(nullptr);
    user.userName = views_.fields.fieldText(kNameField);
    user.userPassword = views_.fields.fieldText(kPasswordField);
    views_.buttons.setButtonEnabled(kLoginButton, false);
    views_.busy.showBusy(std::string());
    actions_.userLogin(user, [this](std::optional<int> result, std::optional<ExamError> error) {
        views_.busy.hideBusy();
        views_.buttons.setButtonEnabled(kLoginButton, true);
        if (result && *result >= 1) {
            finish();
            return;
        }
        views_.tip.showTip(error ? error->reason() : kFailed);
    });
}

void LoginScreen::openRegistration() {
    views_.navigation.pushScreen(RegisterScreen::kRoute, std::string());
}

void LoginScreen::openPasswordReset() {
    views_.navigation.pushScreen(ForgetPasswordScreen::kRoute, std::string());
}

void LoginScreen::registered(int value) {
    if (value >= 1) finish();
}

void LoginScreen::finish() {
    views_.navigation.popScreen();
    if (onLoggedIn_) onLoggedIn_();
}

}  // namespace examora
