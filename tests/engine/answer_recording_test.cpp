#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "engine/course_util.h"
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

}  // namespace
}  // namespace examora
