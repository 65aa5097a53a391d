#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "account/user_util.h"
#include "app/common_setting.h"
#include "app/config_helper.h"
#include "service/catalogue_scripted_service.h"
#include "support/temp_home.h"

namespace examora::testing {

// A fresh home and a UserUtil whose calls go to a scripted service the test reads back.
class AccountTest : public ::testing::Test {
  protected:
    AccountTest() {
        auto scripted = std::make_unique<ScriptedService>();
        service_ = scripted.get();
        user_ = std::make_unique<UserUtil>(std::move(scripted));
    }

    // The service methods called, in order, joined by " ".
    std::string methods() const {
        std::string text;
        for (const auto& call : service_->calls)
            text += (text.empty() ? "" : " ") + call.method;
        return text;
    }

    // The learner as stored on the device: "id name district".
    static std::string stored() {
        return std::to_string(ConfigHelper::getIntValue(ConfigHelper::kUserId)) + " " +
               ConfigHelper::getStringValue(ConfigHelper::kUserName).value_or("-") + " " +
               ConfigHelper::getStringValue(ConfigHelper::kDistrict).value_or("-");
    }

    TempHome home_;
    ScriptedService* service_ = nullptr;
    std::unique_ptr<UserUtil> user_;
};

}  // namespace examora::testing
