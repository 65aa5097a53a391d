#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/common_setting.h"
#include "app/config_helper.h"
#include "facade/screens/exam_day_screen.h"
#include "facade/screens/main_view_controller.h"
#include "facade/subject_download_manager.h"
#include "platform/global_queue.h"
#include "platform/log.h"
#include "platform/main_queue.h"
#include "screen_fakes.h"
#include "store/cus_setting_util.h"
#include "support/course_builder.h"
#include "support/store_test_fixture.h"

namespace examora {
namespace {

using testing::FakeScreenViews;

class MainScreenTest : public StoreTest {
  protected:
    MainScreenTest() {
        b.course(1, "会计基础");
        b.course(2, "经济法");
        chapter = b.chapters(1, 0, {"01"})[0];
        subjects = b.subjects(3, {.chapterId = chapter});
        CommonSetting::setCourseId(1);
        CommonSetting::setIsOnline(false);
    }
    ~MainScreenTest() override {
        main.reset();
        GlobalQueue::waitUntilIdle();
        MainQueue::shared().runUntilIdle();
    }

    MainViewController& open() {
        MainLinks links;
        links.downloads.hasNewContent = [this](int courseId) {
            checks.push_back(courseId);
            return newContent;
        };
        links.downloads.downloadSubject = [this](bool rebuild) { downloads.push_back(rebuild); };
        links.uploadTasks = [this] { ++uploads; };
        // The loop never ticks by itself here; tests tick it by hand.
        links.presence.tick = std::chrono::hours(24);
        main = std::make_unique<MainViewController>(api, MainViews{v, v, v, v, v, v, v, v, v},
                                                    std::move(links));
        return *main;
    }

    CourseBuilder b;
    APIManager api;
    FakeScreenViews v;
    std::unique_ptr<MainViewController> main;
    int chapter = 0;
    std::vector<int> subjects;
    bool newContent = true;
    std::vector<int> checks;
    std::vector<bool> downloads;
    int uploads = 0;
};

TEST_F(MainScreenTest, OpeningTheCourseShowsItsNameRemembersItAndOffersNewContentOnlyOnline) {
    open();
    EXPECT_EQ(v.title, "会计基础");
    EXPECT_EQ(CommonSetting::CourseName(), "会计基础");
    EXPECT_EQ(ConfigHelper::getIntValue(ConfigHelper::kCourseId), 1);
    EXPECT_TRUE(checks.empty() && v.dialogs.empty()) << "offline: no check, nothing shown";
    EXPECT_EQ(v.header, MainViewController::kNotLoggedIn);

    main.reset();
    CommonSetting::setIsOnline(true);
    open();
    EXPECT_EQ(checks, std::vector<int>{1});
    ASSERT_EQ(v.dialogs.size(), 1u);
    EXPECT_EQ(v.dialogs[0].title, "题库下载...");
    EXPECT_EQ(v.dialogs[0].message, "下载的题库可能比较大，请在有Wifi的环境下下载！！！");
    v.answer("开始下载");
    EXPECT_EQ(downloads, std::vector<bool>{false});
}

TEST_F(MainScreenTest, ChoosingTheSameCourseDownloadsOnlyForAnotherDistrict) {
    CommonSetting::setIsOnline(true);
    CommonSetting::setDistrict("北京");
    newContent = false;
    open();
    checks.clear();

    struct Case {
        std::string district;
        bool prompts;
    };
    for (const Case& c : {Case{"北京", false}, Case{"", false}, Case{"上海", true}}) {
        v.dialogs.clear();
        main->didSelectCourseId(1, c.district);
        EXPECT_TRUE(checks.empty()) << c.district << ": the update check is never asked";
        ASSERT_EQ(v.dialogs.size(), c.prompts ? 1u : 0u) << c.district;
    }
    EXPECT_EQ(v.dialogs[0].title, "题库重新下载...");
    EXPECT_EQ(CommonSetting::District(), "上海") << "the new district is the one fetched";
    EXPECT_EQ(ConfigHelper::getStringValue(ConfigHelper::kDistrict), "上海");
    v.answer("开始下载");
    EXPECT_EQ(downloads, std::vector<bool>{true});

    main->didSelectCourseId(2, "");
    EXPECT_EQ(CommonSetting::CourseId(), 2);
    EXPECT_EQ(v.title, "经济法");
    EXPECT_EQ(checks, std::vector<int>{2}) << "another course opens with the update check";
}

TEST_F(MainScreenTest, PracticeAsksToResumeOnlyWhenASubjectWasPractised) {
    open();
    main->gridCellTapped(0);
    EXPECT_TRUE(v.dialogs.empty());
    EXPECT_EQ(v.events, std::vector<std::string>{"push chapter_select 0"});

    api.dalCourse().updateCourseTestSubjectId(1, subjects[1]);
    v.events.clear();
    main->gridCellTapped(0);
    ASSERT_EQ(v.dialogs.size(), 1u);
    EXPECT_EQ(v.dialogs[0].message, "是否要回到上次练习的试题？");
    v.answer("是");
    EXPECT_EQ(v.events, std::vector<std::string>{"practice 0 " + std::to_string(chapter) + " " +
                                                 std::to_string(subjects[1])});
}

TEST_F(MainScreenTest, QuittingEndsTheProcessOnlyAfterConfirmationAndItsOwnAnimation) {
    open();
    main->gridCellTapped(8);
    ASSERT_EQ(v.dialogs.back().title, "退出提示");
    EXPECT_EQ(v.dialogs.back().message, "您真的要退出吗？");
    v.answer("取消");
    EXPECT_TRUE(v.events.empty());
    EXPECT_FALSE(v.animationFinished);

    main->exitApplication();
    v.answer("确认");
    EXPECT_EQ(v.events, std::vector<std::string>{"animate exitApplication 0.5"});
    v.animationFinished("otherAnimation");
    EXPECT_EQ(v.events.size(), 1u);
    v.animationFinished("exitApplication");
    EXPECT_EQ(v.events.back(), "exit 0");
}

TEST_F(MainScreenTest, ASideMenuCommandThatRaisesIsLoggedAndChangesNothing) {
    open();
    LogCapture log;
    v.pushThrows = [] { throw ExamError("打开", "界面不可用"); };
    main->clickMenuItem(1);
    v.pushThrows = [] { throw std::runtime_error("bad route"); };
    main->clickMenuItem(3);
    EXPECT_TRUE(log.contains("1, error:界面不可用"));
    EXPECT_TRUE(log.contains("3, error:bad route"));
    EXPECT_TRUE(v.events.empty());

    v.pushThrows = nullptr;
    main->clickMenuItem(7);
    EXPECT_TRUE(v.events.empty()) << "a number without an item does nothing";
    main->clickMenuItem(MainViewController::kMemberItem);
    CommonSetting::setLoginId(5);
    main->clickMenuItem(MainViewController::kMemberItem);
    EXPECT_EQ(v.events, (std::vector<std::string>{"push login", "push member_centre"}));
}

TEST_F(MainScreenTest, OnlineServiceOpensTheMessengerOrSaysItIsMissing) {
    open();
    main->clickMenuItem(5);
    EXPECT_TRUE(v.events.empty() && v.dialogs.empty()) << "no contact number: nothing";

    CusSettingUtil::setSettingValue("cserviceqq", "12345&x=1");
    main->clickMenuItem(5);
    EXPECT_EQ(v.events, std::vector<std::string>{
                            "open mqq://im/chat?chat_type=wpa&uin=12345%26x%3D1&version=1&"
                            "src_type=web"});
    v.canOpen = false;
    main->clickMenuItem(5);
    ASSERT_EQ(v.dialogs.size(), 1u);
    EXPECT_EQ(v.dialogs[0].message, "您没有安装手机QQ，请安装手机QQ后重试。");
}

TEST_F(MainScreenTest, ThePresenceLoopUploadsThroughTheHandedInUploadEverySeventhTick) {
    open();
    CommonSetting::setIsOnline(true);
    for (int i = 0; i < 8; ++i)
        main->pushService().tick();
    EXPECT_EQ(uploads, 2);
    EXPECT_FALSE(api.hasDalUser()) << "nobody logged in: no account object, no online login";
}

TEST_F(MainScreenTest, TheReDownloadIsRefusedOfflineAndAsksForTheDistrictWhenNoneIsSet) {
    open();
    main->gridCellTapped(6);
    ASSERT_EQ(v.dialogs.size(), 1u);
    EXPECT_EQ(v.dialogs[0].message, "离线状态无法下载题库！！！");
    EXPECT_EQ(v.dialogs[0].buttons, std::vector<std::string>{"知道了"});

    CommonSetting::setIsOnline(true);
    sql().ExecuteNonQuery("update course set bdistrict=1 where icourseid=1");
    sql().ExecuteNonQuery(
        "insert into district(cdccode,cdcname) values ('11','北京'),('31','上海')");
    main->gridCellTapped(6);
    v.answer("开始下载");
    ASSERT_EQ(v.lists.size(), 1u);
    EXPECT_EQ(v.lists[0].title, "地区选择");
    EXPECT_TRUE(downloads.empty());
    v.choose({"上海"});
    EXPECT_EQ(CommonSetting::District(), "上海");
    EXPECT_EQ(downloads, std::vector<bool>{true});
}

// ---- Examination day --------------------------------------------------------------------------

TEST_F(MainScreenTest, ExaminationDayCountsWholeDaysEitherWay) {
    const DateTime now = *DateTime::parse("2024-03-10 15:30:00");
    ExamDayScreen screen({v, v, v}, [now] { return now; });
    screen.open();
    EXPECT_EQ(v.title, "距离考试日期");
    EXPECT_EQ(v.range, "2024-03-10 2027-03-10");
    EXPECT_EQ(v.pickerDate, "2024-03-10");
    EXPECT_EQ(v.labels["days"], "距离考试0天");

    screen.dateChanged("2024-03-11");
    EXPECT_EQ(v.labels["days"], "距离考试1天");
    EXPECT_EQ(CusSettingUtil::getSettingValue("examdate1"), "2024-03-11");
    screen.dateChanged("2024-3-1x");
    EXPECT_EQ(v.labels["days"], "距离考试1天");

    CusSettingUtil::setSettingValue("examdate1", "2024-03-01");
    screen.open();
    EXPECT_EQ(v.pickerDate, "2024-03-01");
    EXPECT_EQ(v.labels["days"], "距离考试9天") << "a passed date counts positive";
}

// The screen owning a download may close while it runs: the download then stops, and what it
// reports afterwards reaches no screen (before, its outcome ran on the freed manager).
TEST_F(MainScreenTest, ADownloadThatOutlivesItsScreenReportsToNobody) {
    std::function<void()> work;
    auto manager = std::make_unique<SubjectDownloadManager>(
        v, v, [&work](std::function<void()> task) { work = std::move(task); });
    bool finished = false;
    manager->onFinished = [&finished](bool, const std::string&) { finished = true; };
    manager->downloadSubject(false);
    ASSERT_TRUE(work);
    ASSERT_TRUE(v.progressShown);
    manager.reset();
    work();  // no service here: the download ends at once and posts its outcome
    MainQueue::shared().runUntilIdle();
    EXPECT_FALSE(finished);
    EXPECT_TRUE(v.progressShown) << "the closed screen's dialog was touched";
    EXPECT_TRUE(v.dialogs.empty());
}

}  // namespace
}  // namespace examora
