// RegisterScreen: the registration screen's rules.
#include "facade/register_screen.h"

#include "account/account_patterns.h"
#include "platform/text_util.h"

namespace examora {

RegisterScreen::RegisterScreen(AccountActions& actions, Views views,
                               DistrictChooser::Districts districts,
                               std::function<void(int)> onRegistered)
    : actions_(actions),
      views_(views),
      districts_(std::move(districts)),
      onRegistered_(std::move(onRegistered)) {
    user_.initWithDict(nullptr);
}

void RegisterScreen::fieldLeft(const std::string& field) {
    if (field == kPhoneField) phoneLeft();
    if (field == kEmailField) emailLeft();
    if (field == kPasswordField) user_.userPassword = views_.fields.fieldText(kPasswordField);
    if (field == kRepeatField) repeatLeft();
}

void RegisterScreen::phoneLeft() {
    const std::string text = views_.fields.fieldText(kPhoneField);
    if (isEmpty(std::string_view(text))) {
        user_.userName.clear();
        return;
    }
    if (!AccountPatterns::isPhone(text)) {
        views_.tip.showTip(kBadPhone);
        return;
    }
    // No answer leaves the field as typed.
    actions_.checkUserName(text, [this, text](std::optional<bool> taken, std::optional<ExamError>) {
        if (!taken) return;
        if (*taken) {
            views_.fields.setFieldText(kPhoneField, std::string());
            views_.tip.showTip(kPhoneTaken);
        } else {
            user_.userName = trim(text);
        }
    });
}

void RegisterScreen::emailLeft() {
    const std::string text = views_.fields.fieldText(kEmailField);
    if (isEmpty(std::string_view(text))) {
        user_.userEmail.clear();
        return;
    }
    if (!AccountPatterns::isEmail(text)) {
        views_.tip.showTip(kBadEmail);
        return;
    }
    actions_.checkEMail(text, [this, text](std::optional<bool> taken, std::optional<ExamError>) {
        if (!taken) return;
        if (*taken) {
            views_.fields.setFieldText(kEmailField, std::string());
            views_.tip.showTip(kEmailTaken);
        } else {
            user_.userEmail = text;
        }
    });
}

void RegisterScreen::repeatLeft() {
    const std::string repeat = views_.fields.fieldText(kRepeatField);
    user_.userPassword = views_.fields.fieldText(kPasswordField);
    if (repeat != user_.userPassword) {
        views_.fields.setFieldText(kRepeatField, std::string());
        user_.userMemo.clear();
        views_.tip.showTip(kPasswordsDiffer);
        return;
    }
    user_.userMemo = repeat;
}

void RegisterScreen::chooseDistrict() {
    DistrictChooser::choose(views_.chooser, districts_, user_.userCity, [this](std::string name) {
        user_.userCity = name;
        views_.fields.setFieldText(kDistrictField, name);
    });
}

void RegisterScreen::submit() {
    // The passwords as they stand now, whether or not their fields were left.
    user_.userPassword = views_.fields.fieldText(kPasswordField);
    user_.userMemo = views_.fields.fieldText(kRepeatField);
    const char* refusal = nullptr;
    if (isEmpty(std::string_view(user_.userName))) {
        refusal = kNoPhone;
    } else if (isEmpty(std::string_view(user_.userEmail))) {
        refusal = kNoEmail;
    } else if (isEmpty(std::string_view(user_.userPassword)) ||
               isEmpty(std::string_view(user_.userMemo))) {
        refusal = kNoPassword;
    } else if (user_.userPassword != user_.userMemo) {
        refusal = kPasswordsDiffer;
    }
    if (refusal) {
        views_.tip.showTip(refusal);
        return;
    }
    actions_.userRegist(user_, [this](std::optional<int> result, std::optional<ExamError> error) {
        if (result && *result >= 1) {
            views_.navigation.popScreen();
            if (onRegistered_) onRegistered_(1);
            return;
        }
        views_.tip.showTip(error ? error->reason() : kFailed);
    });
}

}  // namespace examora
