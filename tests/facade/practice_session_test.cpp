#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/common_setting.h"
#include "facade/course_subject_controller.h"
#include "fake_views.h"
#include "store/sqlite_connection.h"
#include "support/course_builder.h"
#include "support/store_test_fixture.h"

namespace examora {
namespace {

class PracticeSessionTest : public StoreTest {
  protected:
    PracticeSessionTest() {
        CommonSetting::setCourseId(1);
        b.course(1);
        chapter = b.chapters(1, 0, {"01", "02"})[0];
        for (int i = 0; i < 3; ++i)
            ids.push_back(b.subject({.chapterId = chapter, .title = "题目" + std::to_string(i)}));
    }
    std::unique_ptr<CourseSubjectController> run(int showTime, int subjectId = 0) {
        auto s = std::make_unique<CourseSubjectController>(api, v.views(), showTime, chapter,
                                                           subjectId, SubjectFilter());
        s->open();
        return s;
    }
    std::unique_ptr<CourseSubjectController> paperRun(int showTime,
                                                      std::function<void()> block = nullptr) {
        paper = b.paper(1, ids, 0, {"B", "A", ""});
        auto s = std::make_unique<CourseSubjectController>(api, v.views(), showTime, paper, block);
        s->open();
        return s;
    }
    bool shows(int page, int subject) {
        return v.at(page) &&
               v.at(page)->html.find("题目" + std::to_string(subject)) != std::string::npos;
    }
    std::string column(const std::string& name, int id) {
        const std::string q = "select " + name + " from coursesubject where isubjectid=?";
        return sql().ExecuteScalarString(q, id).value_or("(null)");
    }

    CourseBuilder b;
    APIManager api;
    FakePracticeViews v;
    int chapter = 0, paper = 0;
    std::vector<int> ids;
};

// ---- Opening -----------------------------------------------------------------------------------

TEST_F(PracticeSessionTest, OpensAChapterAtItsSubjectWithTheSessionSettings) {
    auto s = run(0, ids[1]);
    EXPECT_EQ(s->currentPage(), 1);
    EXPECT_TRUE(shows(1, 1) && shows(2, 2));
    EXPECT_EQ(v.pager.content, 3 * 320);
    EXPECT_EQ(v.pager.offset, 320);
    EXPECT_EQ(api.dalCourse().getCourseLastTestSubjectId(1), ids[1]);
    const SubjectPageSettings settings = CourseSubjectUtil::pageSettings();
    EXPECT_TRUE(settings.showfunmode == 1 && settings.showmynote == 1 && settings.buildcss &&
                !settings.showbackgroundimage);
    EXPECT_EQ(v.bars.shown.navigationTags, (std::vector<int>{1, 2, 3, 4}));
    EXPECT_FALSE(v.bars.shown.progressHeader);

    EXPECT_EQ(run(0, 987654)->currentPage(), 0) << "a subject not in the list opens page 0";
}

TEST_F(PracticeSessionTest, TakingAPaperClearsItsAnswersAndReviewingKeepsThem) {
    auto review = paperRun(2);
    EXPECT_EQ(review->subjectItem()->myanswer, "B");
    EXPECT_EQ(v.bars.progress, 1.0);
    EXPECT_FALSE(v.clock.counting);

    auto take = paperRun(1);
    EXPECT_EQ(take->subjectItem()->myanswer, "");
    EXPECT_EQ(
        count("simulationpaperdetail", "ipaperid=" + std::to_string(paper) + " and cmyanswer>''"),
        0);
    EXPECT_EQ(v.clock.length, 60 * 60);
    EXPECT_TRUE(v.clock.counting);
    EXPECT_TRUE(v.bars.shown.progressHeader);
}

TEST_F(PracticeSessionTest, EmptyListAndUnreadableSubjectShowTheirTexts) {
    auto s = run(0);
    sql().ExecuteNonQuery("delete from coursesubject where isubjectid=?", ids[1]);
    s->moveToNextPage();
    EXPECT_EQ(v.at(1)->html, CourseSubjectController::kUnreadableText);

    chapter = b.chapters(1, 0, {"03"})[0];
    auto empty = run(0);
    EXPECT_EQ(empty->numberOfPages(), 0);
    EXPECT_EQ(v.pages[1].html, CourseSubjectController::kEmptyListText);
}

// ---- Paging ------------------------------------------------------------------------------------

TEST(PracticePagerTest, OffsetSettlesOnThePageUnderTheMiddle) {
    const struct {
        double offset;
        int page;
    } cases[] = {{0, 0}, {159.9, 0}, {160, 1}, {479, 1}, {480, 2}, {-100, 0}, {640, 2}};
    for (const auto& c : cases)
        EXPECT_EQ(CourseSubjectController::pageAtOffset(c.offset, 320), c.page) << c.offset;
}

TEST_F(PracticeSessionTest, PagesArePlacedAroundTheFirstMiddleAndLastPage) {
    auto s = run(0);
    using P = std::optional<double>;
    const std::vector<std::vector<P>> expected{
        {std::nullopt, 0.0, 320.0}, {0.0, 320.0, 640.0}, {320.0, 640.0, std::nullopt}};
    for (int page = 0; page < 3; ++page) {
        if (page > 0) s->moveToNextPage();
        EXPECT_EQ((std::vector<P>{v.pager.placed[0], v.pager.placed[1], v.pager.placed[2]}),
                  expected[page]);
    }
    s->moveToNextPage();
    EXPECT_EQ(s->currentPage(), 2);
    s->moveToPageNumber(0);
    s->moveToPrePage();
    EXPECT_EQ(s->currentPage(), 0);
}

TEST_F(PracticeSessionTest, ASwipeRotatesTheViewsByOnePageOnly) {
    auto s = run(0);
    v.pager.swipeTo(320);
    EXPECT_EQ(s->currentPage(), 1);
    EXPECT_FALSE(v.pager.touch);
    v.delayed.runAll();
    EXPECT_TRUE(v.pager.touch);
    EXPECT_EQ(v.at(1), &v.pages[2]) << "the next view became the current one";
    EXPECT_EQ(v.at(2), &v.pages[0]);
    EXPECT_TRUE(shows(0, 0) && shows(1, 1) && shows(2, 2));

    auto jump = run(0);
    v.pager.swipeTo(320);
    v.pager.swipeTo(640);
    v.delayed.runAll();
    EXPECT_EQ(jump->currentPage(), 2);
    EXPECT_EQ(v.at(2), &v.pages[1]) << "no rotation: the current view moved to the page";
    EXPECT_TRUE(shows(2, 2));
    EXPECT_TRUE(v.pager.touch);
}

// ---- Answering, links and marks ----------------------------------------------------------------

TEST_F(PracticeSessionTest, PracticeAnswersRecordOnceAndClearingCountsNoWrongAnswer) {
    auto s = run(0);
    EXPECT_TRUE(v.follow(0, "about:blank"));
    EXPECT_FALSE(v.follow(0, "ios://doanswer/B"));
    EXPECT_EQ(column("cmyanswer", ids[0]), "B");
    EXPECT_EQ(column("iwrong", ids[0]), "1");
    EXPECT_EQ(s->progressValue(), 1);

    v.follow(0, "ios://doanswer/b");
    EXPECT_EQ(column("cmyanswer", ids[0]), "B") << "the same answer again records nothing";
    EXPECT_EQ(v.pages[1].scripts.size(), 2u) << "but repeats the feedback";

    v.follow(0, "ios://doanswer");
    EXPECT_EQ(v.pages[1].scripts.size(), 2u) << "a link without its answer is ignored";

    v.follow(0, "ios://doAnswer/");
    EXPECT_EQ(s->progressValue(), 0);
    EXPECT_EQ(column("cmyanswer", ids[0]), "");
    EXPECT_EQ(column("iwrong", ids[0]), "1");
}

TEST_F(PracticeSessionTest, LinksActOnlyFromTheCurrentPage) {
    auto s = run(0);
    v.follow(1, "ios://dofavorite");
    EXPECT_TRUE(v.tip.tips.empty());

    v.follow(0, "ios://dofavorite");
    EXPECT_EQ(column("bcollect", ids[0]), "1");
    EXPECT_EQ(v.bars.image, "collectedBtn_Nav");
    v.follow(0, "ios://dofavorite");
    EXPECT_EQ(v.tip.tips, (std::vector<std::string>{"收藏成功！", "取消收藏！"}));
    EXPECT_EQ(v.bars.image, "collectBtn_Nav");

    for (const char* url : {"ios://editmynote", "ios://editmynote/x", "ios://editmynote/7"})
        v.follow(0, url);
    EXPECT_EQ(v.screens.opened,
              (std::vector<std::string>{"note " + std::to_string(ids[0]) + " 7"}));
}

TEST_F(PracticeSessionTest, AnExamAdvancesWithoutFeedbackAndLeavesTheBookToTheSubmission) {
    auto s = paperRun(1);
    v.follow(0, "ios://doanswer/B");
    EXPECT_EQ(s->currentPage(), 1);
    for (const FakePage& page : v.pages)
        EXPECT_TRUE(page.scripts.empty());
    EXPECT_DOUBLE_EQ(*v.bars.progress, 1.0 / 3);
    EXPECT_EQ(count("simulationpaperdetail", "cmyanswer='B'"), 1);
    EXPECT_EQ(column("iwrong", ids[0]), "0");

    s->moveToPageNumber(2);
    v.follow(2, "ios://doanswer/A");
    EXPECT_EQ(v.at(2)->scripts.size(), 1u) << "the last page shows its feedback";
}

TEST_F(PracticeSessionTest, APaperAnswerOrFavouriteTheBusyStoreRefusesIsShownAsNotSaved) {
    auto s = paperRun(1);
    {
        // Another connection holds the write lock past the busy window.
        auto holder = SqliteConnection::databaseWithPath(CommonSetting::DbPath());
        ASSERT_TRUE(holder->open() && holder->executeUpdate("begin exclusive transaction"));
        v.follow(0, "ios://doanswer/B");
        s->doFavorite();
        ASSERT_TRUE(holder->executeUpdate("commit transaction"));
    }
    EXPECT_EQ(v.tip.tips, (std::vector<std::string>{"数据库正忙，答案没有保存，请稍后重试！",
                                                    "数据库正忙，没有保存，请稍后重试！"}));
    EXPECT_EQ(s->currentPage(), 0) << "the paper stays on the unsaved answer";
    EXPECT_EQ(s->subjectItem()->myanswer, "");
    EXPECT_FALSE(s->subjectItem()->collect);
    EXPECT_EQ(count("simulationpaperdetail", "cmyanswer='B'"), 0);

    v.follow(0, "ios://doanswer/B");
    EXPECT_EQ(count("simulationpaperdetail", "cmyanswer='B'"), 1) << "the same answer goes in";
}

// ---- Submitting, redo, clock and leaving -------------------------------------------------------

TEST_F(PracticeSessionTest, SubmissionStoresSecondsAndSwitchesToReview) {
    int submitted = 0;
    auto s = paperRun(1, [&] { ++submitted; });
    v.follow(0, "ios://doanswer/B");
    v.clock.elapsed = 125;
    s->didSelectSubjectId(CourseSubjectController::kSelectSubmit);
    EXPECT_EQ(
        sql().ExecuteScalarInt("select iusetime from simulationpaper where ipaperid=?", paper),
        125);
    EXPECT_EQ(column("iwrong", ids[0]), "1") << "a wrong paper answer counts once";
    EXPECT_EQ(submitted, 1);
    EXPECT_EQ(s->showTime(), 2);
    EXPECT_FALSE(v.clock.counting);
    EXPECT_EQ(v.busy.hidden, 1);
    EXPECT_EQ(v.screens.opened.back(), "paper result " + std::to_string(paper));

    v.screens.chosen(1);
    EXPECT_EQ(s->currentPage(), 0);
    s->backButtonClick();
    EXPECT_EQ(v.navigation.pops, 1) << "a review leaves without asking";
}

TEST_F(PracticeSessionTest, ClockEndSubmitsWithoutWaitingForTheButton) {
    auto s = paperRun(1);
    v.clock.onEnd();
    ASSERT_EQ(v.dialog.shown.size(), 1u);
    EXPECT_EQ(v.dialog.shown[0].buttons, (std::vector<std::string>{"知道了!"}));
    EXPECT_EQ(sql().ExecuteScalarInt("select iexam from simulationpaper where ipaperid=?", paper),
              1);
    EXPECT_EQ(s->showTime(), 2);
}

TEST_F(PracticeSessionTest, LeavingAnExamAsksAndCancelKeepsTheClock) {
    auto s = paperRun(1);
    s->backButtonClick();
    v.dialog.choose(0);
    EXPECT_EQ(v.navigation.pops, 0);
    EXPECT_TRUE(v.clock.counting);
    s->backButtonClick();
    v.dialog.choose(1);
    EXPECT_EQ(v.navigation.pops, 1);

    run(0)->backButtonClick();
    EXPECT_EQ(v.navigation.pops, 2);
}

TEST_F(PracticeSessionTest, RedoClearsTheChapterOnlyInPractice) {
    auto s = run(0);
    v.follow(0, "ios://doanswer/A");
    auto exam = paperRun(1);
    exam->didSelectSubjectId(CourseSubjectController::kSelectRedo);
    EXPECT_EQ(column("cmyanswer", ids[0]), "A") << "a paper run has no chapter to clear";
    s->didSelectSubjectId(CourseSubjectController::kSelectRedo);
    EXPECT_EQ(column("cmyanswer", ids[0]), "");
}

TEST_F(PracticeSessionTest, ResumePromptOffersTheLastPractisedSubject) {
    std::vector<int> opened;  // the subject to resume, 0 for the chapter selection
    auto open = [&](auto point) { opened.push_back(point ? point->subjectId : 0); };
    CourseSubjectController::askToResume(api.dalCourse(), 1, v.dialog, open);
    EXPECT_TRUE(v.dialog.shown.empty());
    api.dalCourse().updateCourseTestSubjectId(1, ids[2]);
    for (int button : {1, 0, -1}) {
        CourseSubjectController::askToResume(api.dalCourse(), 1, v.dialog, open);
        v.dialog.choose(button);
    }
    EXPECT_EQ(opened, (std::vector<int>{0, ids[2], 0})) << "a dismissed prompt opens nothing";
}

}  // namespace
}  // namespace examora
