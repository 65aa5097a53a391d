#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <mutex>
#include <string>

#include "server/content_loader.h"
#include "server/reference_service.h"
#include "service/asi_service_args.h"
#include "support/temp_home.h"

namespace examora {

// A reference service on a free port of 127.0.0.1 with its store in a temporary folder, a clock
// the test sets, and the client's service defaults pointed at it.
class ReferenceServiceTest : public ::testing::Test {
  protected:
    void SetUp() override {
        service =
            std::make_unique<ReferenceService>(ReferenceServiceOptions{home.path() + "/service"});
        service->setClock([this] {
            std::lock_guard<std::mutex> lock(clockMutex);
            return clockText;
        });
        loader = std::make_unique<ContentLoader>(service->store());
        ASSERT_TRUE(service->start());
        ASIServiceArgs::useExamService(service->serviceURL());
    }
    void TearDown() override {
        service->stop();
        ASIServiceArgs::resetDefaults();
    }

    void setNow(const std::string& now) {
        std::lock_guard<std::mutex> lock(clockMutex);
        clockText = now;
    }

    TempHome home;
    std::mutex clockMutex;
    std::string clockText = "2026-03-01 08:00:00";
    std::unique_ptr<ReferenceService> service;
    std::unique_ptr<ContentLoader> loader;
};

}  // namespace examora
