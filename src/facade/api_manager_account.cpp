// The facade's account rows: log-in, registration, account data, passwords and online presence.

#include "app/common_setting.h"
#include "facade/api_manager.h"
#include "facade/user_account_actions.h"

namespace examora {

template <class T, class Use>
void APIManager::withDalUser(const AccountActions::Block<T>& block, Use&& use) {
    std::optional<T> result;
    std::optional<ExamError> error;
    try {
        result = dalUser_.with(std::forward<Use>(use));
    } catch (const ExamError& e) {
        error = e;
    }
    if (!block) return;
    if (error) {
        block(std::nullopt, std::move(error));
    } else {
        block(std::move(result), std::nullopt);
    }
}

void APIManager::userLogin(const UserEntity& user, AccountActions::Block<int> block) {
    withDalUser<int>(block, [&](UserUtil& dal) { return dal.userLogin(user); });
}

void APIManager::userRegist(const UserEntity& user, AccountActions::Block<int> block) {
    withDalUser<int>(block, [&](UserUtil& dal) { return dal.regUser(user); });
}

void APIManager::updateUserInfo(const UserEntity& user, AccountActions::Block<bool> block) {
    withDalUser<bool>(block, [&](UserUtil& dal) {
        // A refused or lost update is a failure, never a YES: the screen must not close as if
        // the change had been kept.
        if (!dal.updateUserInfo(user)) {
            throw ExamError(UserAccountActions::kUpdateName, UserAccountActions::kUpdateReason);
        }
        return true;
    });
}

void APIManager::changeUserPassword(int userId, const std::string& oldPassword,
                                    const std::string& myPassword,
                                    AccountActions::Block<bool> block) {
    withDalUser<bool>(block, [&](UserUtil& dal) {
        if (!dal.verifyUser(userId, oldPassword)) throw ExamError(kPasswordName, kPasswordReason);
        return dal.changeUserPassword(userId, myPassword);
    });
}

void APIManager::loadUserInfo(int userId, AccountActions::Block<UserEntity> block) {
    withDalUser<UserEntity>(block, [&](UserUtil& dal) { return dal.loadRemoteUserInfo(userId); });
}

void APIManager::getUserStatusMemo(int userId, AccountActions::Block<std::string> block) {
    withDalUser<std::string>(block, [&](UserUtil& dal) { return dal.getUserStatusMemo(userId); });
}

void APIManager::checkUserName(const std::string& name, AccountActions::Block<bool> block) {
    withDalUser<bool>(block, [&](UserUtil& dal) { return dal.checkUserName(name); });
}

void APIManager::checkEMail(const std::string& email, AccountActions::Block<bool> block) {
    withDalUser<bool>(block, [&](UserUtil& dal) { return dal.checkEmail(email); });
}

void APIManager::checkUserPhone(int userId, const std::string& phone,
                                AccountActions::Block<bool> block) {
    withDalUser<bool>(block, [&](UserUtil& dal) { return dal.checkUserPhone(userId, phone); });
}

void APIManager::sendForgetpasswordEmail(const std::string& email,
                                         AccountActions::Block<bool> block) {
    withDalUser<bool>(block, [&](UserUtil& dal) { return dal.sendForgetpasswordEmail(email); });
}

void APIManager::userLoginOffWithBlock(AccountActions::Block<bool> block) {
    withDalUser<bool>(block, [](UserUtil& dal) {
        UserUtil::deleteLocalUserInfo();
        const int onlineId = CommonSetting::LoginOnlineId();
        if (onlineId >= 1) {
            dal.userLoginOff(onlineId);
            // The ended login must not be ended a second time by the next log-in.
            CommonSetting::setLoginOnlineId(0);
        }
        return true;
    });
}

void APIManager::userLoginOnWithBlock(AccountActions::Block<bool> block) {
    if (CommonSetting::LoginUserId() < 1) {
        if (block) block(false, std::nullopt);
        return;
    }
    std::optional<ExamError> error;
    try {
        CommonSetting::setLoginOnlineId(dalUser_.with([](UserUtil& dal) {
            return dal.userLoginOn(CommonSetting::LoginUserId(), CommonSetting::DeviceId());
        }));
    } catch (const ExamError& e) {
        CommonSetting::setLoginOnlineId(0);
        error = e;
    }
    if (!block) return;
    if (error) {
        block(std::nullopt, std::move(error));
    } else {
        block(true, std::nullopt);
    }
}

}  // namespace examora
