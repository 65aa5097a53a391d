// A tab's screens and view commands: what the stream carries, and how the browser's events reach
// the screens and their views.

#include "web/web_tab.h"

#include <gtest/gtest.h>

#include "facade/api_manager.h"
#include "facade/user_account_actions.h"
#include "platform/main_queue.h"
#include "support/temp_home.h"
#include "web/page_store.h"
#include "web/remote_page_view.h"
#include "web/web_context.h"
#include "web/web_screen.h"
#include "web/web_timer.h"

namespace examora {
namespace {

using nlohmann::json;

// A screen that records the events it is handed and closes itself on "close".
class ProbeScreen : public WebScreen {
  public:
    ProbeScreen(WebTab& tab, std::vector<std::string>& log)
        : WebScreen(tab, "probe", "探针"), log_(log) {}
    json spec() const override { return {{"note", "<script>x</script>"}}; }
    RemoteViews& remote() { return views(); }

  protected:
    void handle(const json& event) override {
        log_.push_back(event.value("e", ""));
        if (event.value("e", "") == "close") tab().popScreen(id());
    }

  private:
    std::vector<std::string>& log_;
};

class WebTabTest : public ::testing::Test {
  protected:
    WebTabTest()
        : installed_(home_.installTemplate()),
          pages_("/res", "/pic"),
          timer_(queue_),
          context_{api_, accounts_, pages_, timer_,
                   [this](WebTab& tab, const std::string& route, const std::string&) {
                       return route == "probe" ? std::make_unique<ProbeScreen>(tab, log_) : nullptr;
                   }},
          tab_(1, context_) {}

    ProbeScreen& push() {
        auto screen = std::make_unique<ProbeScreen>(tab_, log_);
        ProbeScreen& pushed = *screen;
        tab_.push(std::move(screen));
        return pushed;
    }
    // The commands sent so far, in order.
    std::vector<json> sent() {
        std::vector<json> out;
        while (auto m = tab_.stream()->pop(std::chrono::milliseconds(0)))
            out.push_back(json::parse(*m));
        return out;
    }

    TempHome home_;
    bool installed_;
    APIManager api_;
    UserAccountActions accounts_;
    PageStore pages_;
    MainQueue queue_;
    WebTimer timer_;
    std::vector<std::string> log_;
    WebContext context_;
    WebTab tab_;
};

TEST_F(WebTabTest, PushedScreensAreDescribedAndLearnerTextTravelsAsPlainStrings) {
    ASSERT_TRUE(installed_);
    ProbeScreen& root = push();
    ProbeScreen& top = push();
    top.remote().showRows({{"<img src=x onerror=alert(1)>", "已做 1 题", true}});
    const auto messages = sent();
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages[0]["c"], "screen");
    EXPECT_EQ(messages[0]["op"], "push");
    EXPECT_EQ(messages[0]["screen"], root.id());
    EXPECT_EQ(messages[0]["kind"], "probe");
    EXPECT_EQ(messages[0]["root"], true);
    EXPECT_EQ(messages[0]["spec"]["note"], "<script>x</script>");
    EXPECT_EQ(messages[1]["root"], false);
    EXPECT_EQ(messages[2]["c"], "rows");
    EXPECT_EQ(messages[2]["screen"], top.id());
    EXPECT_EQ(messages[2]["rows"][0]["caption"], "<img src=x onerror=alert(1)>");

    // An unknown route opens nothing and says so.
    tab_.pushRoute("nowhere", "");
    const auto tip = sent();
    ASSERT_EQ(tip.size(), 1u);
    EXPECT_EQ(tip[0]["c"], "tip");
}

TEST_F(WebTabTest, ADialogsChoiceArrivesOnceAndAClosedTabAnswersMinusOne) {
    ProbeScreen& screen = push();
    std::vector<int> first;
    std::vector<int> second;
    screen.remote().showDialog("提示", "是否要回到上次练习的试题？", {"否", "是"},
                               [&](int i) { first.push_back(i); });
    screen.remote().showDialog("退出提示", "您真的要退出吗？", {"取消", "确认"},
                               [&](int i) { second.push_back(i); });
    const auto messages = sent();
    const int firstId = messages[1]["id"];
    const json choice{{"screen", screen.id()}, {"e", "dialog"}, {"id", firstId}, {"index", 1}};
    tab_.dispatch(choice);
    tab_.dispatch(choice);
    EXPECT_EQ(first, std::vector<int>{1});
    EXPECT_TRUE(second.empty());
    tab_.closeAll();
    EXPECT_EQ(second, std::vector<int>{-1});
    EXPECT_EQ(first, std::vector<int>{1});
}

TEST_F(WebTabTest, EventsReachOnlyScreensStillShownAndAScreenMayCloseItself) {
    ProbeScreen& root = push();
    ProbeScreen& top = push();
    const int topId = top.id();
    tab_.dispatch({{"screen", topId}, {"e", "close"}});
    // The screen closed itself while handling the event; it is gone and its events are dropped.
    tab_.dispatch({{"screen", topId}, {"e", "late"}});
    tab_.dispatch({{"screen", std::to_string(root.id())}, {"e", "bad id"}});
    tab_.dispatch({{"e", "no screen"}});
    tab_.dispatch(json::array({1, 2}));
    tab_.dispatch({{"screen", root.id()}, {"e", "kept"}});
    EXPECT_EQ(log_, (std::vector<std::string>{"close", "kept"}));

    // The root stays: there is nothing to go back to.
    tab_.popScreen(root.id());
    tab_.dispatch({{"screen", root.id()}, {"e", "still"}});
    EXPECT_EQ(log_.back(), "still");
    const auto messages = sent();
    EXPECT_EQ(std::count_if(messages.begin(), messages.end(),
                            [](const json& m) { return m.value("op", "") == "pop"; }),
              1);

    // A field of the wrong kind refuses that event only, whichever screen code reads it.
    std::vector<int> choices;
    root.remote().showDialog("提示", "", {"否", "是"}, [&](int i) { choices.push_back(i); });
    const int dialogId = sent().back()["id"];
    tab_.dispatch({{"screen", root.id()}, {"e", "dialog"}, {"id", dialogId}, {"index", "1"}});
    tab_.dispatch({{"screen", root.id()}, {"e", "dialog"}, {"id", std::to_string(dialogId)}});
    EXPECT_TRUE(choices.empty());
    tab_.dispatch({{"screen", root.id()}, {"e", "dialog"}, {"id", dialogId}, {"index", 0}});
    EXPECT_EQ(choices, std::vector<int>{0});
}

TEST_F(WebTabTest, FieldEditsAndListChoicesAreTakenOnlyWhenWellFormed) {
    ProbeScreen& screen = push();
    RemoteViews& views = screen.remote();
    tab_.dispatch({{"screen", screen.id()}, {"e", "field"}, {"name", " 密码"}, {"text", "pa ss"}});
    tab_.dispatch({{"screen", screen.id()}, {"e", "field"}, {"name", " 密码"}, {"text", 5}});
    tab_.dispatch({{"screen", screen.id()}, {"e", "field"}, {"text", "no name"}});
    EXPECT_EQ(views.fieldText(" 密码"), "pa ss");
    EXPECT_EQ(views.fieldText(" 邮箱"), "");

    std::vector<BaseItemEntity> items(3);
    items[0].name = "北京";
    items[1].name = "上海";
    items[2].name = "广州";
    items[0].selected = true;
    std::optional<std::vector<BaseItemEntity>> chosen;
    int calls = 0;
    views.chooseFromList(" 地区选择", items, false, [&](auto result) {
        chosen = std::move(result);
        ++calls;
    });
    const int id = sent().back()["id"];
    tab_.dispatch({{"screen", screen.id()},
                   {"e", "choose"},
                   {"id", id},
                   {"selected", json::array({2, 7, -1, "1"})}});
    ASSERT_EQ(calls, 1);
    ASSERT_TRUE(chosen);
    EXPECT_FALSE((*chosen)[0].selected);
    EXPECT_FALSE((*chosen)[1].selected);
    EXPECT_TRUE((*chosen)[2].selected);

    views.chooseFromList(" 地区选择", items, false, [&](auto result) {
        chosen = std::move(result);
        ++calls;
    });
    const int dismissed = sent().back()["id"];
    tab_.dispatch(
        {{"screen", screen.id()}, {"e", "choose"}, {"id", dismissed}, {"selected", nullptr}});
    EXPECT_EQ(calls, 2);
    EXPECT_FALSE(chosen);
}

TEST_F(WebTabTest, APageAnswersNavigationsOfItsCurrentLoadOnly) {
    ProbeScreen& screen = push();
    RemotePageView view(pages_, screen.remote());
    std::vector<std::string> asked;
    view.setNavigationHandler([&](const std::string& url) {
        asked.push_back(url);
        return false;
    });
    view.loadHTMLString("<p>1</p>", "/res");
    view.loadHTMLString("<p>2</p>", "/res");
    EXPECT_EQ(view.loadNumber(), 2);
    EXPECT_FALSE(view.navigate(1, "ios://doAnswer/A"));
    EXPECT_FALSE(view.navigate(2, "ios://doAnswer/B"));
    EXPECT_EQ(asked, std::vector<std::string>{"ios://doAnswer/B"});

    view.evaluateScript("showanswer(\"<br/>\");");
    const auto messages = sent();
    ASSERT_GE(messages.size(), 3u);
    const json& eval = messages.back();
    EXPECT_EQ(eval["op"], "eval");
    EXPECT_EQ(eval["load"], 2);
    EXPECT_EQ(eval["page"], view.pageId());
    // Two loads of the same text carry the same hash; different texts differ.
    EXPECT_NE(messages[messages.size() - 2]["hash"], messages[messages.size() - 3]["hash"]);
}

}  // namespace
}  // namespace examora
