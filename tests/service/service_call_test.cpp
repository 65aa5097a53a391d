#include <gtest/gtest.h>

#include <memory>

#include "fake_transport.h"
#include "service/asi_service_http_request.h"
#include "service/exam_web_service_util.h"

namespace examora {
namespace {

class ServiceCallTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASIServiceArgs::resetDefaults();
        ASIServiceArgs::setWebServiceURL(
            "http://127.0.0.1:9/CL.ExamWebService/ExamJsonService.asmx");
        util.setTransport(transport);
    }
    void TearDown() override { ASIServiceArgs::resetDefaults(); }

    std::shared_ptr<FakeTransport> transport = std::make_shared<FakeTransport>();
    ExamWebServiceUtil util;
};

TEST_F(ServiceCallTest, TimeOutBelowOneSecondKeepsTheDefault) {
    transport->reply(
        soapEnvelope("<GetServerTimeResponse xmlns=\"http://tempuri.org/\">"
                     "<GetServerTimeResult>2026-01-02 03:04:05</GetServerTimeResult>"
                     "</GetServerTimeResponse>"));
    EXPECT_EQ(util.getRespondData("GetServerTime", std::nullopt, 0), "2026-01-02 03:04:05");
    util.getRespondData("GetServerTime", std::nullopt, 0.5);
    util.getRespondData("GetServerTime", std::nullopt, 10);
    util.getRespondData("GetServerTime", std::nullopt);
    std::vector<double> sent;
    for (const HttpRequest& request : transport->requests)
        sent.push_back(request.timeoutSeconds);
    EXPECT_EQ(sent, (std::vector<double>{120, 120, 10, 120}));
}

TEST_F(ServiceCallTest, ConfiguredRequestCarriesTheDescription) {
    ASIServiceArgs args;
    args.setMethodName("GetAppVersion");
    args.setSoapParam("appType", "1");
    args.setTimeOutSeconds(42);
    args.setDefaultEncoding("GB18030");
    auto request = ASIServiceHTTPRequest::requestWithArgs(args, transport);
    request.initRequestParams();
    const HttpRequest& http = request.configuredRequest();
    EXPECT_EQ(http.url, "http://127.0.0.1:9/CL.ExamWebService/ExamJsonService.asmx");
    EXPECT_EQ(http.method, "POST");
    EXPECT_EQ(http.timeoutSeconds, 42);
    EXPECT_EQ(http.defaultEncoding, "GB18030");
    EXPECT_EQ(http.body, args.requestBodyMessage());
    EXPECT_EQ(http.headers, args.headers());
}

TEST_F(ServiceCallTest, FailedExchangesGiveEmptyResults) {
    // A well-formed result that came with an error status still does not count.
    transport->reply(
        soapEnvelope("<GetServerTimeResponse><GetServerTimeResult>x</GetServerTimeResult>"
                     "</GetServerTimeResponse>"),
        503);
    EXPECT_EQ(util.getRespondData("GetServerTime", std::nullopt), "");

    // A transport error wins even over a complete-looking 200 document (a cut-off transfer).
    const std::string body = transport->response.body;
    transport->fail("Operation timed out");
    transport->response.status = 200;
    transport->response.body = body;
    EXPECT_EQ(util.getRespondData("GetServerTime", std::nullopt), "");
    EXPECT_FALSE(util.getRespondData_MutiResult("GetServerTime", std::nullopt));
}

TEST_F(ServiceCallTest, ResultIsKeptUntilTheDescriptionChanges) {
    transport->reply(
        soapEnvelope("<AResponse><AResult>one</AResult><BResult>two</BResult></AResponse>"));
    ASIServiceArgs args;
    args.setMethodName("A");
    auto request = ASIServiceHTTPRequest::requestWithArgs(args, transport);
    request.startSynchronous();
    EXPECT_EQ(request.ServiceResult().xmlValue(), "one");

    args.setMethodName("B");
    request.setArgs(args);
    EXPECT_EQ(request.ServiceResult().xmlValue(), "two");
    EXPECT_EQ(transport->requests.size(), 1u);
}

TEST_F(ServiceCallTest, DeliveredOnlyWhenTheServiceAnsweredTheMethod) {
    const std::string result = soapEnvelope(
        "<GetServerTimeResponse><GetServerTimeResult>x</GetServerTimeResult>"
        "</GetServerTimeResponse>");
    struct Case {
        const char* what;
        std::string body;
        long status;
        bool delivered;
    };
    const Case cases[] = {
        {"result", result, 200, true},
        // A method that returns null (or nothing) answers without a result element.
        {"no result element", soapEnvelope("<GetServerTimeResponse />"), 200, true},
        {"error status", result, 500, false},
        {"fault", soapEnvelope("<soap:Fault><faultstring>x</faultstring></soap:Fault>"), 200,
         false},
        {"another method's answer", soapEnvelope("<OtherResponse />"), 200, false},
        {"not a document", "<html>proxy error", 200, false},
    };
    for (const Case& c : cases) {
        transport->reply(c.body, c.status);
        util.getRespondData("GetServerTime", std::nullopt);
        EXPECT_EQ(util.lastCallDelivered(), c.delivered) << c.what;
        util.getRespondData_MutiResult("GetServerTime", std::nullopt);
        EXPECT_EQ(util.lastCallDelivered(), c.delivered) << c.what << " (multi)";
    }
}

}  // namespace
}  // namespace examora
