#include <gtest/gtest.h>

#include <map>

#include "engine/wrong_count_rule.h"

namespace examora {
namespace {

// Stored counts and the last subject handled, moved the way CourseUtil moves them.
struct Book {
    std::map<int, int> wrong;
    int preDo = 0;

    void apply(int id, const WrongCountMove& m) {
        if (m.newWrong) wrong[id] = *m.newWrong;
        if (m.handled) preDo = id;
    }
    void answerWrong(int id) { apply(id, WrongCountRule::afterWrongAnswer(wrong[id], preDo, id)); }
    void answerRight(int id) {
        apply(id, WrongCountRule::afterRemoval(wrong[id], preDo, id, false));
    }
    void remove(int id) { apply(id, WrongCountRule::afterRemoval(wrong[id], preDo, id, true)); }
};

TEST(WrongCountRule, WrongAnswersCountOncePerRun) {
    Book b;
    b.answerWrong(7);
    b.answerWrong(7);
    EXPECT_EQ(b.wrong[7], 1);

    b.answerWrong(8);
    b.answerWrong(7);
    EXPECT_EQ(b.wrong[7], 2);

    b.wrong[9] = -3;
    b.answerWrong(9);
    EXPECT_EQ(b.wrong[9], 4);
}

TEST(WrongCountRule, CorrectAnswerMovesOutKeepingTheCount) {
    Book b;
    b.wrong[5] = 2;
    b.answerWrong(6);
    b.answerRight(5);
    EXPECT_EQ(b.wrong[5], -2);
    // A second correct answer in the same run changes nothing.
    b.answerRight(5);
    EXPECT_EQ(b.wrong[5], -2);

    Book c;
    c.wrong[5] = 1;
    c.answerWrong(5);
    ASSERT_EQ(c.wrong[5], 2);
    c.answerRight(5);
    EXPECT_EQ(c.wrong[5], -3);
}

TEST(WrongCountRule, NeverWrongSubjectOnlyBecomesTheLastHandled) {
    Book b;
    b.answerRight(3);
    EXPECT_EQ(b.wrong[3], 0);
    EXPECT_EQ(b.preDo, 3);
    EXPECT_FALSE(WrongCountRule::afterRemoval(0, 1, 3, false).newWrong.has_value());
}

TEST(WrongCountRule, OutrightRemovalClearsEitherSign) {
    for (int start : {3, -4}) {
        Book b;
        b.wrong[2] = start;
        b.remove(2);
        EXPECT_EQ(b.wrong[2], 0) << start;
    }
    // Removing a subject that was just answered correctly (negative, same run) is left alone.
    Book b;
    b.wrong[2] = -4;
    b.preDo = 2;
    b.remove(2);
    EXPECT_EQ(b.wrong[2], -4);
}

}  // namespace
}  // namespace examora
