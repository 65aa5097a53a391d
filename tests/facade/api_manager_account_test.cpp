#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "app/common_setting.h"
#include "facade/api_manager.h"
#include "service/catalogue_scripted_service.h"
#include "support/store_test_fixture.h"

namespace examora {
namespace {

using testing::ScriptedService;

class ApiManagerAccountTest : public StoreTest {
  protected:
    ApiManagerAccountTest()
        : api([this] {
              ++made;
              auto scripted = std::make_unique<ScriptedService>();
              service = scripted.get();
              return std::make_unique<UserUtil>(std::move(scripted));
          }) {}

    int made = 0;
    ScriptedService* service = nullptr;
    APIManager api;
};

TEST_F(ApiManagerAccountTest, GoingOnlineWithNobodyLoggedInCallsNothing) {
    std::vector<std::string> seen;
    api.userLoginOnWithBlock([&](std::optional<bool> done, std::optional<ExamError> error) {
        seen.push_back(done && !*done && !error ? "NO" : "?");
    });
    EXPECT_EQ(seen, std::vector<std::string>{"NO"});
    EXPECT_EQ(made, 0) << "not even the account object is made";

    CommonSetting::setLoginId(8);
    api.userLoginOnWithBlock([](std::optional<bool>, std::optional<ExamError>) {});
    EXPECT_EQ(service->onlyCall().method, "CustomerLoginOn");
    EXPECT_EQ(CommonSetting::LoginOnlineId(), 0) << "no answer: no online login";
}

TEST_F(ApiManagerAccountTest, AWrongOldPasswordIsTheNamedErrorAndNothingIsChanged) {
    std::optional<ExamError> failure;
    std::optional<bool> result;
    api.checkUserName("x", [](std::optional<bool>, std::optional<ExamError>) {});
    service->calls.clear();
    service->replies = {"false"};
    api.changeUserPassword(8, "old", "new", [&](std::optional<bool> r, std::optional<ExamError> e) {
        result = r, failure = e;
    });
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->name(), "密码验证");
    EXPECT_EQ(failure->reason(), "原来密码验证失败！");
    EXPECT_FALSE(result);
    ASSERT_EQ(service->calls.size(), 1u) << "only the verification went out";
    EXPECT_EQ(made, 1) << "the account object is kept";
}

TEST_F(ApiManagerAccountTest, TheAccountScreensAndThePresenceLoopShareOneAccountObjectSafely) {
    AccountActions& actions = api;
    // Two threads at once: the lock lends the one connection to one of them at a time (the
    // sanitizer build would report a race on the scripted service otherwise).
    std::thread loop([&] {
        for (int i = 0; i < 50; ++i)
            api.getUserStatusMemo(1, [](std::optional<std::string>, std::optional<ExamError>) {});
    });
    for (int i = 0; i < 50; ++i)
        actions.checkEMail("a@b.c", [](std::optional<bool>, std::optional<ExamError>) {});
    loop.join();
    EXPECT_EQ(made, 1);
    EXPECT_EQ(service->calls.size(), 100u);
}

}  // namespace
}  // namespace examora
