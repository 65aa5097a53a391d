#pragma once

#include <functional>
#include <optional>
#include <string>

#include "platform/exam_error.h"
#include "store/records/user_entity.h"

namespace examora {

// The account operations the account screens reach, completion-block shaped as the application
// facade offers them: the completion gets (result, no error) or (no result, error) and runs
// before the operation returns. UserAccountActions serves them from UserUtil; the application
// facade may stand behind the same interface.
class AccountActions {
  public:
    template <class T>
    using Block = std::function<void(std::optional<T> result, std::optional<ExamError> error)>;

    virtual ~AccountActions() = default;

    // The log-in result (1 or more: success).
    virtual void userLogin(const UserEntity& user, Block<int> block) = 0;
    // The registration result (1 or more: success).
    virtual void userRegist(const UserEntity& user, Block<int> block) = 0;
    // YES once the service accepted the change; an error when it refused or did not answer.
    virtual void updateUserInfo(const UserEntity& user, Block<bool> block) = 0;
    // Verifies the old password first; when it does not hold, the error "密码验证" /
    // "原来密码验证失败！" and the password stays.
    virtual void changeUserPassword(int userId, const std::string& oldPassword,
                                    const std::string& myPassword, Block<bool> block) = 0;
    // The account record; no result when the service has none.
    virtual void loadUserInfo(int userId, Block<UserEntity> block) = 0;
    virtual void checkUserName(const std::string& name, Block<bool> block) = 0;
    virtual void checkEMail(const std::string& email, Block<bool> block) = 0;
    virtual void checkUserPhone(int userId, const std::string& phone, Block<bool> block) = 0;
    virtual void sendForgetpasswordEmail(const std::string& email, Block<bool> block) = 0;
    // Clears the learner on the device, then ends the online login when there is one.
    virtual void userLoginOffWithBlock(Block<bool> block) = 0;
    // NO, calling nothing, when nobody is logged in; otherwise the online login id becomes the
    // current LoginOnlineId and the result is YES.
    virtual void userLoginOnWithBlock(Block<bool> block) = 0;
};

}  // namespace examora
