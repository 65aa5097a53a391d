#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "app/common_setting.h"
#include "engine/course_subject_util.h"
#include "engine/course_util.h"
#include "platform/exam_error.h"
#include "store/sqlite_connection.h"
#include "support/course_builder.h"
#include "support/store_test_fixture.h"

namespace examora {
namespace {

constexpr const char* kOldDate = "2020-01-01 08:00:00";

class AnswerRecordingTest : public StoreTest {
  protected:
    AnswerRecordingTest() {
        b.course(1);
        chapter = b.chapters(1, 0, {"01"})[0];
    }

    // A single choice whose right answer is A, last answered long ago.
    int subject(int wrong = 0, const std::string& myanswer = "") {
        return b.subject({.chapterId = chapter,
                          .myanswer = myanswer,
                          .answerdate = std::string(kOldDate),
                          .wrong = wrong});
    }
    // Answers as the practice screen does: the subject as loaded, then the order of recording.
    bool answer(int subjectId, const std::string& text, int showTime = 0) {
        std::optional<CourseSubjectEntity> s = util.loadSubjuectInfo(subjectId);
        return util.recordPracticeAnswer(*s, text, showTime);
    }
    int wrong(int subjectId) {
        return sql().ExecuteScalarInt("select iwrong from coursesubject where isubjectid=?",
                                      subjectId);
    }
    // "answer|correct|points|wrong count|date", the date "old" (as built), "new" or "none".
    std::string state(int subjectId) {
        return sql()
            .ExecuteScalarString(
                "select cmyanswer||'|'||bcorrect||'|'||printf('%g',imyscore)||'|'||iwrong||'|'||"
                "case when danswerdate is null then 'none' when danswerdate=? then 'old' else "
                "'new' end from coursesubject where isubjectid=?",
                kOldDate, subjectId)
            .value_or("(null)");
    }
    std::string column(const char* name, int subjectId) {
        return sql()
            .ExecuteScalarString(
                std::string("select ") + name + " from coursesubject where isubjectid=?", subjectId)
            .value_or("(null)");
    }

    CourseBuilder b;
    CourseUtil util;
    int chapter = 0;
};

TEST_F(AnswerRecordingTest, WrongCountSequencesOfPractice) {
    const int s = subject();
    const int other = subject();
    answer(s, "B");
    answer(s, "C");
    EXPECT_EQ(wrong(s), 1) << "twice wrong in a row counts once";
    answer(other, "B");
    answer(s, "D");
    EXPECT_EQ(wrong(s), 2) << "wrong again after another subject";

    const int cut = subject(-3);
    answer(cut, "B");
    EXPECT_EQ(wrong(cut), 4);

    const int two = subject(2);
    answer(other, "C");
    answer(two, "A");
    EXPECT_EQ(wrong(two), -2) << "correct after another subject keeps the count";

    const int again = subject(1);
    answer(again, "B");
    ASSERT_EQ(wrong(again), 2);
    answer(again, "A");
    EXPECT_EQ(wrong(again), -3) << "correct right after its own wrong answer";

    const int never = subject();
    answer(never, "A");
    EXPECT_EQ(wrong(never), 0);
    EXPECT_EQ(util.preDoSubjectId(), never);
}

TEST_F(AnswerRecordingTest, AnswerIsWrittenWithCorrectnessPointsAndDate) {
    const int s = b.subject({.chapterId = chapter, .type = 1, .score = 2, .answer = "ABCD"});
    std::optional<CourseSubjectEntity> subject = util.loadSubjuectInfo(s);
    ASSERT_TRUE(util.recordPracticeAnswer(*subject, "ABC", 5));
    EXPECT_FALSE(subject->correct);
    EXPECT_DOUBLE_EQ(subject->myscore, 1.5);
    EXPECT_EQ(state(s), "ABC|0|1.5|1|new");
}

TEST_F(AnswerRecordingTest, SameAnswerInAnyCaseWritesNothing) {
    const int s = subject(2, "b");
    EXPECT_FALSE(answer(s, "B"));
    EXPECT_EQ(state(s), "b|0|0|2|old");
    EXPECT_EQ(util.preDoSubjectId(), 0);
}

TEST_F(AnswerRecordingTest, ClearedAnswerIsRecordedButMovesNoWrongCount) {
    // Answered rightly, then cleared: it must not land in the wrong-answer book.
    const int right = subject();
    answer(right, "A");
    ASSERT_EQ(state(right), "A|1|1|0|new");
    EXPECT_TRUE(answer(right, ""));
    EXPECT_EQ(state(right), "|0|0|0|new");

    // An old wrong subject cleared keeps its count, in either state.
    const int open = subject(3, "C");
    const int cut = subject(-2, "A");
    answer(open, "");
    answer(cut, "");
    EXPECT_EQ(state(open), "|0|0|3|new");
    EXPECT_EQ(wrong(cut), -2);
}

TEST_F(AnswerRecordingTest, ExamShowTimeLeavesTheSubjectRowToThePaper) {
    const int s = subject();
    std::optional<CourseSubjectEntity> subject = util.loadSubjuectInfo(s);
    std::vector<std::string> paperAnswers;
    util.recordPracticeAnswer(*subject, "C", 1, [&](const CourseSubjectEntity& e) {
        paperAnswers.push_back(e.myanswer);
    });
    EXPECT_EQ(paperAnswers, (std::vector<std::string>{"C"}));
    EXPECT_EQ(state(s), "|0|0|1|old");
}

TEST_F(AnswerRecordingTest, AnAnswerTheBusyStoreCannotTakeIsAFailureNotASuccess) {
    const int s = subject();
    std::optional<CourseSubjectEntity> loaded = util.loadSubjuectInfo(s);
    {
        // Another connection holds the write lock past the busy window.
        auto holder = SqliteConnection::databaseWithPath(CommonSetting::DbPath());
        ASSERT_TRUE(holder->open() && holder->executeUpdate("begin exclusive transaction"));
        try {
            util.recordPracticeAnswer(*loaded, "B", 0);
            ADD_FAILURE() << "recorded although the store was locked";
        } catch (const ExamError& e) {
            EXPECT_FALSE(e.name().empty());
        }
        EXPECT_EQ(loaded->myanswer, "") << "the record shows what the store holds";
        ASSERT_TRUE(holder->executeUpdate("commit transaction"));
    }
    EXPECT_EQ(state(s), "|0|0|0|old");
    // Once the store is free, the same answer goes in.
    EXPECT_TRUE(util.recordPracticeAnswer(*loaded, "B", 0));
    EXPECT_EQ(state(s), "B|0|0|1|new");
}

TEST_F(AnswerRecordingTest, RemovalAndMarks) {
    const int open = subject(3);
    const int cut = subject(-4);
    util.doDeleteWrongSubject(open);
    util.doDeleteWrongSubject(cut);
    EXPECT_EQ(wrong(open), 0);
    EXPECT_EQ(wrong(cut), 0);

    const int s = subject();
    util.doCollectSubject(s);
    EXPECT_EQ(column("bcollect", s), "1");
    const std::string collectedAt = column("drememberdate", s);
    EXPECT_NE(collectedAt, "(null)");
    util.doDeleteCollectSubject(s);
    EXPECT_EQ(column("bcollect", s), "0");
    EXPECT_EQ(column("drememberdate", s), collectedAt);
}

TEST_F(AnswerRecordingTest, ClearingAnswersKeepsCountsAndOtherChapters) {
    const int other = b.chapters(1, 0, {"02"})[0];
    const int s = subject(2, "B");
    const int t = b.subject({.chapterId = other, .myanswer = "A", .correct = true});
    util.clearSubjectMyAnswer(1, chapter);
    EXPECT_EQ(state(s), "|0|0|2|old");
    EXPECT_EQ(column("cmyanswer", t), "A");

    util.clearSubjectMyAnswerAndDate(1);
    EXPECT_EQ(column("cmyanswer", t), "");
    EXPECT_EQ(state(s), "|0|0|2|none");
}

TEST_F(AnswerRecordingTest, PracticePositionIsKeptForResuming) {
    const int s = subject();
    EXPECT_EQ(util.getCourseLastTestSubjectId(1), 0);
    util.updateCourseTestSubjectId(1, s);
    EXPECT_EQ(util.getCourseLastTestSubjectId(1), s);
    EXPECT_EQ(util.getChapterIdOfSubject(util.getCourseLastTestSubjectId(1)), chapter);

    util.updateCourseTestState(1, chapter, 5, 0);
    EXPECT_EQ(util.getCourseTestSelectChapter(1), chapter);
    EXPECT_EQ(util.getCourseLastTestSubjectId(1), 0);
    util.updateCourseTestSelectChapter(1, 77);
    EXPECT_EQ(util.getCourseTestSelectChapter(1), 77);
    EXPECT_EQ(util.getCourseTestSelectChapter(9), 0);
}

TEST(AnswerChecking, CorrectnessAndPointsByType) {
    struct Row {
        int type;
        const char* answer;
        const char* mine;
        std::optional<float> score;
        bool correct;
        std::optional<float> points;
    };
    constexpr int kMulti = kSubjectMultipleChoice;
    const char* phrases = "成本核算,权责发生制";
    const Row rows[] = {
        // Partial points of a multiple choice (0.5 deducted per missing option).
        {kMulti, "ABCD", "A", 2.0f, false, 0.5f},
        {kMulti, "ABCD", "ABC", 2.0f, false, 1.5f},
        {kMulti, "ABCD", "A", 1.0f, false, 0.5f},
        {kMulti, "ABCD", "AB", 1.0f, false, 0.0f},
        {kMulti, "ABCD", "ABC", 1.0f, false, 0.5f},
        // Full points need the exact string; a wrong option or a repeated letter earns nothing.
        {kMulti, "ABD", "ABD", 2.0f, true, 2.0f},
        {kMulti, "ABD", "DBA", 2.0f, false, 1.5f},
        {kMulti, "ABD", "AC", 2.0f, false, 0.0f},
        {kMulti, "AB", "AAB", 1.0f, false, 0.0f},
        {kSubjectOneOrMore, "ABD", "AB", 2.0f, false, 0.0f},  // never partial points
        // Comparison is exact and case-sensitive.
        {kSubjectSingleChoice, "a", "A", 2.0f, false, 0.0f},
        {kSubjectFillBlank, "北京", "北京 ", 2.0f, false, 0.0f},
        {kSubjectSingleChoice, "B", "B", std::nullopt, true, 0.0f},  // no points stated
        // A case question needs every key phrase anywhere; phrases are not trimmed and an empty
        // phrase is never contained.
        {kSubjectCase, phrases, "应按权责发生制……并做好成本核算。", 5.0f, true, 5.0f},
        {kSubjectCase, phrases, "只谈成本核算", 5.0f, false, 0.0f},
        {kSubjectCase, "甲, 乙", "甲乙", 2.0f, false, 0.0f},
        {kSubjectCase, "甲, 乙", "甲 乙", 2.0f, true, 2.0f},
        {kSubjectCase, "甲,,乙", "甲乙", 2.0f, false, 0.0f},
        {kSubjectCase, "甲,", "甲乙", 2.0f, false, 0.0f},
        // An empty answer is no answer and leaves the points unset.
        {kSubjectSingleChoice, "A", "", 2.0f, false, std::nullopt},
        {kSubjectSingleChoice, "A", "NULL", 2.0f, false, std::nullopt},
        {9, "AB", "A", 2.0f, false, 0.0f},  // unknown types have no partial points
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.type << " " << r.answer << " / " << r.mine << " of "
                                        << r.score.value_or(-1));
        const AnswerMark m = CourseSubjectUtil::markAnswer(r.type, r.answer, r.mine, r.score, 0.5f);
        EXPECT_EQ(m.correct, r.correct);
        ASSERT_EQ(m.myscore.has_value(), r.points.has_value());
        if (r.points) {
            EXPECT_FLOAT_EQ(*m.myscore, *r.points);
        }
    }
}

TEST(OptionSplitting, CutsAtEachLetterFollowedByTheLearnedSeparator) {
    using Options = std::optional<std::vector<std::string>>;
    const std::vector<std::string> none;
    const std::pair<std::pair<const char*, int>, Options> rows[] = {
        {{"A.x B.y C.z D.w", 4}, std::vector<std::string>{"A.x ", "B.y ", "C.z ", "D.w"}},
        {{"A.x B.y C.z D.w", 5}, none},
        {{"A、x B.y", 2}, std::nullopt},
        // Full-width separators, one option containing a capital B.
        {{"  A：甲B类 B：乙 C：丙\n", 3}, std::vector<std::string>{"A：甲B类 ", "B：乙 ", "C：丙"}},
        // Without a separator after A, the first accepted letter fixes it.
        {{"Ax B、y C、z", 3}, std::vector<std::string>{"Ax ", "B、y ", "C、z"}},
        {{"A.x", 3}, none},
        {{"", 2}, none},
        {{"A.x B.y", 0}, none},
        {{"A.xyz B", 2}, none},          // a letter found only at the end is skipped
        {{"A.xB yB", 2}, std::nullopt},  // the letter never comes with the separator
    };
    for (const auto& [in, expected] : rows) {
        EXPECT_EQ(CourseSubjectUtil::buildAnswerArrayList(in.first, in.second), expected)
            << in.first << " / " << in.second;
    }
}

TEST(RandomDraw, GivesDistinctNumbersOfTheRangeAndEndsOnImpossibleRequests) {
    const std::vector<int> all = CourseSubjectUtil::getRandomNum(3, 0, 2);
    EXPECT_EQ(std::set<int>(all.begin(), all.end()), (std::set<int>{0, 1, 2}));

    const std::vector<int> some = CourseSubjectUtil::getRandomNum(50, -20, 979);
    ASSERT_EQ(some.size(), 50u);
    EXPECT_EQ(std::set<int>(some.begin(), some.end()).size(), 50u);
    EXPECT_GE(*std::min_element(some.begin(), some.end()), -20);
    EXPECT_LE(*std::max_element(some.begin(), some.end()), 979);

    // Impossible requests end instead of looping forever.
    EXPECT_TRUE(CourseSubjectUtil::getRandomNum(0, 0, 5).empty());
    EXPECT_TRUE(CourseSubjectUtil::getRandomNum(2, 5, 4).empty());
    EXPECT_EQ(CourseSubjectUtil::getRandomNum(10, 1, 4).size(), 4u);
    EXPECT_EQ(CourseSubjectUtil::getNum({1, 2}, 3, 1, 3), 3);
    EXPECT_EQ(CourseSubjectUtil::getNum({1, 2}, 2, 1, 3), 3);
}

}  // namespace
}  // namespace examora
