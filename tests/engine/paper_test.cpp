#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "engine/course_subject_util.h"
#include "engine/course_util.h"
#include "engine/paper_form.h"
#include "engine/paper_texts.h"
#include "facade/result_texts.h"
#include "list_fields.h"
#include "platform/date_time.h"
#include "platform/exam_error.h"
#include "platform/strformat.h"
#include "support/course_builder.h"
#include "support/store_test_fixture.h"

namespace examora {
namespace {

PaperSubjectCountEntity entity(int type, double score, int totalcount) {
    PaperSubjectCountEntity e;
    e.subjecttype = type;
    e.score = score;
    e.totalcount = totalcount;
    return e;
}

// The named failure a call throws; empty name when it throws none.
template <class F>
ExamError failureOf(F&& f) {
    try {
        f();
    } catch (const ExamError& e) {
        return e;
    }
    return ExamError("", "");
}

class PaperBuildingTest : public StoreTest {
  protected:
    PaperBuildingTest() {
        b.course(1);
        tree0 = b.chapters(1, 0, {"01", "0101", "0102"});
        tree1 = b.chapters(1, 1, {"01"});
    }

    // n subjects of a type in a chapter, 1 point each.
    std::vector<int> bank(int n, int type, int chapterId, int chapterType = 0) {
        return b.subjects(
            n, {.courseId = 1, .chapterId = chapterId, .type = type, .chapterType = chapterType});
    }

    // A paper of course 1 (60 minutes) by the creation form's choices.
    int create(int total, std::optional<std::vector<int>> types = {},
               std::optional<std::vector<int>> chapters = {}, const std::string& scores = "",
               const std::string& counts = "") {
        return maker.createPaper(1, total, 60, "试卷", types, scores, counts, chapters);
    }
    std::vector<int> detailIds(int paperId) {
        return intRows(sql(),
                       "select isubjectid from simulationpaperdetail where ipaperid=? order by "
                       "iindex",
                       paperId);
    }

    CourseBuilder b;
    CourseUtil util;
    CourseSubjectUtil maker;
    std::vector<int> tree0;
    std::vector<int> tree1;
};

TEST_F(PaperBuildingTest, FittingMeetsTheTotalExactlyOrFails) {
    auto fit = [&](int total, const std::vector<PaperSubjectCountEntity>& list) {
        return fields(util.calcSubjectCountForBeforeBuildPaper(total, list),
                      &PaperSubjectCountEntity::count);
    };
    // 60 single (1 point), 40 multiple (2), 30 true/false (1) for 100 points: the even shares
    // give 33 + 16 + 30 = 95 and the rest goes to the first type that can take it.
    EXPECT_EQ(fit(100, {entity(0, 1, 60), entity(1, 2, 40), entity(2, 1, 30)}),
              (std::vector<int>{38, 16, 30}));
    // The whole list worth no more than the total: everything.
    EXPECT_EQ(fit(100, {entity(0, 1, 5), entity(1, 2, 3)}), (std::vector<int>{5, 3}));
    // Points count by their whole part; below one point a type takes nothing.
    EXPECT_EQ(fit(10, {entity(0, 1.5, 20), entity(1, 0.5, 20)}), (std::vector<int>{10, 0}));
    // Negative points count as none: taken literally, they would make the whole bank "fit" a
    // paper worth less than nothing.
    EXPECT_EQ(fit(10, {entity(0, -2, 20), entity(1, 1, 20)}), (std::vector<int>{0, 10}));
    EXPECT_TRUE(fit(10, {}).empty());

    // Only two-point subjects cannot make an odd total.
    const ExamError odd = failureOf([&] { fit(7, {entity(1, 2, 10)}); });
    EXPECT_EQ(odd.name(), "创建试卷失败");
    EXPECT_EQ(odd.reason(), "无法构建试卷达到7分!");
    // A total below 1 point would give negative counts.
    EXPECT_EQ(failureOf([&] { fit(-10, {entity(0, 1, 10)}); }).reason(), "无法构建试卷达到-10分!");
    EXPECT_EQ(failureOf([&] { fit(0, {entity(0, 1, 10)}); }).reason(), "无法构建试卷达到0分!");
}

TEST_F(PaperBuildingTest, PointsComeFromTheSettingsOrTheTypeDefaults) {
    bank(3, 0, tree0[1]);
    bank(3, 1, tree0[1]);
    bank(3, 3, tree0[1]);
    ASSERT_TRUE(sql().ExecuteNonQuery(
        "insert into sys_cussetting(cname,cvalue) values ('isubjectscore3','5')"));
    const std::vector<PaperSubjectCountEntity> list =
        util.calcSubjectCountForBeforeBuildPaper(1, 1000, "b.itype>=0");
    ASSERT_EQ(fields(list, &PaperSubjectCountEntity::score), (std::vector<double>{1, 2, 5}));
    EXPECT_EQ(list.back().totalcount, 3);
}

TEST_F(PaperBuildingTest, ALayoutOfFewerThanSixTypesFallsBackToTheBank) {
    const std::vector<int> singles = bank(3, 0, tree0[1]);
    const std::vector<int> multiples = bank(2, 1, tree0[2]);
    // The layout would ask for 10 of each; the bank's 3 + 2 subjects (7 points) are taken.
    const int paper = create(7, {}, {}, "1,2,1", "10,10,10");
    // Exactly enough of each type: bank order.
    EXPECT_EQ(detailIds(paper),
              (std::vector<int>{singles[0], singles[1], singles[2], multiples[0], multiples[1]}));
}

TEST_F(PaperBuildingTest, LayoutPointsAreStoredUnchanged) {
    // Four single choices at 1.5 points make the total of 4 only as whole points.
    const std::vector<int> singles = bank(4, 0, tree0[1]);
    bank(4, 1, tree0[1]);
    const int paper = create(4, {}, {}, "1.5,2,1,1,1,1", "4,0,,0,0,0");
    EXPECT_EQ(detailIds(paper), singles);
    EXPECT_EQ(
        intRows(sql(), "select iindex from simulationpaperdetail where iscore=1.5 order by iindex"),
        (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(count("simulationpaper",
                    "itotalscore=4 and itotaltime=60 and isubjectcount=4 and "
                    "iexam=0 and dcreatedate is not null"),
              1);
}

TEST_F(PaperBuildingTest, LayoutWithoutPointsTakesTheSettingsFractionalPoints) {
    const std::vector<int> singles = bank(4, 0, tree0[1]);
    for (const char* setting : {"1.5", "0.5"}) {
        SCOPED_TRACE(setting);
        ASSERT_TRUE(sql().ExecuteNonQuery(
            "insert or replace into sys_cussetting(cname,cvalue) values ('isubjectscore0',?)",
            std::string(setting)));
        const int paper = create(4, {}, {}, "0,2,1,1,1,1", "4,0,0,0,0,0");
        EXPECT_EQ(detailIds(paper), singles);
        EXPECT_EQ(intRows(sql(),
                          "select count(*) from simulationpaperdetail where ipaperid=? and "
                          "iscore=?",
                          paper, std::stod(setting)),
                  (std::vector<int>{4}));
    }
}

TEST_F(PaperBuildingTest, DrawsFollowTheSeededSourceInDrawOrder) {
    // Bank order is type, position, id: positions run per chapter, so the two chapters' subjects
    // interleave.
    const std::vector<int> first = bank(5, 0, tree0[1]);
    const std::vector<int> second = bank(5, 0, tree0[2]);
    const std::vector<int> bankOrder = {first[0],  second[0], first[1],  second[1], first[2],
                                        second[2], first[3],  second[3], first[4],  second[4]};
    maker.seedRandom(42);
    const int paper = create(3);
    std::mt19937 same(42);
    std::vector<int> expected;
    for (int position : CourseSubjectUtil::getRandomNum(3, 0, 9, same))
        expected.push_back(bankOrder[static_cast<std::size_t>(position)]);
    EXPECT_EQ(detailIds(paper), expected);
}

TEST_F(PaperBuildingTest, ChaptersAndTypesNarrowTheBankOnlyWhenChosen) {
    const std::vector<int> ofTree0 = bank(2, 0, tree0[1]);
    const std::vector<int> ofTree1 = bank(2, 2, tree1[0], 1);
    // No chapter chosen: both trees; an empty list of either kind means all of it.
    for (const auto& chapters :
         {std::optional<std::vector<int>>{}, std::optional<std::vector<int>>{std::vector<int>{}}}) {
        EXPECT_EQ(detailIds(create(100, std::vector<int>{}, chapters)),
                  (std::vector<int>{ofTree0[0], ofTree0[1], ofTree1[0], ofTree1[1]}));
    }
    EXPECT_EQ(detailIds(create(100, {}, std::vector<int>{tree1[0]})), ofTree1);
    EXPECT_EQ(detailIds(create(100, std::vector<int>{0, 1}, std::vector<int>{tree0[1], tree1[0]})),
              ofTree0);

    // Withdrawn subjects and subjects of withdrawn chapters are never drawn.
    ASSERT_TRUE(sql().ExecuteNonQuery("update coursesubject set bstopflag=1 where isubjectid=?",
                                      ofTree0[0]));
    ASSERT_TRUE(
        sql().ExecuteNonQuery("update coursechapter set bstopflag=1 where ichapterid=?", tree1[0]));
    EXPECT_EQ(detailIds(create(100)), (std::vector<int>{ofTree0[1]}));
}

TEST_F(PaperBuildingTest, FailuresAreNamedAndWriteNothing) {
    bank(3, 0, tree0[1]);
    const ExamError nothing = failureOf([&] { create(10, std::vector<int>{4}); });
    EXPECT_EQ(nothing.name(), "随机组卷");
    EXPECT_EQ(nothing.reason(), "没有找到任何满足条件的试题！");

    // The layout asks for more single choices than the bank holds.
    const ExamError shortBank = failureOf([&] { create(5, {}, {}, "1,2,1,2,2,2", "5,0,0,0,0,0"); });
    EXPECT_EQ(shortBank.name(), "随机组卷");
    EXPECT_EQ(shortBank.reason(), "试题库抽取时，数量出错了，请重新设置条件！");
    EXPECT_EQ(count("simulationpaper"), 0);
    EXPECT_EQ(count("simulationpaperdetail"), 0);
}

TEST_F(PaperBuildingTest, NewNamesCountOnWithinTheYear) {
    b.course(2, "税法'50%_");
    bank(2, 0, tree0[1]);
    const std::string year = std::to_string(DateTime::nowLocal().year);
    const std::string base = year + "会计基础全真模拟试题";
    const std::string name1 = util.buildNewPaperName(1);
    EXPECT_EQ(name1, base + "1");
    ASSERT_GE(maker.createPaper(1, 2, 60, name1, std::nullopt, "", "", std::nullopt), 1);
    EXPECT_EQ(util.buildNewPaperName(1), base + "2");
    // Another course's papers and odd course names do not interfere.
    EXPECT_EQ(util.buildNewPaperName(2), year + "税法'50%_全真模拟试题1");

    // A name taken out of turn is skipped.
    ASSERT_TRUE(sql().ExecuteNonQuery(
        "insert into simulationpaper(icourseid,cpapername,iexam) values (1,?,0)", base + "3"));
    EXPECT_EQ(util.buildNewPaperName(1), base + "4");
}

TEST_F(PaperBuildingTest, SelectionListsOfTheCreationForm) {
    b.subject({.courseId = 1, .chapterId = tree0[1], .type = 1});
    b.subject({.courseId = 1, .chapterId = tree0[1], .type = 0, .subjecttypestring = "单项选择"});
    b.subject({.courseId = 1, .chapterId = tree0[2], .type = 0});
    const std::vector<BaseItemEntity> types = util.loadSubjectTypeListOfCourse(1);
    ASSERT_EQ(fields(types, &BaseItemEntity::name),
              (std::vector<std::string>{"单项选择", "多选题"}));
    EXPECT_EQ(types[0].index, 0);
    EXPECT_TRUE(types[0].selected && types[1].selected);

    ASSERT_TRUE(sql().ExecuteNonQuery(
        "update coursechapter set icount=7, bstopflag=(ichapterid=?) where icourseid=1", tree0[2]));
    const std::vector<BaseItemEntity> leaves = util.loadChapterListForCreatePaper(1, 0);
    ASSERT_EQ(leaves.size(), 1u);
    EXPECT_EQ(leaves[0].index, tree0[1]);
    EXPECT_EQ(leaves[0].key, "0101");
    EXPECT_EQ(leaves[0].memo, "共7题");
    EXPECT_FALSE(leaves[0].selected);
    EXPECT_EQ(util.loadChapterListForCreatePaper(1, 1).front().index, tree1[0]);
}

TEST(PaperForm, LayoutGivesScoreTimeAndTypesWhenPresent) {
    // Total score, total time, points per type and count per type.
    auto layout = [](const char* stored, const char* score, const char* time) {
        const PaperLayout l = paperFormDefaults(stored, score, time);
        return l.totalScore + "|" + l.totalTime + "|" + l.typesScore + "|" + l.typesCount;
    };
    EXPECT_EQ(layout("100,120|1,2,1,2,2,2|40,20,20,0,0,0", "90", "60"),
              "100|120|1,2,1,2,2,2|40,20,20,0,0,0");
    // A first field without exactly two entries leaves score and time to the settings.
    EXPECT_EQ(layout("100|1,2|3,4", "90", ""), "90|150|1,2|3,4");
    EXPECT_EQ(layout("", "", "NULL"), "140|150||");
    // Malformed layouts read as far as they go.
    EXPECT_EQ(layout("80,90", "", ""), "80|90||");
    EXPECT_EQ(layout("|||||", "", ""), "140|150||");
}

TEST(PaperForm, NumberTextsReadTheirLeadingNumberOnly) {
    EXPECT_EQ(paperTextInt(" 12abc"), 12);
    EXPECT_EQ(paperTextInt(""), 0);
    EXPECT_EQ(paperTextInt("99999999999"), 2147483647);
    EXPECT_DOUBLE_EQ(paperTextFloat("1.5"), 1.5);
    EXPECT_DOUBLE_EQ(paperTextFloat("abc"), 0.0);
    EXPECT_DOUBLE_EQ(paperTextFloat("inf"), 0.0);
    EXPECT_DOUBLE_EQ(paperTextFloat("1e999"), 0.0);
    EXPECT_DOUBLE_EQ(paperTextFloat("0x10"), 0.0);
}

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

TEST_F(PaperTakingTest, ASubmissionWhoseScoreCannotBeReadWritesNothing) {
    util.updateSubjectMyAnswerInPaper(paper, single2, "C", false, 0.0f);
    // Two earned scores at the integer limit make the sum fail while it is read.
    ASSERT_TRUE(sql().ExecuteNonQuery(
        "update simulationpaperdetail set imyscore=9223372036854775807 where ipaperid=? and "
        "isubjectid in (?,?)",
        paper, single1, multiple));
    const ExamError failure = failureOf([&] { util.sumitPaper(paper, 65); });
    EXPECT_EQ(failure.name(), "提交试卷");
    EXPECT_EQ(result(), "0 0 0 undated 0/0/0");
    EXPECT_EQ(wrongs(), (std::vector<int>{0, 1, 0, -2}));
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

TEST(PaperTexts, ListTimesShowTheMinuteOfAnyStoredDateForm) {
    const std::pair<std::optional<std::string>, const char*> cases[] = {
        {"2026-12-06T08:05:00", "2026-12-06 08:05"},
        {"2026-12-06T08:05:00.1234567", "2026-12-06 08:05"},
        {"2026/12/6 8:05:00", "2026-12-06 08:05"},
        {"2026-12-06", ""},
        {"明天上午八点", ""},
    };
    for (const auto& [stored, minute] : cases)
        EXPECT_EQ(paperListMemoCreated(100, stored), strformat("总分：100分     创建：%@", minute))
            << *stored;
    EXPECT_EQ(paperListMemoExamined(87.5, "2026-12-06T08:05:00"),
              "得分：87.5分     考试：2026-12-06 08:05");
}

TEST(PaperTexts, UsedTimeResultSummaryAndChapterRate) {
    // Used time as minutes and seconds with leading zeros.
    EXPECT_EQ(paperUsedTimeText(599), "09:59");
    EXPECT_EQ(paperUsedTimeText(0), "00:00");
    EXPECT_EQ(paperUsedTimeText(7200), "120:00");
    EXPECT_EQ(paperUsedTimeText(-5), "00:00");

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
