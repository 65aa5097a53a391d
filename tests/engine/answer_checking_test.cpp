#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "engine/course_subject_util.h"

namespace examora {
namespace {

constexpr float kD = 0.5f;

AnswerMark mark(int type, const char* answer, const char* mine, std::optional<float> score = 2.0f) {
    return CourseSubjectUtil::markAnswer(type, answer, mine, score, kD);
}

TEST(AnswerChecking, PartialPointsOfMultipleChoiceFollowTheWorkedTable) {
    struct Row {
        float score;
        const char* mine;
        float expected;
    };
    const Row rows[] = {
        {2, "A", 0.5f}, {2, "ABC", 1.5f}, {1, "A", 0.5f}, {1, "AB", 0.0f}, {1, "ABC", 0.5f},
    };
    for (const Row& r : rows) {
        const AnswerMark m = mark(kSubjectMultipleChoice, "ABCD", r.mine, r.score);
        EXPECT_FALSE(m.correct) << r.mine;
        ASSERT_TRUE(m.myscore.has_value());
        EXPECT_FLOAT_EQ(*m.myscore, r.expected) << r.score << " " << r.mine;
    }
}

TEST(AnswerChecking, MultipleChoiceNeedsTheExactStringForFullPoints) {
    const AnswerMark exact = mark(kSubjectMultipleChoice, "ABD", "ABD", 2.0f);
    EXPECT_TRUE(exact.correct);
    EXPECT_FLOAT_EQ(*exact.myscore, 2.0f);

    const AnswerMark reordered = mark(kSubjectMultipleChoice, "ABD", "DBA", 2.0f);
    EXPECT_FALSE(reordered.correct);
    EXPECT_FLOAT_EQ(*reordered.myscore, 1.5f);

    // A wrong option earns nothing, and a repeated letter (longer than the answer) ends at 0.
    EXPECT_FLOAT_EQ(*mark(kSubjectMultipleChoice, "ABD", "AC", 2.0f).myscore, 0.0f);
    EXPECT_FLOAT_EQ(*mark(kSubjectMultipleChoice, "AB", "AAB", 1.0f).myscore, 0.0f);
    // One-or-more never earns partial points.
    EXPECT_FLOAT_EQ(*mark(kSubjectOneOrMore, "ABD", "AB", 2.0f).myscore, 0.0f);
}

TEST(AnswerChecking, ComparisonIsExactAndCaseSensitive) {
    EXPECT_TRUE(mark(kSubjectTrueFalse, "对", "对").correct);
    EXPECT_FALSE(mark(kSubjectTrueFalse, "对", "错").correct);
    EXPECT_FALSE(mark(kSubjectSingleChoice, "a", "A").correct);
    const AnswerMark blank = mark(kSubjectFillBlank, "北京", "北京 ");
    EXPECT_FALSE(blank.correct);
    EXPECT_FLOAT_EQ(*blank.myscore, 0.0f);
    // A right answer with no points stated earns 0.
    const AnswerMark noScore = mark(kSubjectSingleChoice, "B", "B", std::nullopt);
    EXPECT_TRUE(noScore.correct);
    EXPECT_FLOAT_EQ(*noScore.myscore, 0.0f);
}

TEST(AnswerChecking, CaseQuestionNeedsEveryKeyPhraseAnywhere) {
    const char* phrases = "成本核算,权责发生制";
    const AnswerMark both = mark(kSubjectCase, phrases, "应按权责发生制……并做好成本核算。", 5.0f);
    EXPECT_TRUE(both.correct);
    EXPECT_FLOAT_EQ(*both.myscore, 5.0f);

    const AnswerMark first = mark(kSubjectCase, phrases, "只谈成本核算", 5.0f);
    EXPECT_FALSE(first.correct);
    EXPECT_FLOAT_EQ(*first.myscore, 0.0f);

    // Phrases are not trimmed, and an empty phrase is never contained.
    EXPECT_FALSE(mark(kSubjectCase, "甲, 乙", "甲乙").correct);
    EXPECT_TRUE(mark(kSubjectCase, "甲, 乙", "甲 乙").correct);
    EXPECT_FALSE(mark(kSubjectCase, "甲,,乙", "甲乙").correct);
    EXPECT_TRUE(mark(kSubjectCase, "甲,,乙", "甲,,乙").correct);
    EXPECT_FALSE(mark(kSubjectCase, "甲,", "甲乙").correct);
}

TEST(AnswerChecking, EmptyAnswerIsNoAnswerAndLeavesThePoints) {
    for (const char* empty : {"", "NULL"}) {
        const AnswerMark m = mark(kSubjectSingleChoice, "A", empty);
        EXPECT_FALSE(m.correct);
        EXPECT_FALSE(m.myscore.has_value()) << empty;
    }
}

TEST(AnswerChecking, UnknownTypesHaveNoNameAndNoPartialPoints) {
    EXPECT_EQ(CourseSubjectUtil::getSubjectName(7), "无");
    EXPECT_FLOAT_EQ(*mark(9, "AB", "A").myscore, 0.0f);
    EXPECT_TRUE(mark(9, "AB", "AB").correct);
}

TEST(OptionSplitting, CutsAtEachLetterFollowedByTheSeparator) {
    const auto four = CourseSubjectUtil::buildAnswerArrayList("A.x B.y C.z D.w", 4);
    ASSERT_TRUE(four.has_value());
    EXPECT_EQ(*four, (std::vector<std::string>{"A.x ", "B.y ", "C.z ", "D.w"}));

    const auto five = CourseSubjectUtil::buildAnswerArrayList("A.x B.y C.z D.w", 5);
    ASSERT_TRUE(five.has_value());
    EXPECT_TRUE(five->empty());

    EXPECT_FALSE(CourseSubjectUtil::buildAnswerArrayList("A、x B.y", 2).has_value());
}

TEST(OptionSplitting, LearnsTheSeparatorAndSkipsLettersInsideOptions) {
    // Options in Chinese with full-width separators, one of them containing a capital B.
    const auto opts = CourseSubjectUtil::buildAnswerArrayList("  A：甲B类 B：乙 C：丙\n", 3);
    ASSERT_TRUE(opts.has_value());
    EXPECT_EQ(*opts, (std::vector<std::string>{"A：甲B类 ", "B：乙 ", "C：丙"}));

    // Without a separator after A, the first accepted letter fixes it.
    const auto learned = CourseSubjectUtil::buildAnswerArrayList("Ax B、y C、z", 3);
    ASSERT_TRUE(learned.has_value());
    EXPECT_EQ(*learned, (std::vector<std::string>{"Ax ", "B、y ", "C、z"}));
}

TEST(OptionSplitting, ShortOrMalformedTextGivesNoOptions) {
    EXPECT_TRUE(CourseSubjectUtil::buildAnswerArrayList("A.x", 3)->empty());
    EXPECT_TRUE(CourseSubjectUtil::buildAnswerArrayList("", 2)->empty());
    EXPECT_TRUE(CourseSubjectUtil::buildAnswerArrayList("A.x B.y", 0)->empty());
    // A letter found only at the end is skipped, so the count falls short.
    EXPECT_TRUE(CourseSubjectUtil::buildAnswerArrayList("A.xyz B", 2)->empty());
    // The letter occurs but is never followed by the separator.
    EXPECT_FALSE(CourseSubjectUtil::buildAnswerArrayList("A.xB yB", 2).has_value());
}

TEST(RandomDraw, GivesDistinctNumbersOfTheRange) {
    const std::vector<int> all = CourseSubjectUtil::getRandomNum(3, 0, 2);
    EXPECT_EQ(std::set<int>(all.begin(), all.end()), (std::set<int>{0, 1, 2}));

    const std::vector<int> some = CourseSubjectUtil::getRandomNum(50, -20, 979);
    ASSERT_EQ(some.size(), 50u);
    EXPECT_EQ(std::set<int>(some.begin(), some.end()).size(), 50u);
    for (int v : some) {
        EXPECT_GE(v, -20);
        EXPECT_LE(v, 979);
    }
}

TEST(RandomDraw, ImpossibleRequestsEndInsteadOfLoopingForever) {
    EXPECT_TRUE(CourseSubjectUtil::getRandomNum(0, 0, 5).empty());
    EXPECT_TRUE(CourseSubjectUtil::getRandomNum(2, 5, 4).empty());
    EXPECT_EQ(CourseSubjectUtil::getRandomNum(10, 1, 4).size(), 4u);
    EXPECT_EQ(CourseSubjectUtil::getNum({1, 2}, 3, 1, 3), 3);
    const int fresh = CourseSubjectUtil::getNum({1, 2}, 2, 1, 3);
    EXPECT_EQ(fresh, 3);
}

}  // namespace
}  // namespace examora
