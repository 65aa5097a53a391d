// ItemEditScreen: the rules of the screen that edits one account item.
#include "facade/item_edit_screen.h"

#include "account/account_patterns.h"
#include "app/common_setting.h"
#include "platform/text_util.h"

namespace examora {

ItemEditScreen::ItemEditScreen(AccountActions& actions, Views views, int kind, std::string oldValue,
                               std::function<void(std::string)> onAccepted)
    : actions_(actions),
      views_(views),
      kind_(kind),
      oldValue_(std::move(oldValue)),
      onAccepted_(std::move(onAccepted)) {}

const char* ItemEditScreen::title() const {
    switch (kind_) {
        case kEmail:
            return "修改邮箱";
        case kPhone:
            return "修改手机";
        case kPosition:
            return "修改职位";
        default:
            return "修改信息";
    }
}

void ItemEditScreen::confirm() {
    const std::string value = views_.fields.fieldText(kValueField);
    if (isEmpty(std::string_view(value))) {
        if (kind_ == kEmail) views_.tip.showTip(kNoEmail);
        if (kind_ == kPhone) views_.tip.showTip(kNoPhone);
        return;
    }
    if (equalsIgnoringCase(value, oldValue_)) {
        accept(value);
        return;
    }
    // A check that brings no answer does nothing: the learner may try again.
    if (kind_ == kPhone) {
        if (!AccountPatterns::isPhone(value)) {
            views_.tip.showTip(kBadPhone);
            return;
        }
        actions_.checkUserPhone(CommonSetting::LoginUserId(), value,
                                [this, value](std::optional<bool> free, std::optional<ExamError>) {
                                    if (!free) return;
                                    if (*free) {
                                        accept(value);
                                    } else {
                                        views_.tip.showTip(kPhoneTaken);
                                    }
                                });
        return;
    }
    if (kind_ == kEmail) {
        if (!AccountPatterns::isEmail(value)) {
            views_.tip.showTip(kBadEmail);
            return;
        }
        actions_.checkEMail(value,
                            [this, value](std::optional<bool> taken, std::optional<ExamError>) {
                                if (!taken) return;
                                if (*taken) {
                                    views_.tip.showTip(kEmailTaken);
                                } else {
                                    accept(value);
                                }
                            });
        return;
    }
    accept(value);
}

void ItemEditScreen::accept(const std::string& value) {
    if (onAccepted_) onAccepted_(value);
    views_.navigation.popScreen();
}

}  // namespace examora
