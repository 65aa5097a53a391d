#pragma once

#include <memory>
#include <optional>
#include <string>

#include "service/exam_web_service_util.h"
#include "store/records/message_entity.h"
#include "store/records/user_entity.h"
#include "store/sqlite_helper.h"

namespace examora {

// The learner's account: sign-up, log-in, account data, passwords and online presence over the
// exam web service, and the account kept on the device (CommonSetting's LoginUserId,
// LoginUserName and District, and the preferences "userid", "username" and "district").
//
// The password travels only in the calls that need it (log-in, registration, verify, change) and
// is never stored, logged or put into an error text. Every service failure ends as the
// operation's empty value (0, false, nullopt, the empty text); nothing here throws.
//
// Owns one ExamWebServiceUtil for its lifetime; one instance is used by one thread at a time.
class UserUtil : public SQLiteHelper {
  public:
    UserUtil();
    // Calls go through `service` (tests hand in a scripted one).
    explicit UserUtil(std::unique_ptr<ExamWebServiceUtil> service);

    // Ends any online login of the previous learner, then logs in with userName and
    // userPassword. On success (an id of 1 or more) the account is loaded and the id, its name
    // and district become the current and stored learner; an account that cannot be loaded
    // leaves the id with an empty name and district. Returns the service's answer unchanged.
    int userLogin(const UserEntity& user);
    // Ends any online login of the previous learner, then creates the account (empty fields are
    // not sent). On success the new account is logged in with the registered name and district.
    int regUser(const UserEntity& user);
    // Sends e-mail, phone, position and district of the account. Only when the service accepts
    // them do the name and district become the current and stored ones; false (nothing changed)
    // when it refused or did not answer.
    bool updateUserInfo(const UserEntity& user);

    bool verifyUser(int userId, const std::string& password);
    bool changeUserPassword(int userId, const std::string& password);
    // True when the address belongs to an account.
    bool checkEmail(const std::string& email);
    // True when the name is taken.
    bool checkUserName(const std::string& name);
    // False when the phone is registered to another account.
    bool checkUserPhone(int userId, const std::string& phone);
    std::optional<UserEntity> loadRemoteUserInfo(int userId);
    std::string getUserStatusMemo(int userId);
    std::string getUserMemo(int userId);
    bool sendForgetpasswordEmail(const std::string& email);
    std::string sendForgetpasswordByPhone(const std::string& phone);

    // The online login id for the account on this device; 0 when the service gave none.
    int userLoginOn(int userId, const std::string& deviceId);
    void userLoginOff(int onlineId);
    bool checkUserOnline(int onlineId);

    std::optional<MessageEntity> getNextPhoneMessage(int curMsgId, int courseId, int userId);
    std::optional<MessageEntity> loadPhoneMessageInfo(int msgId);

    // The learner on the device: the id text read as an integer (0 when it is none), stored
    // under "userid", "username" and "district" and set as the current values.
    static void updateLocalUserInfo(const std::string& name, const std::string& district,
                                    const std::string& idText);
    // The same with the current LoginUserName, District and LoginUserId.
    static void updateLocalUserInfo();
    // The same with three empty texts: nobody is logged in.
    static void deleteLocalUserInfo();
    // The current learner from the stored keys.
    static void loadLocalUserInfo();

  private:
    // Ends the online login of whoever was logged in before.
    void endOnlineLogin();

    std::unique_ptr<ExamWebServiceUtil> service_;
};

}  // namespace examora
