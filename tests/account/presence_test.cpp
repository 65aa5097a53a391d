// The presence loop over the facade's online login, and the update check, both driven without
// waiting: the loop's tick returns at once and the test stops it after a set number of ticks.
#include <gtest/gtest.h>

#include "account/app_updater.h"
#include "account/push_service.h"
#include "account_fixture.h"
#include "facade/user_account_actions.h"
#include "platform/global_queue.h"
#include "platform/log.h"
#include "platform/main_queue.h"

namespace examora::testing {
namespace {

// Runs the loop for `ticks` ticks over the scripted service (reachability answered by
// `reachable`) and returns the ticks at which records were uploaded.
class PresenceTest : public AccountTest {
  protected:
    std::vector<int> runLoop(int ticks, bool reachable) {
        std::vector<int> uploads;
        int ticked = 0;
        PushService::Actions loopActions{
            [&]() -> std::optional<bool> {
                ++checks;
                return reachable;
            },
            [&]() -> std::optional<bool> {
                std::optional<bool> result;
                actions_.userLoginOnWithBlock(
                    [&](std::optional<bool> r, std::optional<ExamError>) { result = r; });
                return result;
            },
            [&] { uploads.push_back(ticked); }, [&] { ++downloads; }};
        PushService* self = nullptr;
        PushService loop(
            std::move(loopActions),
            PushService::Options{std::chrono::milliseconds(1), [&](std::chrono::milliseconds) {
                                     if (++ticked > ticks) self->stopService();
                                 }});
        self = &loop;
        loop.startService();
        loop.waitUntilFinished();
        EXPECT_FALSE(loop.isRun());
        MainQueue::shared().runUntilIdle();
        EXPECT_TRUE(log.contains("push service finished"));
        return uploads;
    }

    // Owns the scripted service from the first account call on.
    UserAccountActions actions_{[this] { return std::move(user_); }};
    LogCapture log;
    int checks = 0;
    int downloads = 0;
};

TEST_F(PresenceTest, WithTheServiceDownTheLoopChecksEveryTickAndNeverUploads) {
    CommonSetting::setIsOnline(false);
    CommonSetting::setLoginId(5);
    EXPECT_TRUE(runLoop(15, false).empty());
    EXPECT_EQ(checks, 15);
    EXPECT_TRUE(service_->calls.empty());
    EXPECT_TRUE(log.contains("NET STATUS:OFFLINE"));
    EXPECT_TRUE(log.contains("push service index7"));
    EXPECT_FALSE(log.contains("push service index8"));
}

TEST_F(PresenceTest, WithTheServiceUpAndNobodyLoggedInItUploadsEverySeventhTickOnly) {
    CommonSetting::setIsOnline(false);
    EXPECT_EQ(runLoop(15, true), (std::vector<int>{1, 8, 15}));
    // Once online it stops checking; with nobody logged in there is no online login.
    EXPECT_EQ(checks, 1);
    EXPECT_TRUE(service_->calls.empty());
    EXPECT_EQ(downloads, 0);
}

TEST_F(PresenceTest, GoingOnlineLogsTheLearnerInOnceAndStartsTheBaseDataDownload) {
    CommonSetting::setIsOnline(false);
    CommonSetting::setLoginId(5);
    CommonSetting::setDeviceId("dev");
    service_->multiReplies = {std::vector<std::string>{"41", "1"}};
    runLoop(3, true);
    EXPECT_EQ(methods(), "CustomerLoginOn");
    EXPECT_EQ(wire(service_->calls[0]), "cusId=5 machineId=dev");
    EXPECT_EQ(CommonSetting::LoginOnlineId(), 41);
    EXPECT_EQ(downloads, 1);
}

class VersionTransport : public HttpTransport {
  public:
    HttpResponse perform(const HttpRequest& request) override {
        url = request.url;
        HttpResponse r;
        r.status = 200;
        r.body = body;
        return r;
    }
    std::string url;
    std::string body;
};

struct Shown {
    std::string message;
    std::vector<std::string> buttons;
};

// Runs a check against the description and returns the dialogs shown (answering the first with
// its last button) and the pages opened.
std::pair<std::vector<Shown>, std::vector<std::string>> check(const std::string& description,
                                                              const std::string& own, bool silent) {
    auto transport = std::make_shared<VersionTransport>();
    transport->body = description;
    std::vector<Shown> shown;
    std::vector<std::string> opened;
    AppUpdater updater(
        AppUpdater::Options{"http://127.0.0.1:9/lookup", "http://127.0.0.1:9/store", own,
                            transport},
        [&](const std::string& title, const std::string& message,
            const std::vector<std::string>& buttons, std::function<void(int)> onChoice) {
            EXPECT_EQ(title, "软件更新");
            shown.push_back({message, buttons});
            onChoice(static_cast<int>(buttons.size()) - 1);
        },
        [&](std::string url) { opened.push_back(url); });
    updater.checkUpdate(silent);
    GlobalQueue::waitUntilIdle();
    MainQueue::shared().runUntilIdle();
    EXPECT_EQ(transport->url, "http://127.0.0.1:9/lookup");
    return {shown, opened};
}

TEST(AppUpdater, AnyOtherVersionTextCountsAsNewerAndNothingFoundIsSilentWhenAsked) {
    const std::string v20 = R"({"resultCount":1,"results":[{"version":"2.0"}]})";
    auto [newer, opened] = check(v20, "2.0.0", true);
    ASSERT_EQ(newer.size(), 1u);
    EXPECT_EQ(newer[0].message, "发现新的版本，是否要更新？");
    EXPECT_EQ(newer[0].buttons, (std::vector<std::string>{"取消", "更新"}));
    EXPECT_EQ(opened, (std::vector<std::string>{"http://127.0.0.1:9/store"}));

    for (const std::string& nothing :
         {std::string(R"({"results":[{"version":"2.0"}]})"), std::string(R"({"results":[]})"),
          std::string("<html>"), std::string(R"({"results":[{"v":1}]})")}) {
        EXPECT_TRUE(check(nothing, "2.0", true).first.empty()) << nothing;
        auto [latest, none] = check(nothing, "2.0", false);
        ASSERT_EQ(latest.size(), 1u) << nothing;
        EXPECT_EQ(latest[0].message, "已经是最新版本了");
        EXPECT_EQ(latest[0].buttons, (std::vector<std::string>{"确认"}));
        EXPECT_TRUE(none.empty());
    }
}

}  // namespace
}  // namespace examora::testing
