// ExamWebServiceUtil: presence and messages (online state, learner messages, phone codes, agents).

#include "service/exam_web_service_util.h"
#include "service/exam_web_service_util_results.h"
#include "store/records/message_entity.h"

namespace examora {

using namespace catalogue;

namespace {

// The text form of a value (numbers as decimal text); null stays null.
Value textOf(const Value& v) {
    return v.isNull() ? Value() : Value(v.asString());
}

// The per-learner message objects name their fields differently from the stored messages;
// each operation maps its object onto the record's own keys.
MessageEntity messageFromInfo(const Dict& object) {
    Dict d{{"cmsgid", textOf(object.get("imsgid"))},
           {"cmsgtitle", object.get("cmsgtitle")},
           {"cmsgurl", object.get("cmsgurl")},
           {"itype", object.get("ctype")}};
    return recordFrom<MessageEntity>(d);
}

MessageEntity messageFromListEntry(const Dict& object) {
    Dict d{{"cmsgid", textOf(object.get("imsgid"))},
           {"cmsgtitle", object.get("cmsgtitle")},
           {"cmsgurl", object.get("cdate")},
           {"itype", textOf(object.get("istatus"))}};
    return recordFrom<MessageEntity>(d);
}

SoapParams userAndMessage(int userId, int msgId) {
    SoapParams p;
    setInt(p, "userId", userId);
    setInt(p, "msgId", msgId);
    return p;
}

}  // namespace

std::pair<int, int> ExamWebServiceUtil::customerLoginOn(
    int cusId, const std::optional<std::string>& machineId) {
    SoapParams p;
    setInt(p, "cusId", cusId);
    setText(p, "machineId", machineId);
    auto parts = getRespondData_MutiResult("CustomerLoginOn", p, 0);
    if (!isPair(parts)) return {0, 0};
    return {toInt((*parts)[0]), toInt((*parts)[1])};
}

void ExamWebServiceUtil::customerLoginOff(int cusId) {
    SoapParams p;
    setInt(p, "cusId", cusId);
    getRespondData("CustomerLoginOff", p);
}

bool ExamWebServiceUtil::checkCustomerOnline(int loginId) {
    SoapParams p;
    setInt(p, "loginId", loginId);
    return boolResult(getRespondData("CheckCustomerOnline", p));
}

std::string ExamWebServiceUtil::getCustomerStatuMemo(int cusId) {
    SoapParams p;
    setInt(p, "cusId", cusId);
    return textOrEmpty(getRespondData("GetCustomerStatuMemo", p));
}

std::string ExamWebServiceUtil::getCustomerMemo(int cusId) {
    SoapParams p;
    setInt(p, "cusId", cusId);
    return textOrEmpty(getRespondData("GetCustomerMemo", p));
}

std::optional<MessageEntity> ExamWebServiceUtil::getNextPhoneMessage(int curMsgId, int courseId,
                                                                     int userId) {
    SoapParams p;
    setInt(p, "curMsgId", curMsgId);
    setInt(p, "courseId", courseId);
    setInt(p, "userId", userId);
    std::optional<Dict> dict = singleObject(jsonResult(getRespondData("GetNextPhoneMessage", p)));
    if (!dict) return std::nullopt;
    return recordFrom<MessageEntity>(*dict);
}

std::optional<MessageEntity> ExamWebServiceUtil::loadPhoneMessageInfo(int msgId) {
    SoapParams p;
    setInt(p, "msgId", msgId);
    std::optional<Dict> dict = singleObject(jsonResult(getRespondData("LoadPhoneMessageInfo", p)));
    if (!dict) return std::nullopt;
    return messageFromInfo(*dict);
}

std::optional<std::vector<MessageEntity>> ExamWebServiceUtil::loadPhoneMessageListByUser(
    int userId, int courseId, int pageSize, int pageIndex) {
    SoapParams p;
    setInt(p, "userId", userId);
    setInt(p, "courseId", courseId);
    setInt(p, "pageSize", pageSize);
    setInt(p, "pageIndex", pageIndex);
    std::optional<nlohmann::json> json = jsonResult(getRespondData("LoadPhoneMessageList", p));
    if (!json || !json->is_array()) return std::nullopt;
    std::vector<MessageEntity> messages;
    for (const nlohmann::json& entry : *json) {
        if (entry.is_object()) messages.push_back(messageFromListEntry(jsonToDict(entry)));
    }
    if (messages.empty()) return std::nullopt;
    return messages;
}

void ExamWebServiceUtil::readPhoneMessage(int userId, int msgId) {
    getRespondData("ReadPhoneMessage", userAndMessage(userId, msgId));
}

int ExamWebServiceUtil::getPhoneMessageStatus(int userId, int msgId) {
    return intResult(getRespondData("GetPhoneMessageStatus", userAndMessage(userId, msgId)));
}

int ExamWebServiceUtil::getPhoneMessageUnReadCount(int userId, int courseId) {
    SoapParams p;
    setInt(p, "userId", userId);
    setInt(p, "courseId", courseId);
    return intResult(getRespondData("GetPhoneMessageUnReadCount", p));
}

bool ExamWebServiceUtil::SendPhoneValidateCode(const std::optional<std::string>& phone) {
    SoapParams p;
    setText(p, "phone", phone);
    return boolResult(getRespondData("SendPhoneValidateCode", p));
}

std::optional<std::string> ExamWebServiceUtil::CheckPhoneValidateCode(
    const std::optional<std::string>& phone, const std::optional<std::string>& code) {
    SoapParams p;
    setText(p, "phone", phone);
    setText(p, "code", code);
    return textResult(getRespondData("CheckPhoneValidateCode", p));
}

std::optional<nlohmann::json> ExamWebServiceUtil::loadAgentInfoByCode(
    const std::optional<std::string>& agentCode, const std::optional<std::string>& time) {
    SoapParams p;
    setText(p, "agentCode", agentCode);
    setText(p, "time", time);
    return jsonResult(getRespondData("LoadAgentInfo", p));
}

}  // namespace examora
