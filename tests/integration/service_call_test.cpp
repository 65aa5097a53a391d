// Service calls end to end through SOAP on the loopback exam service: what the service receives,
// and what comes back out of real response documents.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <thread>

#include "exam_service/exam_server.h"
#include "exam_service/scripted_responses.h"
#include "service/asi_service_args.h"
#include "service/asi_service_http_request.h"
#include "service/exam_web_service_util.h"

namespace examora {
namespace {

using ::testing::HasSubstr;

// Starts the loopback exam service with scripted responses and points the process-wide service
// defaults at it; stops it and resets the defaults afterwards.
class ServiceCallTest : public ::testing::Test {
  protected:
    void SetUp() override {
        responses = std::make_shared<ScriptedResponses>();
        server = std::make_unique<ExamServer>(responses);
        ASSERT_TRUE(server->start());
        ASIServiceArgs::resetDefaults();
        ASIServiceArgs::useExamService(server->serviceURL());
    }
    void TearDown() override {
        server->stop();
        ASIServiceArgs::resetDefaults();
    }

    std::shared_ptr<ScriptedResponses> responses;
    std::unique_ptr<ExamServer> server;
};

TEST_F(ServiceCallTest, CallReachesTheServiceAsASoap11Request) {
    responses->setResult("GetAppVersion", "3.2.1");
    ExamWebServiceUtil util;
    EXPECT_EQ(util.getRespondData("GetAppVersion", SoapParams{{"appType", "1"}}), "3.2.1");

    auto requests = server->requests();
    ASSERT_EQ(requests.size(), 1u);
    const RecordedRequest& r = requests[0];
    EXPECT_EQ(r.method, "POST");
    EXPECT_EQ(r.path, "/CL.ExamWebService/ExamJsonService.asmx");
    EXPECT_EQ(r.header("SOAPAction"), "http://tempuri.org/GetAppVersion");
    EXPECT_EQ(r.header("Host"), "127.0.0.1:" + std::to_string(server->port()));
    EXPECT_EQ(r.soapMethod, "GetAppVersion");
    EXPECT_EQ(r.soapParams, (std::vector<std::pair<std::string, std::string>>{{"appType", "1"}}));
    EXPECT_THAT(r.body, HasSubstr("<UserID>zxexam</UserID><Password>583quiz</Password>"));
}

TEST_F(ServiceCallTest, TextSurvivesTheRoundTripUnchanged) {
    // The service echoes the parameter back as its result.
    responses->setResponder("UploadWriteNote", [](const RecordedRequest& r) {
        const std::string* text = r.param("noteText");
        return ServiceReply::soapResult("UploadWriteNote", text ? *text : "(missing)");
    });
    ExamWebServiceUtil util;
    for (const std::string value :
         {"a & b <c> d", "line one\r\nline two\n", "笔记 \"quoted\" 'single' ]]> &amp;", ""}) {
        EXPECT_EQ(util.getRespondData("UploadWriteNote", SoapParams{{"noteText", value}}), value);
        ASSERT_TRUE(server->requests().back().param("noteText"));
        EXPECT_EQ(*server->requests().back().param("noteText"), value);
    }
}

TEST_F(ServiceCallTest, MultiResultPartsStayEscapedWhileTheSingleResultIsDecoded) {
    responses->setParts("LoadNewCourseOutline",
                        {{"LoadNewCourseOutlineResult", "[{\"t\":\"A & B\"}]"},
                         {"lastUpdateDate", "2026-03-04 05:06:07"}});
    ExamWebServiceUtil util;
    auto parts = util.getRespondData_MutiResult(
        "LoadNewCourseOutline", SoapParams{{"courseId", "1"}, {"lastUpdateDate", "2000-01-01"}});
    ASSERT_TRUE(parts);
    EXPECT_EQ(*parts, (std::vector<std::string>{"[{\"t\":\"A &amp; B\"}]", "2026-03-04 05:06:07"}));
    EXPECT_EQ(util.getRespondData("LoadNewCourseOutline", std::nullopt), "[{\"t\":\"A & B\"}]");
}

TEST_F(ServiceCallTest, EveryFailureEndsAsAnEmptyResult) {
    ExamWebServiceUtil util;
    responses->setFault("Fault", "Server was unable to process request.");
    EXPECT_EQ(util.getRespondData("Fault", std::nullopt), "");
    EXPECT_FALSE(util.getRespondData_MutiResult("Fault", std::nullopt));

    responses->setRaw("Broken", 200, "<soap:Envelope><soap:Body><BrokenResult>1</Broken");
    EXPECT_EQ(util.getRespondData("Broken", std::nullopt), "");
    EXPECT_FALSE(util.getRespondData_MutiResult("Broken", std::nullopt));
}

TEST_F(ServiceCallTest, TimeOutCutsASlowCallShort) {
    responses->setResult("GetServerTime", "late");
    responses->setDelay("GetServerTime", std::chrono::seconds(20));
    ASIServiceArgs args;
    args.setMethodName("GetServerTime");
    args.setTimeOutSeconds(0.2);
    auto request = ASIServiceHTTPRequest::requestWithArgs(args);
    request.startSynchronous();
    EXPECT_TRUE(request.error());
    EXPECT_EQ(request.ServiceResult().xmlValue(), "");
    // Stopping the service (in TearDown) cuts the held-back reply short instead of waiting.
}

TEST_F(ServiceCallTest, ResponseInAnotherCharsetIsDecoded) {
    const std::string gbkHello = "\xC4\xE3\xBA\xC3";  // 你好
    ServiceReply reply = ServiceReply::soapResult("Greet", gbkHello);
    reply.contentType = "text/xml; charset=GBK";
    responses->setResponder("Greet", [reply](const RecordedRequest&) { return reply; });
    ExamWebServiceUtil util;
    EXPECT_EQ(util.getRespondData("Greet", std::nullopt), "你好");
}

TEST_F(ServiceCallTest, ConcurrentCallsFromSeveralThreads) {
    responses->setResponder("Echo", [](const RecordedRequest& r) {
        return ServiceReply::soapResult("Echo", *r.param("n"));
    });
    std::vector<std::thread> threads;
    std::vector<int> failures(4, 0);
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([t, &failures] {
            ExamWebServiceUtil util;
            for (int i = 0; i < 10; ++i) {
                const std::string n = std::to_string(t * 100 + i);
                if (util.getRespondData("Echo", SoapParams{{"n", n}}) != n) ++failures[t];
            }
        });
    }
    for (std::thread& th : threads)
        th.join();
    EXPECT_EQ(failures, std::vector<int>(4, 0));
}

}  // namespace
}  // namespace examora
