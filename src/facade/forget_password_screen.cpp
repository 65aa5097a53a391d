// ForgetPasswordScreen: the password reset screen's rules.
#include "facade/forget_password_screen.h"

#include "account/account_patterns.h"
#include "platform/text_util.h"

namespace examora {

ForgetPasswordScreen::ForgetPasswordScreen(AccountActions& actions, Views views,
                                           std::function<void(int)> onReset)
    : actions_(actions), views_(views), onReset_(std::move(onReset)) {}

void ForgetPasswordScreen::fieldLeft(const std::string& field) {
    if (field != kEmailField) return;
    const std::string text = views_.fields.fieldText(kEmailField);
    // An empty field has nothing to look up.
    if (isEmpty(std::string_view(text))) return;
    if (!AccountPatterns::isEmail(text)) {
        views_.tip.showTip(kBadEmail);
        return;
    }
    actions_.checkEMail(text, [this](std::optional<bool> known, std::optional<ExamError>) {
        if (known && !*known) {
            views_.fields.setFieldText(kEmailField, std::string());
            views_.tip.showTip(kUnknownEmail);
        }
    });
}

void ForgetPasswordScreen::reset() {
    const std::string email = views_.fields.fieldText(kEmailField);
    if (isEmpty(std::string_view(email))) {
        views_.tip.showTip(kNoEmail);
        return;
    }
    views_.dialog.showDialog(kConfirmTitle, kConfirmMessage, {kCancel, kConfirm},
                             [this, email](int choice) {
                                 if (choice == 1) send(email);
                             });
}

void ForgetPasswordScreen::send(const std::string& email) {
    actions_.sendForgetpasswordEmail(
        email, [this](std::optional<bool> sent, std::optional<ExamError> error) {
            if (error) {
                views_.tip.showTip(error->reason());
            } else if (sent && *sent) {
                views_.dialog.showDialog(kSentTitle, kSent, {kSentButton}, [](int) {});
                if (onReset_) onReset_(1);
                views_.navigation.popScreen();
            } else {
                views_.tip.showTip(kFailed);
            }
        });
}

}  // namespace examora
