#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "app/common_setting.h"
#include "facade/error_report_editor.h"
#include "facade/note_editor.h"
#include "facade/screens/chapter_select_screen.h"
#include "facade/screens/course_select_screen.h"
#include "facade/screens/ebbinghaus_screen.h"
#include "facade/screens/error_drill_screen.h"
#include "facade/screens/main_view_controller.h"
#include "facade/screens/paper_create_screen.h"
#include "facade/screens/paper_list_screen.h"
#include "facade/screens/paper_result_screen.h"
#include "facade/screens/search_screen.h"
#include "fake_views.h"
#include "platform/global_queue.h"
#include "platform/main_queue.h"
#include "screen_fakes.h"
#include "support/course_builder.h"
#include "support/store_test_fixture.h"

namespace examora {
namespace {

using testing::FakeScreenViews;

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

// A whole learner day through the screens' logic and the facade, on a real store.
//
// The course is put in place by the builders. EXTENSION POINT (content download, history
// upload and download): once the download orchestration and the learner-data exchange are on
// this branch, the course comes from a ReferenceService through MainLinks::downloads, the day
// ends with the upload (MainLinks::uploadTasks and APIManager's uploadUserDataToServer row), and
// a second home downloads the history and must show the same progress lines and paper list as
// `progressLines` and `paperNames` below.
class LearnerDayTest : public StoreTest {
  protected:
    LearnerDayTest() {
        sql().ExecuteNonQuery(
            "insert into courseclass(iclassid,ccoursecname,iindex,bstopflag) values "
            "(1,'会计',1,0)");
        sql().ExecuteNonQuery(
            "insert into coursesubclass(isubclassid,iclassid,csubclassname,"
            "iindex,bstopflag) values (1,1,'初级',1,0)");
        b.course(1, "会计基础");
        b.course(2, "经济法");
        const std::vector<int> tree = b.chapters(1, 0, {"01", "0101", "0102"});
        top = tree[0], leaf = tree[1];
        for (int i = 0; i < 4; ++i)
            ids.push_back(
                b.subject({.chapterId = leaf, .title = "会计要素第" + std::to_string(i)}));
        ids.push_back(b.subject({.chapterId = tree[2], .type = 2, .answer = "对"}));
        CommonSetting::setCourseId(2);
        CommonSetting::setIsOnline(false);
    }
    ~LearnerDayTest() override {
        host.session.reset();
        main.reset();
        GlobalQueue::waitUntilIdle();
        MainQueue::shared().runUntilIdle();
    }
    std::string column(const std::string& name, int id) {
        return sql()
            .ExecuteScalarString("select " + name + " from coursesubject where isubjectid=?", id)
            .value_or("(null)");
    }
    std::vector<std::string> progressLines() {
        ChapterSelectScreen chapters(api, {v, v, v, v, host}, 0);
        chapters.open();
        chapters.selectRow(0);
        std::vector<std::string> lines;
        for (const auto& row : v.rows)
            lines.push_back(row.value);
        return lines;
    }

    CourseBuilder b;
    APIManager api;
    FakeScreenViews v;
    SessionHost host{api};
    std::unique_ptr<MainViewController> main;
    int top = 0, leaf = 0;
    std::vector<int> ids;
};

TEST_F(LearnerDayTest, ChooseAPractiseAPaperAndReviewTheDay) {
    MainLinks links;
    links.presence.tick = std::chrono::hours(24);
    main = std::make_unique<MainViewController>(api, MainViews{v, v, v, v, v, v, host, v, v},
                                                std::move(links));
    EXPECT_EQ(v.title, "经济法");

    // Choose the course.
    CourseSelectScreen select(api, {v, v, v, v, v, v}, [&](int id, const std::string& district) {
        main->didSelectCourseId(id, district);
    });
    select.open();
    select.selectRow(0);
    select.selectRow(0);
    ASSERT_EQ(v.captions(), (std::vector<std::string>{"会计基础", "经济法"}));
    select.selectRow(0);
    EXPECT_EQ(CommonSetting::CourseId(), 1);
    EXPECT_EQ(v.title, "会计基础");

    // Practise a chapter: right, wrong, and an answer cleared again; a favourite.
    v.events.clear();
    main->gridCellTapped(0);
    ASSERT_EQ(v.events, std::vector<std::string>{"push chapter_select 0"});
    ChapterSelectScreen chapters(api, {v, v, v, v, host}, 0);
    chapters.open();
    chapters.selectRow(0);
    chapters.selectRow(0);
    ASSERT_TRUE(host.session);
    host.answer(0, "A");
    host.answer(1, "B");
    host.answer(2, "A");
    host.answer(2, "");
    host.session->doFavorite();
    EXPECT_EQ(column("bcorrect", ids[0]) + column("iwrong", ids[1]) + column("cmyanswer", ids[2]),
              "11");
    EXPECT_EQ(column("bcollect", ids[2]), "1");
    EXPECT_EQ(progressLines(), (std::vector<std::string>{"已做 2 题,共 4 题,正确率 50%",
                                                         "已做 0 题,共 1 题,正确率 0%"}));

    // A note and a correction report on the wrong one.
    NoteEditor note(api.dalCourse(), ids[1]);
    EXPECT_TRUE(note.submit("记住：会计主体").saved);
    ErrorReportEditor report(api.dalCourse(), ids[1]);
    report.selectErrorType(1);
    EXPECT_TRUE(report.submit("答案应为A").saved);
    EXPECT_EQ(count("sys_exchangeclienttask"), 2) << "both queued for upload";

    // Build a paper, take it, submit, review.
    PaperListScreen papers(api, {v, v, v, v, v, host});
    papers.open();
    PaperCreateScreen form(api, {v, v, v, v, v, v, v, v}, [&](int id) { papers.paperCreated(id); });
    form.open();
    v.fields["分数:"] = "5";
    form.submit();
    ASSERT_EQ(v.rows.size(), 1u) << "the new paper is listed";
    ASSERT_TRUE(host.session);
    EXPECT_EQ(host.session->showTime(), 1);
    const int paperId = host.session->paperId();
    host.answer(0, "A");
    host.views->clock.elapsed = 65;
    host.session->didSelectSubjectId(CourseSubjectController::kSelectSubmit);
    EXPECT_EQ(host.views->screens.opened.back(), "paper result " + std::to_string(paperId));
    PaperResultScreen result(api.dalCourse(), {v, v, v}, paperId, host.views->screens.chosen);
    result.open();
    EXPECT_EQ(v.title, "考试成绩");
    EXPECT_NE(v.labels["summary"].find("用时 : 01:05"), std::string::npos);
    result.review();
    EXPECT_EQ(host.session->showTime(), 2);
    EXPECT_EQ(host.session->currentPage(), 0);
    papers.reload();
    EXPECT_NE(v.rows[0].value.find("得分："), std::string::npos);

    // The wrong-answer book and an Ebbinghaus window.
    sql().ExecuteNonQuery(
        "update coursesubject set danswerdate=datetime('now','localtime','-10 minutes') "
        "where iwrong>0");
    const int wrong = count("coursesubject", "iwrong>0");
    ErrorDrillScreen drill(api, {v, v, v, v, v, host}, 1);
    drill.open();
    drill.selectTab(ErrorDrillScreen::kCountTab);
    drill.selectRow(0);
    ASSERT_TRUE(host.session);
    EXPECT_EQ(host.session->numberOfPages(), wrong);
    EbbinghausScreen memory(api, {v, v, v, v, host});
    memory.open();
    EXPECT_EQ(v.rows[0].caption, "第一个记忆周期：5分钟");
    EXPECT_EQ(v.rows[0].value, "共" + std::to_string(wrong) + "题");
    memory.selectRow(0);
    EXPECT_EQ(host.session->numberOfPages(), wrong);

    // Search.
    SearchScreen search(api, {v, v, v, host});
    search.open();
    search.search("会计要素");
    EXPECT_EQ(v.rows.size(), 4u);
    search.selectRow(3);
    EXPECT_EQ(host.session->subjectItem()->subjectid, ids[3]);
}

}  // namespace
}  // namespace examora
