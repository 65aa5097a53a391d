// Screens of the web interface over a real store: the practice session's page links, the
// adapters of the facade's screens where their wiring could break (answers to the screen that
// asked, events of the wrong kind), and the data exchange's check box and buttons.

#include <gtest/gtest.h>

#include "app/common_setting.h"
#include "app/config_helper.h"
#include "facade/api_manager.h"
#include "facade/screens/chapter_chooser_screen.h"
#include "facade/screens/clear_data_screen.h"
#include "facade/screens/course_select_screen.h"
#include "facade/screens/page_settings_screen.h"
#include "facade/screens/paper_create_screen.h"
#include "facade/screens/paper_list_screen.h"
#include "facade/user_account_actions.h"
#include "platform/main_queue.h"
#include "store/cus_setting_util.h"
#include "support/course_builder.h"
#include "support/store_test_fixture.h"
#include "web/data_exchange_web_screen.h"
#include "web/list_web_adapters.h"
#include "web/page_store.h"
#include "web/paper_web_adapters.h"
#include "web/practice_web_screen.h"
#include "web/web_context.h"
#include "web/web_routes.h"
#include "web/web_tab.h"
#include "web/web_timer.h"

namespace examora {
namespace {

using nlohmann::json;

class WebScreensTest : public StoreTest {
  protected:
    WebScreensTest()
        : pages_("/res", "/pic"),
          timer_(queue_),
          context_{api_, accounts_, pages_, timer_, WebRoutes::make},
          tab_(1, context_) {}

    std::vector<json> sent() {
        std::vector<json> out;
        while (auto m = tab_.stream()->pop(std::chrono::milliseconds(0))) {
            out.push_back(json::parse(*m));
        }
        return out;
    }
    static std::vector<json> only(const std::vector<json>& messages, const std::string& command) {
        std::vector<json> out;
        for (const auto& m : messages) {
            if (m["c"] == command) out.push_back(m);
        }
        return out;
    }

    CourseBuilder build_;
    APIManager api_;
    UserAccountActions accounts_;
    PageStore pages_;
    MainQueue queue_;
    WebTimer timer_;
    WebContext context_;
    WebTab tab_;
};

TEST_F(WebScreensTest, OnlyTheCurrentPagesLatestLoadAnswersAndGetsItsFeedback) {
    const int course = build_.course(1);
    CommonSetting::setCourseId(course);
    const int chapter = build_.chapters(course, 0, {"01"})[0];
    NewSubject subject;
    subject.courseId = course;
    subject.chapterId = chapter;
    const std::vector<int> ids = build_.subjects(3, subject);

    auto screen = std::make_unique<PracticeWebScreen>(tab_, 0, chapter, 0, SubjectFilter());
    const int screenId = screen->id();
    tab_.push(std::move(screen));
    const auto opened = sent();

    const json push = only(opened, "screen").front();
    const json bars = only(opened, "bars").front();
    EXPECT_EQ(bars["bottom"], json({"上一题", "提交试卷", "下一题"}));
    // The slot placed at the strip's start shows the first subject; the one after it the next.
    std::map<int, double> placed;
    for (const auto& m : only(opened, "pager")) {
        if (m["op"] == "place" && !m["x"].is_null()) placed[m["slot"]] = m["x"];
    }
    int current = -1;
    int next = -1;
    for (const auto& [slot, x] : placed) {
        if (x == 0) current = push["spec"]["pages"][slot];
        if (x > 0) next = push["spec"]["pages"][slot];
    }
    ASSERT_GE(current, 1);
    ASSERT_GE(next, 1);
    int load = 0;
    for (const auto& m : only(opened, "page")) {
        if (m["page"] == current && m["op"] == "load") load = m["load"];
    }
    ASSERT_GE(load, 1);

    const auto link = [&](int page, int withLoad, const std::string& url) {
        tab_.dispatch({{"screen", screenId},
                       {"e", "link"},
                       {"page", page},
                       {"load", withLoad},
                       {"url", url}});
        return only(sent(), "page");
    };
    // A load the frame has moved on from, and the page prepared beside it, act on nothing.
    EXPECT_TRUE(link(current, load - 1, "ios://doAnswer/B").empty());
    EXPECT_TRUE(link(next, 1, "ios://doAnswer/B").empty());
    EXPECT_EQ(count("coursesubject", "cmyanswer<>''"), 0);

    const auto feedback = link(current, load, "ios://doAnswer/A");
    ASSERT_EQ(feedback.size(), 1u);
    EXPECT_EQ(feedback[0]["op"], "eval");
    EXPECT_EQ(feedback[0]["page"], current);
    EXPECT_NE(feedback[0]["script"].get<std::string>().find("showanswer("), std::string::npos);
    EXPECT_EQ(count("coursesubject", "cmyanswer='A' and isubjectid=" + std::to_string(ids.front())),
              1);
}

TEST_F(WebScreensTest, SettingsTellTheSessionOnceOnClosingWhetherAnythingChanged) {
    CusSettingUtil::setSettingValue("ishowmode", "0");
    std::vector<bool> closed;
    const auto open = [&] {
        auto settings = paper_web_adapters::pageSettings(
            tab_, [&](bool changed) { closed.push_back(changed); });
        const int id = settings->id();
        tab_.push(std::move(settings));
        return id;
    };
    tab_.push(paper_web_adapters::pageSettings(tab_, nullptr));  // the root stays beneath
    const int id = open();
    tab_.dispatch({{"screen", id},
                   {"e", "switch"},
                   {"caption", PageSettingsScreen::kNightModeSwitch},
                   {"on", true}});
    EXPECT_EQ(CusSettingUtil::getSettingValue("ishowmode"), "1");
    tab_.dispatch({{"screen", id}, {"e", "back"}});
    // A second back of the closed screen reaches nothing.
    tab_.dispatch({{"screen", id}, {"e", "back"}});
    EXPECT_EQ(closed, std::vector<bool>{true});

    const int again = open();
    tab_.dispatch({{"screen", again}, {"e", "back"}});
    EXPECT_EQ(closed, (std::vector<bool>{true, false}));
}

TEST_F(WebScreensTest, EventsOfTheWrongKindAreRefusedAndTheScreenGoesOn) {
    auto screen = paper_web_adapters::clearData(tab_);
    const int id = screen->id();
    tab_.setRoot(std::move(screen));
    sent();
    const std::vector<json> refused = {
        {{"screen", id}, {"e", "switch"}, {"caption", ClearDataScreen::kPapers}, {"on", "1"}},
        {{"screen", id}, {"e", "switch"}, {"caption", 7}, {"on", true}},
        {{"screen", id}, {"e", 5}},
        {{"screen", id}, {"e", "action"}, {"caption", json::array()}},
        {{"screen", id}, {"e", "nothing-known"}},
    };
    for (const json& event : refused) {
        tab_.dispatch(event);
        EXPECT_TRUE(sent().empty()) << event.dump();
    }
    tab_.dispatch(
        {{"screen", id}, {"e", "switch"}, {"caption", ClearDataScreen::kPapers}, {"on", true}});
    const auto switches = only(sent(), "switch");
    ASSERT_EQ(switches.size(), 1u);
    EXPECT_EQ(switches[0]["on"], true);
    tab_.dispatch({{"screen", id}, {"e", "action"}, {"caption", ClearDataScreen::kClearButton}});
    EXPECT_EQ(only(sent(), "dialog").size(), 1u);
}

TEST_F(WebScreensTest, TheChapterChooserAnswersTheFormThatOpenedItAndTheFormTheList) {
    const int course = build_.course(3);
    CommonSetting::setCourseId(course);
    build_.chapters(course, 0, {"01", "02"});
    auto list = paper_web_adapters::paperList(tab_);
    const int listId = list->id();
    tab_.setRoot(std::move(list));
    tab_.dispatch(
        {{"screen", listId}, {"e", "action"}, {"caption", PaperListScreen::kCreateButton}});
    ASSERT_NE(tab_.top()->id(), listId);
    const int formId = tab_.top()->id();
    sent();
    tab_.dispatch({{"screen", formId},
                   {"e", "row"},
                   {"index", 1},
                   {"caption", PaperCreateScreen::kChaptersRow}});
    const int chooserId = tab_.top()->id();
    ASSERT_NE(chooserId, formId);
    tab_.dispatch(
        {{"screen", chooserId}, {"e", "action"}, {"caption", ChapterChooserScreen::kSelectAll}});
    sent();
    tab_.dispatch({{"screen", chooserId}, {"e", "back"}});
    EXPECT_EQ(tab_.top()->id(), formId);
    const auto rows = only(sent(), "rows");
    ASSERT_FALSE(rows.empty());
    const json chapters = rows.back()["rows"][1];
    EXPECT_EQ(chapters["caption"], PaperCreateScreen::kChaptersRow);
    EXPECT_NE(chapters["value"], PaperCreateScreen::kChaptersHint);
}

TEST_F(WebScreensTest, TheFirstCourseChosenOpensTheMainScreenOnIt) {
    const int course = build_.course(7, "经济法基础");
    auto select = WebRoutes::make(tab_, CourseSelectScreen::kRoute, std::string());
    const int id = select->id();
    tab_.setRoot(std::move(select));
    tab_.dispatch({{"screen", id}, {"e", "field"}, {"name", "课程名称"}, {"text", "经济法"}});
    tab_.dispatch({{"screen", id}, {"e", "action"}, {"caption", "搜索"}});
    const auto rows = only(sent(), "rows");
    ASSERT_FALSE(rows.empty());
    ASSERT_EQ(rows.back()["rows"].size(), 1u);
    EXPECT_EQ(rows.back()["rows"][0]["caption"], "经济法基础");

    tab_.dispatch({{"screen", id}, {"e", "row"}, {"index", 3}});
    EXPECT_EQ(CommonSetting::CourseId(), 0);
    tab_.dispatch({{"screen", id}, {"e", "row"}, {"index", 0}});
    EXPECT_EQ(CommonSetting::CourseId(), course);
    EXPECT_EQ(ConfigHelper::getIntValue(ConfigHelper::kCourseId), course);
    ASSERT_NE(tab_.root(), nullptr);
    EXPECT_EQ(tab_.root()->kind(), "home");
    EXPECT_EQ(tab_.root(), tab_.top());
}

TEST_F(WebScreensTest, AnOutlinePageOpensItsOwnAddressAndNothingElse) {
    CommonSetting::setCourseId(build_.course(2));
    ASSERT_TRUE(build_.db().ExecuteNonQuery(
        "insert into courseoutline(ioutlineid,icourseid,coutlinecode,itype,coutlinename,"
        "bendgrade,igrade,curl,ctext,bstopflag) values (5,2,'01',0,'第一章 总论',1,1,?,?,0)",
        std::string("https://example.cn/o1"), std::string("<p>总论正文</p>")));
    auto screen = list_web_adapters::outlinePage(tab_, "5");
    const int id = screen->id();
    const int pageId = screen->spec()["parts"][0]["page"];
    tab_.setRoot(std::move(screen));
    const auto opened = sent();
    const auto loads = only(opened, "page");
    ASSERT_EQ(loads.size(), 1u);
    EXPECT_EQ(loads[0]["page"], pageId);
    const int load = loads[0]["load"];
    const auto stored = pages_.page(pageId);
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->first, load);
    EXPECT_NE(stored->second.find("总论正文"), std::string::npos);

    struct Case {
        int load;
        std::string url;
        bool opens;
    };
    for (const Case& c :
         {Case{load, "https://example.cn/o1", true},
          Case{load, "https://elsewhere.example/", false},
          Case{load - 1, "https://example.cn/o1", false}, Case{load, "ios://doAnswer/A", false}}) {
        tab_.dispatch(
            {{"screen", id}, {"e", "link"}, {"page", pageId}, {"load", c.load}, {"url", c.url}});
        EXPECT_EQ(only(sent(), "url").size(), c.opens ? 1u : 0u) << c.url << " " << c.load;
    }
}

TEST_F(WebScreensTest, TheExchangeScreenUploadsWithTheBoxAsTheBrowserLastReportedIt) {
    CommonSetting::setLoginId(7);
    std::vector<std::string> calls;
    DataExchangeScreen::Actions actions{[&](bool clear, const DataExchangeScreen::Done& done) {
                                            calls.push_back(clear ? "upload clear" : "upload");
                                            done(1, nullptr);
                                        },
                                        [&](const DataExchangeScreen::Done& done) {
                                            calls.push_back("download");
                                            done(1, nullptr);
                                        }};
    auto screen = std::make_unique<DataExchangeWebScreen>(tab_, actions);
    const int id = screen->id();
    tab_.setRoot(std::move(screen));
    const auto shown = only(sent(), "screen");
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown.back()["spec"]["fields"][0]["name"], DataExchangeScreen::kClearBox);
    EXPECT_EQ(shown.back()["spec"]["fields"][0]["value"], "0");

    struct Step {
        const char* box;  // the box's state as reported before the press; nullptr: none
        const char* caption;
        const char* call;
    };
    const Step steps[] = {{nullptr, DataExchangeScreen::kUploadButton, "upload"},
                          {"1", DataExchangeScreen::kUploadButton, "upload clear"},
                          {nullptr, DataExchangeScreen::kUploadButton, "upload clear"},
                          {"0", DataExchangeScreen::kUploadButton, "upload"},
                          {"1", DataExchangeScreen::kDownloadButton, "download"},
                          {nullptr, "上传", nullptr}};
    for (const Step& step : steps) {
        SCOPED_TRACE(std::string(step.caption) + (step.box ? step.box : "-"));
        calls.clear();
        if (step.box) {
            tab_.dispatch({{"screen", id},
                           {"e", "field"},
                           {"name", DataExchangeScreen::kClearBox},
                           {"text", step.box}});
        }
        tab_.dispatch({{"screen", id}, {"e", "action"}, {"caption", step.caption}});
        EXPECT_EQ(calls,
                  step.call ? std::vector<std::string>{step.call} : std::vector<std::string>{});
        const auto tips = only(sent(), "tip");
        if (step.call) {
            ASSERT_EQ(tips.size(), 1u);
            EXPECT_EQ(tips[0]["text"], DataExchangeScreen::kDone);
        } else {
            EXPECT_TRUE(tips.empty());
        }
    }
    CommonSetting::setLoginId(0);
}

}  // namespace
}  // namespace examora
