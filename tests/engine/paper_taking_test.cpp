#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/course_util.h"
#include "engine/paper_texts.h"
#include "platform/strformat.h"
#include "support/course_builder.h"
#include "support/store_test_fixture.h"

namespace examora {
namespace {

// A paper of four subjects: two single choices, then a multiple choice, then a single choice
// that was cut from the wrong-answer list before.
class PaperTakingTest : public StoreTest {
  protected:
    PaperTakingTest() {
        b.course(1);
        const int chapter = b.chapters(1, 0, {"01"})[0];
        single1 = b.subject({.courseId = 1, .chapterId = chapter, .wrong = 0});
        multiple = b.subject({.courseId = 1, .chapterId = chapter, .type = 1, .wrong = 1});
        single2 = b.subject({.courseId = 1, .chapterId = chapter, .wrong = 0});
        cut = b.subject({.courseId = 1, .chapterId = chapter, .wrong = -2});
        paper = b.paper(1, {multiple, single1, single2, cut});
    }

    // Wrong counts of single1, multiple, single2 and cut.
    std::vector<int> wrongs() {
        std::vector<int> out;
        for (int id : {single1, multiple, single2, cut})
            out.push_back(
                sql().ExecuteScalarInt("select iwrong from coursesubject where isubjectid=?", id));
        return out;
    }
    SimulationPaperEntity info() { return util.loadPaperInfo(paper).value(); }
    // Submissions, points, seconds used, whether dated, and answered / right / not right counts.
    std::string result() {
        const SimulationPaperEntity p = info();
        return strformat("%d %@ %d %@ %d/%d/%d", p.exam, p.score, p.usetime,
                         p.examtime ? "dated" : "undated", p.donecount, p.correctcount,
                         p.wrongcount);
    }

    CourseBuilder b;
    CourseUtil util;
    int single1 = 0, multiple = 0, single2 = 0, cut = 0, paper = 0;
};

TEST_F(PaperTakingTest, SubmittingWithoutAnswersScoresNothingAndMovesNoWrongCount) {
    util.sumitPaper(paper, 605);
    EXPECT_EQ(result(), "1 0 605 dated 0/0/0");
    EXPECT_EQ(wrongs(), (std::vector<int>{0, 1, 0, -2}));
}

TEST_F(PaperTakingTest, SubmissionScoresAndRaisesTheWrongCountOfWhatWasNotRight) {
    util.updateSubjectMyAnswerInPaper(paper, single1, "A", true, 1.0f);
    util.updateSubjectMyAnswerInPaper(paper, multiple, "AB", false, 0.5f);  // partly right
    util.updateSubjectMyAnswerInPaper(paper, single2, "C", false, 0.0f);
    util.updateSubjectMyAnswerInPaper(paper, cut, "D", false, 0.0f);
    util.sumitPaper(paper, 65);

    EXPECT_EQ(result(), "1 1.5 65 dated 4/1/3");
    EXPECT_EQ(wrongs(), (std::vector<int>{0, 2, 1, 3}));  // the cut one back among the unresolved

    // Review order: by type, then the paper's order; mode 3 only what was not right.
    EXPECT_EQ(util.loadSubjectIdListOfPaperDetail(paper, 2),
              (std::vector<int>{single1, single2, cut, multiple}));
    EXPECT_EQ(util.loadSubjectIdListOfPaperDetail(paper, 3),
              (std::vector<int>{single2, cut, multiple}));
}

TEST_F(PaperTakingTest, StartingAgainWipesOnlyAnAttemptThatHoldsAnswers) {
    util.sumitPaper(paper, 30);
    util.clearMyAnswerInPaper(paper);
    EXPECT_EQ(info().exam, 1);
    util.sumitPaper(paper, 40);
    EXPECT_EQ(info().exam, 2);

    util.updateSubjectMyAnswerInPaper(paper, single1, "A", true, 1.0f);
    util.sumitPaper(paper, 50);
    util.clearMyAnswerInPaper(paper);
    EXPECT_EQ(result(), "0 0 0 undated 0/0/0");
    EXPECT_EQ(
        count("simulationpaperdetail", "ipaperid=" + std::to_string(paper) +
                                           " and (cmyanswer<>'' or bcorrect<>0 or imyscore<>0)"),
        0);
}

TEST_F(PaperTakingTest, PaperListShowsEachPaperByItsState) {
    ASSERT_TRUE(sql().ExecuteNonQuery(
        "update simulationpaper set itotalscore=100,dcreatedate='2026-12-01 08:30:59' where "
        "ipaperid=?",
        paper));
    const int taken = b.paper(1, {single1}, 0, {"A"});
    ASSERT_TRUE(sql().ExecuteNonQuery(
        "update simulationpaper set iscore=87.5,dexamtime='2026-12-02 09:05:00' where ipaperid=?",
        taken));
    b.paper(1, {single1}, 7);  // a chapter test's paper
    b.paper(2, {single1});

    const std::vector<BaseItemEntity> open = util.loadPaperList(1, 0);
    ASSERT_EQ(open.size(), 1u);
    EXPECT_EQ(open[0].key, std::to_string(paper));
    EXPECT_EQ(open[0].memo, "总分：100分     创建：2026-12-01 08:30");

    const std::vector<BaseItemEntity> done = util.loadPaperList(1, 1);
    ASSERT_EQ(done.size(), 1u);
    EXPECT_EQ(done[0].memo, "得分：87.5分     考试：2026-12-02 09:05");

    const std::vector<BaseItemEntity> all = util.loadPaperList(1, 2);
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all[1].index, 1);
}

TEST_F(PaperTakingTest, DeletingRemovesThePaperWithItsDetailsOnly) {
    const int other = b.paper(1, {single1, single2});
    util.deletePaper(paper);
    EXPECT_FALSE(util.loadPaperInfo(paper).has_value());
    EXPECT_EQ(count("simulationpaperdetail", "ipaperid=" + std::to_string(paper)), 0);
    EXPECT_EQ(count("simulationpaperdetail", "ipaperid=" + std::to_string(other)), 2);
}

TEST(PaperTexts, UsedTimeShowsMinutesAndSecondsWithLeadingZeros) {
    EXPECT_EQ(paperUsedTimeText(605), "10:05");
    EXPECT_EQ(paperUsedTimeText(65), "01:05");
    EXPECT_EQ(paperUsedTimeText(599), "09:59");
    EXPECT_EQ(paperUsedTimeText(0), "00:00");
    EXPECT_EQ(paperUsedTimeText(7200), "120:00");
    EXPECT_EQ(paperUsedTimeText(-5), "00:00");
}

TEST(PaperTexts, ResultSummaryAndChapterRate) {
    SimulationPaperEntity p;
    p.totaltime = 150;
    p.totalscore = 140;
    p.usetime = 65;
    EXPECT_EQ(paperResultTexts(p).summary, "时间 : 150 分钟   总分 : 140 分   用时 : 01:05");
    EXPECT_EQ(paperResultTexts(SimulationPaperEntity{}).scoreRatio, 0.0);  // no points: no NaN

    FinishCountResult r;
    r.finishcount = 7;
    r.correctcount = 3;
    EXPECT_EQ(chapterResultTexts(r).rate, "正确率: 42%");
    EXPECT_EQ(chapterResultTexts(FinishCountResult{}).rate, "正确率: 0%");
}

}  // namespace
}  // namespace examora
