#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/course_util.h"
#include "engine/review_texts.h"
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
    std::vector<int> opened(int filterType, const std::string& condition) {
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
    const int cutOnce = wrongSubject(-1, "-1 day");
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
    EXPECT_EQ(opened(2, util.builderFilterSqlOfErrSubjectCount(1, 2, 1)),
              (std::vector<int>{cutOnce}));
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

}  // namespace
}  // namespace examora
