// A learner's day end to end: the demo course synced from the reference service, then practised,
// examined, reviewed, searched and uploaded through the screens' logic and the facade, and the same
// progress seen on a second device after its history download.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/common_setting.h"
#include "app/logo_util.h"
#include "facade/data_exchange_screen.h"
#include "facade/error_report_editor.h"
#include "facade/login_screen.h"
#include "facade/note_editor.h"
#include "facade/register_screen.h"
#include "facade/screens/chapter_select_screen.h"
#include "facade/screens/course_select_screen.h"
#include "facade/screens/ebbinghaus_screen.h"
#include "facade/screens/error_drill_screen.h"
#include "facade/screens/error_filter_screen.h"
#include "facade/screens/main_view_controller.h"
#include "facade/screens/paper_create_screen.h"
#include "facade/screens/paper_list_screen.h"
#include "facade/screens/paper_result_screen.h"
#include "facade/screens/search_screen.h"
#include "facade/subject_download_manager.h"
#include "fake_views.h"
#include "platform/global_queue.h"
#include "platform/main_queue.h"
#include "platform/paths.h"
#include "screen_fakes.h"
#include "server/content_loader.h"
#include "server/reference_service.h"
#include "service/asi_service_args.h"
#include "support/temp_home.h"
#include "sync/base_item_downloader.h"

namespace examora {
namespace {

using testing::FakeScreenViews;

// The demo course's first leaf chapter holds, in practice order, 10001 (answer A), 10002 (B) and
// 10003 (A); 10001 is the only subject about ENIAC.
constexpr int kFirst = 10001, kSecond = 10002, kThird = 10003;
constexpr const char* kPhone = "13800000001";
constexpr const char* kPassword = "day-secret";

// Lets background work and what it posted to the main queue finish.
void settle() {
    GlobalQueue::waitUntilIdle();
    MainQueue::shared().runUntilIdle();
}

// Plays the host of the practice session: builds the session a screen asks for over fake views.
struct SessionHost : PracticeLauncher {
    explicit SessionHost(APIManager& a) : api(a) {}
    void openPractice(int showTime, int chapterId, int subjectId,
                      const SubjectFilter& filter) override {
        session.reset();
        views = std::make_unique<FakePracticeViews>();
        session = std::make_unique<CourseSubjectController>(api, views->views(), showTime,
                                                            chapterId, subjectId, filter);
        session->open();
    }
    void openPaper(int showTime, int paperId, std::function<void()> onSubmitted) override {
        session.reset();
        views = std::make_unique<FakePracticeViews>();
        session = std::make_unique<CourseSubjectController>(api, views->views(), showTime, paperId,
                                                            std::move(onSubmitted));
        session->open();
    }
    // The learner answers on page n.
    void answer(int n, const std::string& answer) {
        session->moveToPageNumber(n);
        views->follow(n, "ios://doanswer/" + answer);
    }

    APIManager& api;
    std::unique_ptr<FakePracticeViews> views;
    std::unique_ptr<CourseSubjectController> session;
};

// One device's application on the current home: the facade, the views, the practice host and the
// main screen with the download orchestration behind its prompts.
struct Device {
    Device() {
        downloads.onFinished = [this](bool, const std::string& failure) { downloaded = failure; };
        MainLinks links;
        links.downloads = downloads.links();
        links.presence.tick = std::chrono::hours(24);
        main = std::make_unique<MainViewController>(api, MainViews{v, v, v, v, v, v, host, v, v},
                                                    std::move(links));
    }
    ~Device() {
        host.session.reset();
        main.reset();
        settle();
    }
    // Views of the screens the main screen pushes.
    ChapterSelectScreen::Views chapterViews() { return {v, v, v, v, host}; }

    APIManager api;
    FakeScreenViews v;
    SessionHost host{api};
    SubjectDownloadManager downloads{v, v};
    // The failure text of the finished download; empty when it succeeded.
    std::optional<std::string> downloaded;
    std::unique_ptr<MainViewController> main;
};

class LearnerDayTest : public ::testing::Test {
  protected:
    LearnerDayTest() : service(ReferenceServiceOptions{home.makeDirectory("service")}) {
        // The service as `examora-service --load-demo` starts it.
        ContentLoader(service.store()).loadFolder(ContentLoader::demoFolder());
        if (!service.start()) throw std::runtime_error("the reference service did not start");
        ASIServiceArgs::useExamService(service.serviceURL());
    }
    ~LearnerDayTest() override {
        device.reset();
        service.stop();
    }

    // A device launched on a home of its own: the template store, the catalogue downloaded as the
    // launch's online check does, and the main screen on no course.
    void startDevice(const std::string& name) {
        device.reset();
        Paths::setHome(home.makeDirectory(name));
        CommonSetting::reset();
        ASSERT_TRUE(LogoUtil::initializeDb());
        CommonSetting::setDeviceId(name);
        BaseItemDownloader::create()->downloadBaseItem();
        settle();
        device = std::make_unique<Device>();
    }

    // The demo course chosen from the side menu's course selection and downloaded from the offer
    // the main screen makes for it.
    void chooseAndDownloadTheCourse() {
        Device& d = *device;
        d.main->clickMenuItem(0);
        ASSERT_EQ(d.v.events.back(), "push course_select");
        CourseSelectScreen select(
            d.api, {d.v, d.v, d.v, d.v, d.v, d.v},
            [&](int id, const std::string& district) { d.main->didSelectCourseId(id, district); });
        select.open();
        select.selectRow(0);
        select.selectRow(0);
        ASSERT_EQ(d.v.captions(), std::vector<std::string>{"计算机基础知识"});
        select.selectRow(0);
        EXPECT_EQ(d.v.title, "计算机基础知识");
        ASSERT_FALSE(d.v.dialogs.empty());
        ASSERT_EQ(d.v.dialogs.back().title, "题库下载...");
        d.v.answer("开始下载");
        settle();
        ASSERT_EQ(d.downloaded, std::string()) << "the download ended without a failure";
        EXPECT_FALSE(d.v.progressShown);
    }

    // What the learner sees of the progress: the first section's leaf chapters with their
    // progress lines, the chapters of the favourites and of the wrong answers with their counts,
    // and the papers with their scores.
    std::vector<std::string> progress() {
        Device& d = *device;
        std::vector<std::string> seen;
        auto shown = [&] {
            for (const auto& row : d.v.rows)
                seen.push_back(row.caption + " " + row.value);
        };
        ChapterSelectScreen chapters(d.api, d.chapterViews(), 0);
        chapters.open();
        chapters.selectRow(0);
        chapters.selectRow(0);
        shown();
        for (int mode : {4, 5}) {
            ChapterSelectScreen selection(d.api, d.chapterViews(), mode);
            selection.open();
            shown();
        }
        PaperListScreen papers(d.api, {d.v, d.v, d.v, d.v, d.v, d.host});
        papers.open();
        shown();
        return seen;
    }

    // One value of the current device's store.
    static std::string scalar(const std::string& sql) {
        SQLiteHelper db;
        return db.ExecuteScalarString(sql, std::vector<Value>{}).value_or("(null)");
    }
    static int wrongCount(const std::string& condition) {
        return Value(scalar("select count(*) from coursesubject where " + condition)).asInt();
    }

    TempHome home;
    ReferenceService service;
    std::unique_ptr<Device> device;
};

TEST_F(LearnerDayTest, ADayOnTheServedCourseIsUploadedAndSeenAgainOnASecondDevice) {
    startDevice("device-a");
    chooseAndDownloadTheCourse();
    Device& a = *device;

    // Practise the first chapter: right, wrong, and an answer cleared again; a favourite.
    a.v.events.clear();
    a.main->gridCellTapped(0);
    ASSERT_EQ(a.v.events, std::vector<std::string>{"push chapter_select 0"});
    ChapterSelectScreen chapters = ChapterSelectScreen::fromArgument(a.api, a.chapterViews(), "0");
    chapters.open();
    for (int level = 0; level < 3; ++level)
        chapters.selectRow(0);
    ASSERT_TRUE(a.host.session) << "the leaf chapter opens practice";
    a.host.answer(0, "A");
    a.host.answer(1, "A");
    a.host.answer(2, "A");
    a.host.answer(2, "");
    a.host.session->doFavorite();
    const std::string subjects = " where isubjectid in (10001,10002,10003) order by isubjectid";
    EXPECT_EQ(scalar("select group_concat(bcorrect||':'||iwrong||':'||cmyanswer||':'||bcollect) "
                     "from (select * from coursesubject" +
                     subjects + ")"),
              "1:0:A:0,0:1:A:0,0:0::1");

    // A note and a correction report on the wrong one, queued for the upload.
    EXPECT_TRUE(NoteEditor(a.api.dalCourse(), kSecond).submit("记住：电子管").saved);
    ErrorReportEditor report(a.api.dalCourse(), kSecond);
    report.selectErrorType(1);
    EXPECT_TRUE(report.submit("答案应为A").saved);

    // Build a paper from the mock examination hall, take it, submit, review.
    a.main->gridCellTapped(1);
    ASSERT_EQ(a.v.events.back(), "push paper_list");
    PaperListScreen papers(a.api, {a.v, a.v, a.v, a.v, a.v, a.host});
    papers.open();
    PaperCreateScreen form(a.api, {a.v, a.v, a.v, a.v, a.v, a.v, a.v, a.v},
                           [&](int id) { papers.paperCreated(id); });
    form.open();
    a.v.fields["分数:"] = "5";
    form.submit();
    ASSERT_EQ(a.v.rows.size(), 1u) << "the new paper is listed";
    ASSERT_EQ(a.host.session->showTime(), 1);
    const int paperId = a.host.session->paperId();
    a.host.answer(0, "A");
    a.host.views->clock.elapsed = 65;
    a.host.session->didSelectSubjectId(CourseSubjectController::kSelectSubmit);
    ASSERT_EQ(a.host.views->screens.opened.back(), "paper result " + std::to_string(paperId));
    PaperResultScreen result(a.api.dalCourse(), {a.v, a.v, a.v}, paperId,
                             a.host.views->screens.chosen);
    result.open();
    EXPECT_NE(a.v.labels["summary"].find("用时 : 01:05"), std::string::npos);
    result.review();
    EXPECT_EQ(a.host.session->showTime(), 2);
    papers.reload();
    EXPECT_NE(a.v.rows[0].value.find("得分："), std::string::npos);

    // The wrong-answer book and the memory review, both from the wrong-answer entry; the wrong
    // answers were given ten minutes ago.
    SQLiteHelper().ExecuteNonQuery(
        "update coursesubject set danswerdate=datetime('now','localtime','-10 minutes') "
        "where iwrong>0",
        std::vector<Value>{});
    const int wrong = wrongCount("iwrong>0");
    ASSERT_GE(wrong, 1);
    a.main->gridCellTapped(3);
    ErrorFilterScreen entry({a.v, a.v, a.v});
    entry.open();
    entry.selectRow(0);
    entry.selectRow(2);
    const auto pushed = std::vector<std::string>(a.v.events.end() - 3, a.v.events.end());
    EXPECT_EQ(pushed, (std::vector<std::string>{"push wrong_filter", "push wrong_drill 1",
                                                "push ebbinghaus"}));
    ErrorDrillScreen drill(a.api, {a.v, a.v, a.v, a.v, a.v, a.host}, 1);
    drill.open();
    drill.selectTab(ErrorDrillScreen::kCountTab);
    drill.selectRow(0);
    ASSERT_TRUE(a.host.session);
    EXPECT_EQ(a.host.session->numberOfPages(), wrongCount("iwrong=1"));
    EbbinghausScreen memory(a.api, {a.v, a.v, a.v, a.v, a.host});
    memory.open();
    EXPECT_EQ(a.v.rows[0].value, "共" + std::to_string(wrong) + "题");
    memory.selectRow(0);
    EXPECT_EQ(a.host.session->numberOfPages(), wrong);

    // Search.
    a.main->clickMenuItem(1);
    SearchScreen search(a.api, {a.v, a.v, a.v, a.host});
    search.open();
    search.search("ENIAC");
    ASSERT_EQ(a.v.rows.size(), 1u);
    search.selectRow(0);
    EXPECT_EQ(a.host.session->subjectItem()->subjectid, kFirst);

    // Register from the member button's log-in screen, then upload from the cloud-sync cell.
    a.main->memberBtnClicked();
    LoginScreen login(a.api, {a.v, a.v, a.v, a.v, a.v}, [&] { a.main->refreshUserInfo(); });
    login.openRegistration();
    EXPECT_EQ(a.v.events.back(), "push register");
    RegisterScreen registration(
        a.api, {a.v, a.v, a.v, a.v}, [] { return std::vector<std::string>{}; },
        [&](int value) { login.registered(value); });
    a.v.fields = {{RegisterScreen::kPhoneField, kPhone},
                  {RegisterScreen::kEmailField, "day@example.com"},
                  {RegisterScreen::kPasswordField, kPassword},
                  {RegisterScreen::kRepeatField, kPassword}};
    for (const char* field : {RegisterScreen::kPhoneField, RegisterScreen::kEmailField,
                              RegisterScreen::kPasswordField, RegisterScreen::kRepeatField})
        registration.fieldLeft(field);
    registration.submit();
    EXPECT_EQ(a.v.header, kPhone) << "registered and logged in";
    a.main->gridCellTapped(5);
    ASSERT_EQ(a.v.events.back(), "push data_exchange");
    DataExchangeScreen(DataExchangeScreen::Actions::of(a.api), {a.v, a.v, a.v}).upload(false);
    EXPECT_EQ(a.v.tips.back(), "同步完成！");
    const std::vector<std::string> day = progress();
    EXPECT_EQ(day.front(), "计算机的发展与特点 已做 2 题,共 6 题,正确率 50%");

    // A second device: the same course, the learner logged in, the history downloaded.
    startDevice("device-b");
    chooseAndDownloadTheCourse();
    Device& b = *device;
    ASSERT_EQ(scalar("select count(*) from simulationpaper"), "0");
    b.main->memberBtnClicked();
    ASSERT_EQ(b.v.events.back(), "push login");
    b.v.fields = {{LoginScreen::kNameField, kPhone}, {LoginScreen::kPasswordField, kPassword}};
    LoginScreen(b.api, {b.v, b.v, b.v, b.v, b.v}, [&] { b.main->refreshUserInfo(); }).login();
    EXPECT_EQ(b.v.header, kPhone);
    DataExchangeScreen(DataExchangeScreen::Actions::of(b.api), {b.v, b.v, b.v}).download();
    EXPECT_EQ(b.v.tips.back(), "同步完成！");
    EXPECT_EQ(progress(), day);
    EXPECT_EQ(scalar("select count(*) from cs_writenote where isubjectid=10002"), "1");
}

}  // namespace
}  // namespace examora
