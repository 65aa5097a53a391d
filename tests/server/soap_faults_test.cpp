// Requests the service must refuse: each gets a complete soap:Fault with status 500, and the
// service goes on serving.
#include <gtest/gtest.h>
#include <httplib.h>

#include "reference_service_fixture.h"

namespace examora {
namespace {

std::string envelope(const std::string& header, const std::string& body) {
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?><soap:Envelope "
           "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
           "xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\"><soap:Header>" +
           header + "</soap:Header><soap:Body>" + body + "</soap:Body></soap:Envelope>";
}

std::string credentials(const std::string& user, const std::string& password) {
    return "<MGSoapHeader xmlns=\"http://tempuri.org/\"><UserID>" + user + "</UserID><Password>" +
           password + "</Password> </MGSoapHeader>";
}

const std::string kGoodHeader = credentials("zxexam", "583quiz");
const std::string kServerTime = "<GetServerTime xmlns=\"http://tempuri.org/\" />";

class SoapFaultTest : public ReferenceServiceTest {
  protected:
    httplib::Result post(const std::string& body, const std::string& action) {
        httplib::Client client("127.0.0.1", service->port());
        httplib::Headers headers;
        if (!action.empty()) headers.emplace("SOAPAction", action);
        return client.Post(ReferenceService::kServicePath, headers, body,
                           "text/xml; charset=utf-8");
    }
};

TEST_F(SoapFaultTest, RefusedRequestsGetAFaultAndTheServiceGoesOn) {
    struct Case {
        const char* what;
        std::string body;
        std::string action;
    } cases[] = {
        {"empty body", "", ""},
        {"not XML", "GetServerTime", ""},
        {"unclosed document", envelope(kGoodHeader, kServerTime).substr(0, 120), ""},
        {"not an envelope", "<GetServerTime xmlns=\"http://tempuri.org/\" />", ""},
        {"entity tricks",
         "<!DOCTYPE x [<!ENTITY a \"aaaa\">]>" + envelope(kGoodHeader, kServerTime), ""},
        {"empty body element", envelope(kGoodHeader, ""), ""},
        {"two calls", envelope(kGoodHeader, kServerTime + kServerTime), ""},
        {"unknown method", envelope(kGoodHeader, "<DropAllTables xmlns=\"http://tempuri.org/\" />"),
         ""},
        {"action names another method", envelope(kGoodHeader, kServerTime),
         "http://tempuri.org/GetAppVersion"},
        {"no header", envelope("", kServerTime), "http://tempuri.org/GetServerTime"},
        {"wrong password", envelope(credentials("zxexam", "583quix"), kServerTime), ""},
        {"wrong user", envelope(credentials("admin", "583quiz"), kServerTime), ""},
        {"bad number",
         envelope(kGoodHeader,
                  "<LoadPhoneMessageInfo xmlns=\"http://tempuri.org/\"><msgId>1; drop"
                  "</msgId></LoadPhoneMessageInfo>"),
         ""},
    };
    for (const Case& c : cases) {
        httplib::Result res = post(c.body, c.action);
        ASSERT_TRUE(res) << c.what;
        EXPECT_EQ(res->status, 500) << c.what;
        EXPECT_NE(res->body.find("<soap:Fault><faultcode>"), std::string::npos) << c.what;
        EXPECT_NE(res->body.find("</soap:Envelope>"), std::string::npos) << c.what;
        EXPECT_EQ(res->body.find("Result>"), std::string::npos) << c.what;
    }
    httplib::Result ok =
        post(envelope(kGoodHeader, kServerTime), "\"http://tempuri.org/GetServerTime\"");
    ASSERT_TRUE(ok);
    EXPECT_EQ(ok->status, 200);
    EXPECT_NE(ok->body.find("<GetServerTimeResult>2026-03-01 08:00:00</GetServerTimeResult>"),
              std::string::npos);
}

}  // namespace
}  // namespace examora
