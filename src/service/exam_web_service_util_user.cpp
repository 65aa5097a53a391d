// ExamWebServiceUtil: accounts: sign-up, log-in, account data, passwords, other learners' notes.

#include "platform/log.h"
#include "service/exam_web_service_util.h"
#include "service/exam_web_service_util_results.h"
#include "store/records/user_entity.h"

namespace examora {

using namespace catalogue;

bool ExamWebServiceUtil::checkEmail(const std::optional<std::string>& email) {
    SoapParams p;
    setText(p, "email", email);
    return boolResult(getRespondData("CheckEmail", p));
}

bool ExamWebServiceUtil::checkCusName(const std::optional<std::string>& cusName) {
    SoapParams p;
    setText(p, "cusName", cusName);
    return boolResult(getRespondData("ExistsCusName", p));
}

bool ExamWebServiceUtil::checkUserPhone(int cusId, const std::optional<std::string>& mobilePhone) {
    SoapParams p;
    setInt(p, "cusId", cusId);
    setText(p, "mobilePhone", mobilePhone);
    return boolResult(getRespondData("ExistCustomerPhone", p));
}

int ExamWebServiceUtil::createNewUser(const std::optional<std::string>& cusName,
                                      const std::optional<std::string>& password,
                                      const std::optional<std::string>& email,
                                      const std::optional<std::string>& mobilePhone,
                                      const std::optional<std::string>& qq,
                                      const std::optional<std::string>& districtName,
                                      const std::optional<std::string>& machineId) {
    SoapParams p;
    setText(p, "cusName", cusName);
    setText(p, "password", password);
    setText(p, "email", email);
    setText(p, "mobilePhone", mobilePhone);
    setText(p, "qq", qq);
    setText(p, "districtName", districtName);
    setText(p, "machineId", machineId);
    return intResult(getRespondData("CreateNewCustomer_HadQQ", p));
}

bool ExamWebServiceUtil::editUser(int cusId, const std::optional<std::string>& mobilePhone,
                                  const std::optional<std::string>& email,
                                  const std::optional<std::string>& qq,
                                  const std::optional<std::string>& districtName) {
    SoapParams p;
    setInt(p, "cusId", cusId);
    setText(p, "mobilePhone", mobilePhone);
    setText(p, "email", email);
    setText(p, "qq", qq);
    setText(p, "districtName", districtName);
    const std::string answer = getRespondData("EditCustomer_HadQQ", p);
    logf("edituser:%@", answer);
    return boolResult(answer);
}

int ExamWebServiceUtil::userLogin(const std::optional<std::string>& cusName,
                                  const std::optional<std::string>& password) {
    SoapParams p;
    setText(p, "cusName", cusName);
    setText(p, "password", password);
    return intResult(getRespondData("CustomerLogin", p));
}

bool ExamWebServiceUtil::verifyUser(int cusId, const std::optional<std::string>& password) {
    SoapParams p;
    setInt(p, "cusId", cusId);
    setText(p, "password", password);
    return boolResult(getRespondData("VerifyCustomer", p));
}

bool ExamWebServiceUtil::changePassword(int cusId, const std::optional<std::string>& newPassword) {
    SoapParams p;
    setInt(p, "cusId", cusId);
    setText(p, "newPassword", newPassword);
    return boolResult(getRespondData("ChangePassword", p));
}

void ExamWebServiceUtil::bindUser(int cusId, const std::optional<std::string>& machineID) {
    SoapParams p;
    setInt(p, "cusId", cusId);
    setText(p, "machineID", machineID);
    getRespondData("BindCustomer", p);
}

bool ExamWebServiceUtil::sendForgetpasswordEmail(const std::optional<std::string>& email) {
    SoapParams p;
    setText(p, "email", email);
    return boolResult(getRespondData("ForgetPasswrodByEmail", p));
}

std::string ExamWebServiceUtil::sendForgetpasswordByPhone(
    const std::optional<std::string>& mobilePhone) {
    SoapParams p;
    setText(p, "mobilePhone", mobilePhone);
    return textOrEmpty(getRespondData("ForgetPasswrodByPhone", p));
}

bool ExamWebServiceUtil::resetPasswordByPhone(const std::optional<std::string>& mobilePhone,
                                              const std::optional<std::string>& newPassword) {
    SoapParams p;
    setText(p, "mobilePhone", mobilePhone);
    setText(p, "newPassword", newPassword);
    return boolResult(getRespondData("ResetPasswrodByPhone", p));
}

std::optional<UserEntity> ExamWebServiceUtil::loadUserInfo(int cusId) {
    SoapParams p;
    setInt(p, "cusId", cusId);
    std::optional<Dict> dict = singleObject(jsonResult(getRespondData("LoadCustomerInfo", p)));
    if (!dict) return std::nullopt;
    UserEntity user = recordFrom<UserEntity>(*dict);
    // The record stands for the account asked for, whatever id the object carried.
    user.userId = cusId;
    return user;
}

std::optional<nlohmann::json> ExamWebServiceUtil::searchUserNote(int subjectId, const Value& userId,
                                                                 int pageSize, int pageIndex) {
    SoapParams p;
    setInt(p, "subjectId", subjectId);
    setValue(p, "userId", userId);
    setInt(p, "pageSize", pageSize);
    setInt(p, "pageIndex", pageIndex);
    return jsonResult(getRespondData("SearchUserNote", p));
}

}  // namespace examora
