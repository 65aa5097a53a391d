// MemberInfoScreen: the member information screen's rules.
#include "facade/member_info_screen.h"

#include "app/common_setting.h"
#include "facade/item_edit_screen.h"
#include "facade/user_account_actions.h"
#include "platform/global_queue.h"
#include "platform/main_queue.h"

namespace examora {

MemberInfoScreen::MemberInfoScreen(AccountActions& actions, Views views,
                                   DistrictChooser::Districts districts,
                                   std::function<void()> onChanged, LoadActions loadActions)
    : actions_(actions),
      views_(views),
      districts_(std::move(districts)),
      onChanged_(std::move(onChanged)),
      loadActions_(std::move(loadActions)),
      self_(std::make_shared<MemberInfoScreen*>(this)) {
    if (!loadActions_) loadActions_ = [] { return std::make_unique<UserAccountActions>(); };
    views_.buttons.setButtonEnabled(kSubmitButton, false);
}

void MemberInfoScreen::open() {
    std::weak_ptr<MemberInfoScreen*> screen = self_;
    const int userId = CommonSetting::LoginUserId();
    GlobalQueue::async(QueuePriority::Background, [screen, make = loadActions_, userId] {
        std::optional<UserEntity> user;
        const std::unique_ptr<AccountActions> own = make();
        own->loadUserInfo(userId, [&user](std::optional<UserEntity> result,
                                          std::optional<ExamError>) { user = std::move(result); });
        postToMain([screen, user = std::move(user)]() mutable {
            if (std::shared_ptr<MemberInfoScreen*> alive = screen.lock()) {
                (*alive)->loaded(std::move(user));
            }
        });
    });
}

void MemberInfoScreen::loaded(std::optional<UserEntity> user) {
    user_ = std::move(user);
    redraw();
}

void MemberInfoScreen::redraw() {
    if (!user_) {
        views_.rows.showRows({});
        return;
    }
    views_.rows.showRows({{kNameRow, user_->userName, false},
                          {kEmailRow, user_->userEmail, true},
                          {kPhoneRow, user_->userPhone, true},
                          {kDistrictRow, user_->userCity, true}});
}

void MemberInfoScreen::editEmail() {
    if (user_) views_.navigation.pushScreen(ItemEditScreen::kRoute, "0");
}

void MemberInfoScreen::editPhone() {
    if (user_) views_.navigation.pushScreen(ItemEditScreen::kRoute, "1");
}

void MemberInfoScreen::chooseDistrict() {
    if (!user_) return;
    DistrictChooser::choose(views_.chooser, districts_, user_->userCity, [this](std::string name) {
        if (!user_ || name == user_->userCity) return;
        user_->userCity = name;
        markChanged();
    });
}

std::string MemberInfoScreen::itemValue(int kind) const {
    if (!user_) return std::string();
    switch (kind) {
        case ItemEditScreen::kEmail:
            return user_->userEmail;
        case ItemEditScreen::kPhone:
            return user_->userPhone;
        case ItemEditScreen::kPosition:
            return user_->userQQ;
        default:
            return std::string();
    }
}

void MemberInfoScreen::itemEdited(int kind, const std::string& value) {
    if (!user_ || value == itemValue(kind)) return;
    if (kind == ItemEditScreen::kEmail) user_->userEmail = value;
    if (kind == ItemEditScreen::kPhone) user_->userPhone = value;
    if (kind == ItemEditScreen::kPosition) user_->userQQ = value;
    markChanged();
}

void MemberInfoScreen::markChanged() {
    changed_ = true;
    views_.buttons.setButtonEnabled(kSubmitButton, true);
    redraw();
}

void MemberInfoScreen::submit() {
    if (!changed_ || !user_) return;
    views_.dialog.showDialog(kConfirmTitle, kConfirmMessage, {kCancel, kConfirm},
                             [this](int choice) {
                                 if (choice == 1) send();
                             });
}

void MemberInfoScreen::send() {
    actions_.updateUserInfo(*user_,
                            [this](std::optional<bool> done, std::optional<ExamError> error) {
                                if (done && *done) {
                                    if (onChanged_) onChanged_();
                                    views_.navigation.popScreen();
                                    return;
                                }
                                // Nothing was changed: the screen stays, with the edits, for
                                // another try.
                                if (error) views_.tip.showTip(error->reason());
                            });
}

}  // namespace examora
