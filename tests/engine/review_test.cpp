#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/course_util.h"
#include "facade/review_texts.h"
#include "list_fields.h"
#include "support/course_builder.h"
#include "support/store_test_fixture.h"

namespace examora {
namespace {

// Wrong-answer counts, periods and the forgetting-curve windows. Answer dates are written with
// SQLite's own local clock, the clock the queries compare with.
class ReviewScheduleTest : public StoreTest {
  protected:
    ReviewScheduleTest() {
        b.course(1);
        chapter = b.chapters(1, 0, {"01"})[0];
        b.course(2);
        otherChapter = b.chapters(2, 0, {"01"})[0];
    }

    // A subject of course 1 with the wrong count, last answered at SQLite's local now shifted by
    // `modifier` ("-5 minutes"); no modifier leaves it without an answer date.
    int wrongSubject(int wrong, const std::string& modifier, int courseId = 1) {
        const int id = b.subject({.courseId = courseId,
                                  .chapterId = courseId == 1 ? chapter : otherChapter,
                                  .myanswer = "B",
                                  .wrong = wrong});
        if (!modifier.empty()) setAnswerDate(id, "datetime('now','localtime',?)", modifier);
        return id;
    }

    void setAnswerDate(int id, const std::string& expression, const std::string& argument) {
        ASSERT_TRUE(sql().ExecuteNonQuery(
            "update coursesubject set danswerdate=" + expression + " where isubjectid=?", argument,
            id));
    }

    std::vector<int> counts(const std::vector<BaseItemEntity>& items) {
        return fields(items, &BaseItemEntity::index);
    }

    // The ids a condition opens in the wrong-answer session (show time 5) of a filter type.
    std::vector<int> opened(int filterType, const SubjectFilter& condition) {
        return util.loadSubjectIdList(1, 0, 5, filterType, condition).value_or(std::vector<int>{});
    }

    CourseBuilder b;
    CourseUtil util;
    int chapter = 0;
    int otherChapter = 0;
};

TEST_F(ReviewScheduleTest, EbbinghausWindowsAreHalfOpenAndTakeOnlyUnresolvedSubjects) {
    wrongSubject(1, "-2 minutes");  // too recent for any period
    const int fiveMinutes = wrongSubject(1, "-5 minutes");
    const int tenMinutes = wrongSubject(4, "-10 minutes");
    const int thirtyMinutes = wrongSubject(1, "-30 minutes");
    wrongSubject(1, "-13 hours");
    wrongSubject(1, "-36 hours");
    wrongSubject(1, "-3 days");
    wrongSubject(1, "-5 days");
    wrongSubject(1, "-8 days");
    const int twentyDays = wrongSubject(1, "-20 days");
    const int twoYears = wrongSubject(2, "-2 years");
    wrongSubject(-2, "-10 minutes");    // cut: in no period
    wrongSubject(0, "-10 minutes");     // not wrong
    wrongSubject(1, "");                // wrong but never dated
    wrongSubject(1, "-10 minutes", 2);  // another course

    const std::vector<BaseItemEntity> list = util.loadEbbinghausList(1);
    ASSERT_EQ(fields(list, &BaseItemEntity::key),
              (std::vector<std::string>{"2", "1", "1", "1", "1", "1", "1", "2"}));
    EXPECT_EQ(list[0].memo, "共2题");
    EXPECT_EQ(list[7].name, "7");
    EXPECT_EQ(list[7].index, 7);

    // The session opens exactly the subjects counted, through the ordinary practice list.
    auto open = [&](int period) {
        return util.loadSubjectIdList(1, 0, 0, util.buildEbbinghausSubjectListFilterSql(1, period))
            .value_or(std::vector<int>{});
    };
    EXPECT_EQ(open(0), (std::vector<int>{fiveMinutes, tenMinutes}));
    EXPECT_EQ(open(1), (std::vector<int>{thirtyMinutes}));
    EXPECT_EQ(open(7), (std::vector<int>{twentyDays, twoYears}));
    EXPECT_TRUE(open(8).empty());
    EXPECT_TRUE(open(-1).empty());
}

TEST_F(ReviewScheduleTest, CountListAlwaysHasThreeItemsByMagnitude) {
    const std::vector<BaseItemEntity> empty = util.loadErrSubjectListOfCount(1, 1);
    ASSERT_EQ(counts(empty), (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(empty[0].memo, "共 0 题");

    const int once = wrongSubject(1, "-1 day");
    wrongSubject(1, "-1 day");
    wrongSubject(2, "-1 day");
    const int thrice = wrongSubject(3, "-1 day");
    const int often = wrongSubject(7, "-1 day");
    const int cutTwice = wrongSubject(-2, "-1 day");
    wrongSubject(-1, "-1 day");
    wrongSubject(5, "-1 day", 2);

    const std::vector<BaseItemEntity> open = util.loadErrSubjectListOfCount(1, 1);
    ASSERT_EQ(counts(open), (std::vector<int>{2, 1, 2}));
    EXPECT_EQ(open[2].key, "3");
    EXPECT_EQ(open[2].name, "2次以上");
    EXPECT_EQ(open[0].memo, "共 2 题");
    EXPECT_EQ(counts(util.loadErrSubjectListOfCount(1, 2)), (std::vector<int>{1, 1, 0}));

    // Each item opens exactly the subjects it counts.
    EXPECT_EQ(opened(1, util.builderFilterSqlOfErrSubjectCount(1, 1, 3)),
              (std::vector<int>{thrice, often}));
    EXPECT_EQ(opened(1, util.builderFilterSqlOfErrSubjectCount(1, 1, 9)),
              (std::vector<int>{thrice, often}));
    EXPECT_EQ(opened(2, util.builderFilterSqlOfErrSubjectCount(1, 2, 2)),
              (std::vector<int>{cutTwice}));
    EXPECT_EQ(opened(1, util.builderFilterSqlOfErrSubjectCount(1, 1, 1)).front(), once);
}

TEST_F(ReviewScheduleTest, PeriodListCountsCalendarDays) {
    const std::vector<BaseItemEntity> empty = util.loadErrSubjectListOfPeriod(1, 1);
    EXPECT_EQ(counts(empty), (std::vector<int>{0, 0, 0, 0}));

    const int midnight = wrongSubject(1, "");
    setAnswerDate(midnight, "date('now','localtime') || ?", " 00:00:00");
    const int lateYesterday = wrongSubject(1, "");
    setAnswerDate(lateYesterday, "date('now','localtime','-1 day') || ?", " 23:59:00");
    wrongSubject(1, "-3 days");
    wrongSubject(1, "-5 days");
    wrongSubject(1, "-7 days");
    wrongSubject(1, "-400 days");
    wrongSubject(1, "");  // no date: in no period, as no period's condition opens it
    const int cut = wrongSubject(-1, "-2 days");

    const std::vector<BaseItemEntity> list = util.loadErrSubjectListOfPeriod(1, 1);
    ASSERT_EQ(counts(list), (std::vector<int>{1, 1, 2, 2}));
    EXPECT_EQ(list[1].name, "3天内");
    EXPECT_EQ(list[3].key, "4");
    EXPECT_EQ(counts(util.loadErrSubjectListOfPeriod(1, 2)), (std::vector<int>{0, 1, 0, 0}));

    EXPECT_EQ(opened(1, util.builderFilterSqlOfErrSubjectPeroid(1, 1, 0)),
              (std::vector<int>{midnight}));
    EXPECT_EQ(opened(1, util.builderFilterSqlOfErrSubjectPeroid(1, 1, 1)),
              (std::vector<int>{lateYesterday}));
    EXPECT_EQ(opened(1, util.builderFilterSqlOfErrSubjectPeroid(1, 1, 5)).size(), 2u);
    EXPECT_EQ(opened(2, util.builderFilterSqlOfErrSubjectPeroid(1, 2, 1)), (std::vector<int>{cut}));
}

TEST_F(ReviewScheduleTest, ChoosingAnEmptyItemShowsItsMessageInsteadOfASession) {
    const int once = wrongSubject(1, "-10 minutes");
    const std::vector<BaseItemEntity> countItems = util.loadErrSubjectListOfCount(1, 1);
    const ReviewOpening none = drillOpenCountItem(util, 1, 1, countItems[1]);
    EXPECT_EQ(none.message, "没有任何试题");
    const ReviewOpening some = drillOpenCountItem(util, 1, 1, countItems[0]);
    ASSERT_FALSE(some.message);
    EXPECT_EQ(some.showTime, 5);
    EXPECT_EQ(opened(1, some.condition), (std::vector<int>{once}));

    // Ten minutes ago is today, or yesterday just after midnight: whichever item holds it.
    for (const BaseItemEntity& item : util.loadErrSubjectListOfPeriod(1, 1)) {
        const ReviewOpening opening = drillOpenPeriodItem(util, 1, 1, item);
        if (item.index == 0) {
            EXPECT_EQ(opening.message, "没有任何试题");
        } else {
            EXPECT_EQ(opened(1, opening.condition), (std::vector<int>{once}));
        }
    }

    const std::vector<BaseItemEntity> periods = util.loadEbbinghausList(1);
    EXPECT_EQ(memoryOpenItem(util, 1, periods[1]).message, "该阶段没有记忆的题库！");
    const ReviewOpening review = memoryOpenItem(util, 1, periods[0]);
    ASSERT_FALSE(review.message);
    EXPECT_EQ(review.showTime, 0);
    EXPECT_EQ(util.loadSubjectIdList(1, 0, 0, review.condition), (std::vector<int>{once}));
    EXPECT_EQ(ebbinghausRowText(periods[0]), "第一个记忆周期：5分钟 共1题");
    EXPECT_EQ(drillTitle(2), "错题强化－已砍");
    EXPECT_EQ(drillTitle(1), "错题强化－待解决");
}

// The chapter-grouped selections (favourites 4, wrong answers 5, noted subjects 6) and the
// subject lists that the practice session and the selection screen take from them.
class ReviewSelectionTest : public StoreTest {
  protected:
    ReviewSelectionTest() {
        b.course(1);
        // Tree 0: 01 (0101, 0102), 02 (0201), 03; tree 1: 01 (0101).
        tree0 = b.chapters(1, 0, {"01", "0101", "0102", "02", "0201", "03"});
        tree1 = b.chapters(1, 1, {"01", "0101"});
    }

    int subject(int chapterId, int wrong, int type = 0, bool collect = false) {
        return b.subject({.courseId = 1,
                          .chapterId = chapterId,
                          .type = type,
                          .chapterType = chapterId == tree1[1] ? 1 : 0,
                          .wrong = wrong,
                          .collect = collect});
    }

    struct Node {
        std::string code;
        int type;
        int count;
        bool operator==(const Node&) const = default;
    };
    std::vector<Node> nodes(int kind, int filterType = 0) {
        std::vector<Node> out;
        for (const auto& c : util.loadChapterListForSelectSubject(1, kind, filterType)) {
            EXPECT_EQ(c.memo, "共" + std::to_string(c.count) + "题");
            out.push_back({c.chaptercode, c.type, c.count});
        }
        return out;
    }

    CourseBuilder b;
    CourseUtil util;
    std::vector<int> tree0;
    std::vector<int> tree1;
};

TEST_F(ReviewSelectionTest, ChapterNodesCountTheirWholeSubtreeAndOmitEmptyOnes) {
    subject(tree0[1], 1);
    subject(tree0[1], 3);
    subject(tree0[2], 2);
    subject(tree0[2], -1);  // cut
    subject(tree0[4], 1);
    subject(tree0[5], 0);  // chapter 03 has nothing wrong
    subject(tree1[1], 2);
    b.course(2);
    const int other = b.chapters(2, 0, {"01"})[0];
    b.subject({.courseId = 2, .chapterId = other, .wrong = 4});

    EXPECT_EQ(nodes(5), (std::vector<Node>{{"01", 0, 3}, {"02", 0, 1}, {"01", 1, 1}}));
    EXPECT_EQ(nodes(5, 2), (std::vector<Node>{{"01", 0, 1}}));

    // A withdrawn chapter's subjects count nowhere.
    ASSERT_TRUE(
        sql().ExecuteNonQuery("update coursechapter set bstopflag=1 where ichapterid=?", tree0[4]));
    EXPECT_EQ(nodes(5), (std::vector<Node>{{"01", 0, 3}, {"01", 1, 1}}));
}

TEST_F(ReviewSelectionTest, FavouritesAndNotedSubjectsEachCountOnce) {
    subject(tree0[1], 0, 0, true);
    subject(tree1[1], 0, 0, true);
    const int noted = subject(tree0[2], 0);
    b.note(noted, "第一条笔记");
    b.note(noted, "第二条笔记");
    const int alsoNoted = subject(tree0[4], 0);
    b.note(alsoNoted, "笔记");

    EXPECT_EQ(nodes(4), (std::vector<Node>{{"01", 0, 1}, {"01", 1, 1}}));
    EXPECT_EQ(nodes(6), (std::vector<Node>{{"01", 0, 1}, {"02", 0, 1}}));
    EXPECT_EQ(util.loadSubjectIdList(1, 0, 6, SubjectFilter()), (std::vector<int>{noted, alsoNoted}));
}

TEST_F(ReviewSelectionTest, TopLevelFollowsTheSmallestGradeOfTreeZero) {
    // A course whose type-0 tree starts at grade 1: its grade-1 chapters are the top.
    b.course(3);
    const std::vector<int> deep = b.chapters(3, 0, {"0101", "010101", "0102"});
    b.subject({.courseId = 3, .chapterId = deep[1], .wrong = 1});
    b.subject({.courseId = 3, .chapterId = deep[2], .wrong = 1});
    EXPECT_EQ(fields(util.loadChapterListForSelectSubject(3, 5), &CourseChapterEntity::chaptercode),
              (std::vector<std::string>{"0101", "0102"}));
}

TEST_F(ReviewSelectionTest, SubjectListsOfAChapterStayInItsOwnTree) {
    // Tree 1's "01" is a prefix of tree 0's "0101" too; only its own tree may match.
    const int a = subject(tree0[1], 1, 1);
    const int b0 = subject(tree0[1], 1, 0);
    const int c = subject(tree1[1], 1, 0);
    subject(tree1[1], 0, 0);

    EXPECT_EQ(util.loadSubjectIdList(1, tree1[0], 5, SubjectFilter()), (std::vector<int>{c}));
    // Practice order: type, then position.
    EXPECT_EQ(util.loadSubjectIdList(1, tree0[0], 5, SubjectFilter()), (std::vector<int>{b0, a}));
    EXPECT_EQ(util.loadSubjectIdList(1, 0, 5, SubjectFilter()), (std::vector<int>{c, b0, a}));

    const std::vector<CourseSubjectExamEntity> sheet = util.loadSubjectExamEntityList(1, 0, 5, SubjectFilter());
    ASSERT_EQ(sheet.size(), 3u);
    EXPECT_EQ(sheet[2].subjectid, a);
    EXPECT_EQ(sheet[2].index, 3);

    // A chapter that does not exist selects nothing rather than everything.
    const auto unknown = util.loadSubjectIdList(1, 9999, 5, SubjectFilter());
    EXPECT_TRUE(!unknown || unknown->empty());
}

TEST_F(ReviewSelectionTest, ChapterCodesWithQuotesStayOneLiteral) {
    const int odd = b.chapters(1, 0, {"0'4"})[0];
    const int inside = subject(odd, 1);
    EXPECT_EQ(util.loadSubjectIdList(1, odd, 5, SubjectFilter()), (std::vector<int>{inside}));
}

TEST_F(ReviewSelectionTest, SelectionPagesHoldTheirOwnRows) {
    std::vector<int> ids;
    for (int i = 0; i < 45; ++i)
        ids.push_back(subject(tree0[1], 1));
    ASSERT_TRUE(sql().ExecuteNonQuery(
        "update coursesubject set danswerdate='2026-11-30 21:15:00' where isubjectid=?", ids[20]));

    const std::vector<BaseItemEntity> page1 = util.loadSelectSubjectList(1, 0, SubjectFilter(), 5, 1, 20);
    ASSERT_EQ(page1.size(), 20u);
    EXPECT_EQ(page1.front().key, std::to_string(ids[20]));
    EXPECT_EQ(page1.back().key, std::to_string(ids[39]));
    EXPECT_EQ(page1.front().memo, "单选题 答题:2026-11-30");
    EXPECT_EQ(page1[1].memo, "单选题 答题:未做题");
    EXPECT_EQ(page1.front().name, "下列各项中，属于会计基本假设的是（ ）。");

    EXPECT_EQ(util.loadSelectSubjectList(1, 0, SubjectFilter(), 5, 2, 20).size(), 5u);
    EXPECT_TRUE(util.loadSelectSubjectList(1, 0, SubjectFilter(), 5, 3, 20).empty());
    EXPECT_TRUE(util.loadSelectSubjectList(1, 0, SubjectFilter(), 5, 0, 0).empty());
    EXPECT_TRUE(util.loadSelectSubjectList(1, 0, SubjectFilter(), 5, -1, 20).empty());
}

}  // namespace
}  // namespace examora
