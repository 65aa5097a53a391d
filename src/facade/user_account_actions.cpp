// UserAccountActions: the facade's account operations served from UserUtil.
#include "facade/user_account_actions.h"

#include "app/common_setting.h"

namespace examora {

namespace {

// Runs the work and hands its result to the completion; a named failure raised on the way goes
// to the completion as its error instead.
template <class T, class Work>
void guarded(const AccountActions::Block<T>& block, Work work) {
    std::optional<T> result;
    try {
        result = work();
    } catch (const ExamError& e) {
        block(std::nullopt, e);
        return;
    }
    block(std::move(result), std::nullopt);
}

}  // namespace

UserUtil& UserAccountActions::dalUser() {
    if (!dalUser_) {
        dalUser_ = makeUserUtil_ ? makeUserUtil_() : std::make_unique<UserUtil>();
    }
    return *dalUser_;
}

void UserAccountActions::userLogin(const UserEntity& user, Block<int> block) {
    guarded<int>(block, [&] { return dalUser().userLogin(user); });
}

void UserAccountActions::userRegist(const UserEntity& user, Block<int> block) {
    guarded<int>(block, [&] { return dalUser().regUser(user); });
}

void UserAccountActions::updateUserInfo(const UserEntity& user, Block<bool> block) {
    guarded<bool>(block, [&] {
        // A refused or lost update is a failure, never a YES: the stored values stay.
        if (!dalUser().updateUserInfo(user)) throw ExamError(kUpdateName, kUpdateReason);
        return true;
    });
}

void UserAccountActions::changeUserPassword(int userId, const std::string& oldPassword,
                                            const std::string& myPassword, Block<bool> block) {
    guarded<bool>(block, [&] {
        if (!dalUser().verifyUser(userId, oldPassword)) {
            throw ExamError(kVerifyName, kVerifyReason);
        }
        return dalUser().changeUserPassword(userId, myPassword);
    });
}

void UserAccountActions::loadUserInfo(int userId, Block<UserEntity> block) {
    guarded<UserEntity>(block, [&] { return dalUser().loadRemoteUserInfo(userId); });
}

void UserAccountActions::checkUserName(const std::string& name, Block<bool> block) {
    guarded<bool>(block, [&] { return dalUser().checkUserName(name); });
}

void UserAccountActions::checkEMail(const std::string& email, Block<bool> block) {
    guarded<bool>(block, [&] { return dalUser().checkEmail(email); });
}

void UserAccountActions::checkUserPhone(int userId, const std::string& phone, Block<bool> block) {
    guarded<bool>(block, [&] { return dalUser().checkUserPhone(userId, phone); });
}

void UserAccountActions::sendForgetpasswordEmail(const std::string& email, Block<bool> block) {
    guarded<bool>(block, [&] { return dalUser().sendForgetpasswordEmail(email); });
}

void UserAccountActions::userLoginOffWithBlock(Block<bool> block) {
    guarded<bool>(block, [&] {
        UserUtil::deleteLocalUserInfo();
        const int onlineId = CommonSetting::LoginOnlineId();
        if (onlineId >= 1) {
            dalUser().userLoginOff(onlineId);
            // The ended login must not be ended a second time by the next log-in.
            CommonSetting::setLoginOnlineId(0);
        }
        return true;
    });
}

void UserAccountActions::userLoginOnWithBlock(Block<bool> block) {
    if (CommonSetting::LoginUserId() < 1) {
        block(false, std::nullopt);
        return;
    }
    try {
        CommonSetting::setLoginOnlineId(
            dalUser().userLoginOn(CommonSetting::LoginUserId(), CommonSetting::DeviceId()));
    } catch (const ExamError& e) {
        CommonSetting::setLoginOnlineId(0);
        block(std::nullopt, e);
        return;
    }
    block(true, std::nullopt);
}

}  // namespace examora
