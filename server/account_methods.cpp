// The account methods of the reference exam service.
#include "server/account_methods.h"

#include <memory>
#include <stdexcept>

#include "server/account_store.h"
#include "server/soap_dispatcher.h"
#include "service/exam_web_service_util.h"

namespace examora {

namespace {

long long required(const SoapRequest& r, const char* name) {
    std::optional<long long> n = r.integer(name);
    if (!n) throw std::invalid_argument(std::string("parameter ") + name + " is not a number");
    return *n;
}

ServiceReply boolean(const std::string& method, bool value) {
    return ServiceReply::soapAnswer(method, value ? "true" : "false");
}

ServiceReply number(const std::string& method, long long value) {
    return ServiceReply::soapAnswer(method, std::to_string(value));
}

ServiceReply list(const std::string& method, const DictList& rows) {
    return ServiceReply::soapAnswer(method,
                                    ExamWebServiceUtil::rowsToJSON(rows).dump(
                                        -1, ' ', false, nlohmann::json::error_handler_t::replace));
}

}  // namespace

void AccountMethods::registerWith(SoapDispatcher& d, ServiceStore& store) {
    auto accounts = std::make_shared<AccountStore>(store);

    d.add("CreateNewCustomer_HadQQ", [accounts](const SoapRequest& r) {
        AccountStore::NewAccount a{r.param("cusName"),  r.param("password"),
                                   r.param("email"),    r.param("mobilePhone"),
                                   r.param("qq"),       r.param("districtName"),
                                   r.param("machineId")};
        return number("CreateNewCustomer_HadQQ", accounts->createAccount(a));
    });
    d.add("CustomerLogin", [accounts](const SoapRequest& r) {
        return number("CustomerLogin", accounts->login(r.text("cusName"), r.text("password")));
    });
    d.add("VerifyCustomer", [accounts](const SoapRequest& r) {
        return boolean("VerifyCustomer",
                       accounts->verify(required(r, "cusId"), r.text("password")));
    });
    d.add("ChangePassword", [accounts](const SoapRequest& r) {
        return boolean("ChangePassword",
                       accounts->changePassword(required(r, "cusId"), r.text("newPassword")));
    });
    d.add("ForgetPasswrodByEmail", [accounts](const SoapRequest& r) {
        return boolean("ForgetPasswrodByEmail", accounts->mailPasswordReset(r.text("email")));
    });
    d.add("LoadCustomerInfo", [accounts](const SoapRequest& r) {
        std::optional<Dict> account = accounts->account(required(r, "cusId"));
        return list("LoadCustomerInfo", account ? DictList{*account} : DictList{});
    });
    d.add("EditCustomer_HadQQ", [accounts](const SoapRequest& r) {
        return boolean("EditCustomer_HadQQ",
                       accounts->edit(required(r, "cusId"), r.param("mobilePhone"),
                                      r.param("email"), r.param("qq"), r.param("districtName")));
    });
    d.add("CheckEmail", [accounts](const SoapRequest& r) {
        return boolean("CheckEmail", accounts->emailTaken(r.text("email")));
    });
    d.add("ExistsCusName", [accounts](const SoapRequest& r) {
        return boolean("ExistsCusName", accounts->nameTaken(r.text("cusName")));
    });
    d.add("ExistCustomerPhone", [accounts](const SoapRequest& r) {
        return boolean("ExistCustomerPhone",
                       accounts->phoneFree(required(r, "cusId"), r.text("mobilePhone")));
    });

    d.add("CustomerLoginOn", [accounts](const SoapRequest& r) {
        auto [loginId, open] = accounts->loginOn(required(r, "cusId"), r.text("machineId"));
        return ServiceReply::soapAnswer("CustomerLoginOn", std::to_string(loginId),
                                        {{"loginCount", std::to_string(open)}});
    });
    d.add("CustomerLoginOff", [accounts](const SoapRequest& r) {
        accounts->loginOff(required(r, "cusId"));
        return ServiceReply::soapAnswer("CustomerLoginOff", std::nullopt);
    });
    d.add("CheckCustomerOnline", [accounts](const SoapRequest& r) {
        return boolean("CheckCustomerOnline", accounts->isOnline(required(r, "loginId")));
    });
    d.add("GetCustomerStatuMemo", [accounts](const SoapRequest& r) {
        return ServiceReply::soapAnswer("GetCustomerStatuMemo",
                                        accounts->statusMemo(required(r, "cusId")));
    });
    d.add("GetCustomerMemo", [accounts](const SoapRequest& r) {
        return ServiceReply::soapAnswer("GetCustomerMemo", accounts->memo(required(r, "cusId")));
    });

    d.add("LoadPhoneMessageList", [accounts](const SoapRequest& r) {
        return list("LoadPhoneMessageList",
                    accounts->messages(required(r, "userId"), required(r, "courseId"),
                                       required(r, "pageSize"), required(r, "pageIndex")));
    });
    d.add("ReadPhoneMessage", [accounts](const SoapRequest& r) {
        accounts->markRead(required(r, "userId"), std::to_string(required(r, "msgId")));
        return ServiceReply::soapAnswer("ReadPhoneMessage", std::nullopt);
    });
    d.add("GetPhoneMessageStatus", [accounts](const SoapRequest& r) {
        return number(
            "GetPhoneMessageStatus",
            accounts->messageStatus(required(r, "userId"), std::to_string(required(r, "msgId"))));
    });
    d.add("GetPhoneMessageUnReadCount", [accounts](const SoapRequest& r) {
        return number("GetPhoneMessageUnReadCount",
                      accounts->unreadCount(required(r, "userId"), required(r, "courseId")));
    });
}

}  // namespace examora
