// UserUtil: account operations over the exam web service and the account kept on the device.
#include "account/user_util.h"

#include "app/common_setting.h"
#include "app/config_helper.h"
#include "platform/text_util.h"

namespace examora {

namespace {

// A field the screen left empty is not sent at all.
std::optional<std::string> sent(const std::string& text) {
    if (text.empty()) return std::nullopt;
    return text;
}

}  // namespace

UserUtil::UserUtil() : UserUtil(std::make_unique<ExamWebServiceUtil>()) {}

UserUtil::UserUtil(std::unique_ptr<ExamWebServiceUtil> service) : service_(std::move(service)) {}

void UserUtil::endOnlineLogin() {
    const int onlineId = CommonSetting::LoginOnlineId();
    if (onlineId < 1) return;
    service_->customerLoginOff(onlineId);
    CommonSetting::setLoginOnlineId(0);
}

int UserUtil::userLogin(const UserEntity& user) {
    endOnlineLogin();
    // An empty name is still sent: the service, not the device, decides who exists.
    const int id = service_->userLogin(user.userName, user.userPassword);
    if (id < 1) return id;
    std::optional<UserEntity> account = service_->loadUserInfo(id);
    CommonSetting::setLoginId(id);
    CommonSetting::setLoginUserName(account ? account->userName : std::string());
    CommonSetting::setDistrict(account ? account->userCity : std::string());
    updateLocalUserInfo();
    return id;
}

int UserUtil::regUser(const UserEntity& user) {
    endOnlineLogin();
    const int id = service_->createNewUser(
        sent(user.userName), sent(user.userPassword), sent(user.userEmail), sent(user.userPhone),
        sent(user.userQQ), sent(user.userCity), sent(CommonSetting::DeviceId()));
    if (id < 1) return id;
    CommonSetting::setLoginId(id);
    CommonSetting::setLoginUserName(user.userName);
    CommonSetting::setDistrict(user.userCity);
    updateLocalUserInfo();
    return id;
}

bool UserUtil::updateUserInfo(const UserEntity& user) {
    if (!service_->editUser(user.userId, sent(user.userPhone), sent(user.userEmail),
                            sent(user.userQQ), sent(user.userCity))) {
        return false;
    }
    CommonSetting::setLoginUserName(user.userName);
    CommonSetting::setDistrict(user.userCity);
    updateLocalUserInfo();
    return true;
}

bool UserUtil::verifyUser(int userId, const std::string& password) {
    return service_->verifyUser(userId, password);
}

bool UserUtil::changeUserPassword(int userId, const std::string& password) {
    return service_->changePassword(userId, password);
}

bool UserUtil::checkEmail(const std::string& email) {
    return service_->checkEmail(email);
}

bool UserUtil::checkUserName(const std::string& name) {
    return service_->checkCusName(name);
}

bool UserUtil::checkUserPhone(int userId, const std::string& phone) {
    return service_->checkUserPhone(userId, phone);
}

std::optional<UserEntity> UserUtil::loadRemoteUserInfo(int userId) {
    return service_->loadUserInfo(userId);
}

std::string UserUtil::getUserStatusMemo(int userId) {
    return service_->getCustomerStatuMemo(userId);
}

std::string UserUtil::getUserMemo(int userId) {
    return service_->getCustomerMemo(userId);
}

bool UserUtil::sendForgetpasswordEmail(const std::string& email) {
    return service_->sendForgetpasswordEmail(email);
}

std::string UserUtil::sendForgetpasswordByPhone(const std::string& phone) {
    return service_->sendForgetpasswordByPhone(phone);
}

int UserUtil::userLoginOn(int userId, const std::string& deviceId) {
    return service_->customerLoginOn(userId, deviceId).first;
}

void UserUtil::userLoginOff(int onlineId) {
    service_->customerLoginOff(onlineId);
}

bool UserUtil::checkUserOnline(int onlineId) {
    return service_->checkCustomerOnline(onlineId);
}

std::optional<MessageEntity> UserUtil::getNextPhoneMessage(int curMsgId, int courseId, int userId) {
    return service_->getNextPhoneMessage(curMsgId, courseId, userId);
}

std::optional<MessageEntity> UserUtil::loadPhoneMessageInfo(int msgId) {
    return service_->loadPhoneMessageInfo(msgId);
}

void UserUtil::updateLocalUserInfo(const std::string& name, const std::string& district,
                                   const std::string& idText) {
    const int id = ExamWebServiceUtil::toInt(idText);
    ConfigHelper::updateIntValue(ConfigHelper::kUserId, id);
    ConfigHelper::updateValue(ConfigHelper::kUserName, Value(name));
    ConfigHelper::updateValue(ConfigHelper::kDistrict, Value(district));
    CommonSetting::setLoginId(id);
    CommonSetting::setLoginUserName(name);
    CommonSetting::setDistrict(district);
}

void UserUtil::updateLocalUserInfo() {
    updateLocalUserInfo(CommonSetting::LoginUserName(), CommonSetting::District(),
                        std::to_string(CommonSetting::LoginUserId()));
}

void UserUtil::deleteLocalUserInfo() {
    updateLocalUserInfo(std::string(), std::string(), std::string());
}

void UserUtil::loadLocalUserInfo() {
    ConfigHelper::loadUserConfig();
}

}  // namespace examora
