#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "exam_service/exam_server.h"
#include "exam_service/scripted_responses.h"
#include "service/asi_service_args.h"

namespace examora {

// Starts the loopback exam service with scripted responses and points the process-wide service
// defaults at it; stops it and resets the defaults afterwards.
class LoopbackServiceTest : public ::testing::Test {
protected:
    void SetUp() override {
        responses = std::make_shared<ScriptedResponses>();
        server = std::make_unique<ExamServer>(responses);
        ASSERT_TRUE(server->start());
        ASIServiceArgs::resetDefaults();
        ASIServiceArgs::setWebServiceURL(server->serviceURL());
        ASIServiceArgs::setNameSapce("http://tempuri.org/");
        ASIServiceArgs::setHeaderUser("zxexam");
        ASIServiceArgs::setHeaderPassword("583quiz");
    }
    void TearDown() override {
        server->stop();
        ASIServiceArgs::resetDefaults();
    }

    std::shared_ptr<ScriptedResponses> responses;
    std::unique_ptr<ExamServer> server;
};

}  // namespace examora
