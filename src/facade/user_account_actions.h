#pragma once

#include <functional>
#include <memory>

#include "account/user_util.h"
#include "facade/account_actions.h"

namespace examora {

// The account operations of the facade served from one UserUtil, created on first use and then
// kept. Used by one thread at a time: the presence loop gets an instance of its own.
class UserAccountActions : public AccountActions {
  public:
    static constexpr const char* kVerifyName = "密码验证";
    static constexpr const char* kVerifyReason = "原来密码验证失败！";
    static constexpr const char* kUpdateName = "会员信息修改";
    static constexpr const char* kUpdateReason = "会员信息修改失败！";

    UserAccountActions() = default;
    // Builds the UserUtil on first use (tests hand in one over a scripted service).
    explicit UserAccountActions(std::function<std::unique_ptr<UserUtil>()> makeUserUtil)
        : makeUserUtil_(std::move(makeUserUtil)) {}

    void userLogin(const UserEntity& user, Block<int> block) override;
    void userRegist(const UserEntity& user, Block<int> block) override;
    void updateUserInfo(const UserEntity& user, Block<bool> block) override;
    void changeUserPassword(int userId, const std::string& oldPassword,
                            const std::string& myPassword, Block<bool> block) override;
    void loadUserInfo(int userId, Block<UserEntity> block) override;
    void checkUserName(const std::string& name, Block<bool> block) override;
    void checkEMail(const std::string& email, Block<bool> block) override;
    void checkUserPhone(int userId, const std::string& phone, Block<bool> block) override;
    void sendForgetpasswordEmail(const std::string& email, Block<bool> block) override;
    void userLoginOffWithBlock(Block<bool> block) override;
    void userLoginOnWithBlock(Block<bool> block) override;

    UserUtil& dalUser();

  private:
    std::function<std::unique_ptr<UserUtil>()> makeUserUtil_;
    std::unique_ptr<UserUtil> dalUser_;
};

}  // namespace examora
