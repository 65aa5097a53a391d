// The data-exchange screen's rules: log-in required, buttons and busy mark, outcome tip.
#include <gtest/gtest.h>

#include <map>

#include "app/common_setting.h"
#include "facade/data_exchange_screen.h"
#include "facade/fake_views.h"

namespace examora {
namespace {

struct FakeButtons : ButtonView {
    std::map<std::string, bool> enabled;
    void setButtonEnabled(const std::string& caption, bool on) override { enabled[caption] = on; }
};

class DataExchangeScreenTest : public ::testing::Test {
  protected:
    void TearDown() override { CommonSetting::reset(); }

    // A screen whose rows answer `result` and `error`, recording what they saw.
    DataExchangeScreen screen(int result, const ExamError* error) {
        DataExchangeScreen::Actions actions{
            [=, this](bool clear, const DataExchangeScreen::Done& done) {
                calls.push_back(clear ? "upload clear" : "upload");
                busyDuringCall = busy.shown > busy.hidden;
                buttonsDuringCall = buttons.enabled[DataExchangeScreen::kUploadButton] ||
                                    buttons.enabled[DataExchangeScreen::kDownloadButton];
                done(result, error);
            },
            [=, this](const DataExchangeScreen::Done& done) {
                calls.push_back("download");
                done(result, error);
            }};
        return DataExchangeScreen(actions, {tip, busy, buttons});
    }

    FakeTip tip;
    FakeBusy busy;
    FakeButtons buttons;
    std::vector<std::string> calls;
    bool busyDuringCall = false;
    bool buttonsDuringCall = true;
};

TEST_F(DataExchangeScreenTest, NobodyLoggedInRunsNothing) {
    CommonSetting::setLoginId(0);
    DataExchangeScreen s = screen(1, nullptr);
    s.upload(true);
    s.download();
    EXPECT_TRUE(calls.empty());
    EXPECT_EQ(tip.tips, (std::vector<std::string>{"请先登录账号!", "请先登录账号!"}));
    EXPECT_EQ(busy.shown, 0);
}

TEST_F(DataExchangeScreenTest, OutcomeTipFollowsTheRowsAnswer) {
    CommonSetting::setLoginId(7);
    const ExamError failure("同步", "同步失败！");
    struct Case {
        int result;
        const ExamError* error;
        const char* tip;
    };
    for (const Case& c : {Case{1, nullptr, "同步完成！"}, Case{0, &failure, "同步失败！"},
                          Case{0, nullptr, "同步失败！"}}) {
        tip.tips.clear();
        DataExchangeScreen s = screen(c.result, c.error);
        s.upload(false);
        s.download();
        EXPECT_EQ(tip.tips, (std::vector<std::string>{c.tip, c.tip})) << c.tip;
    }
    EXPECT_EQ(calls.front(), "upload");
    // The clear box reaches the row; while it runs nothing else can be pressed.
    DataExchangeScreen s = screen(1, nullptr);
    s.upload(true);
    EXPECT_EQ(calls.back(), "upload clear");
    EXPECT_TRUE(busyDuringCall);
    EXPECT_FALSE(buttonsDuringCall);
    EXPECT_EQ(busy.shown, busy.hidden);
    EXPECT_TRUE(buttons.enabled[DataExchangeScreen::kUploadButton]);
    EXPECT_TRUE(buttons.enabled[DataExchangeScreen::kDownloadButton]);
}

}  // namespace
}  // namespace examora
