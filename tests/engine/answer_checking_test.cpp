#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "engine/course_subject_util.h"

namespace examora {
namespace {

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
        {kSubjectTrueFalse, "对", "对", 2.0f, true, 2.0f},
        {kSubjectTrueFalse, "对", "错", 2.0f, false, 0.0f},
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
        {kSubjectCase, "甲,,乙", "甲,,乙", 2.0f, true, 2.0f},
        {kSubjectCase, "甲,", "甲乙", 2.0f, false, 0.0f},
        // An empty answer is no answer and leaves the points unset.
        {kSubjectSingleChoice, "A", "", 2.0f, false, std::nullopt},
        {kSubjectSingleChoice, "A", "NULL", 2.0f, false, std::nullopt},
        // Unknown types have no partial points.
        {9, "AB", "A", 2.0f, false, 0.0f},
        {9, "AB", "AB", 2.0f, true, 2.0f},
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
    EXPECT_EQ(CourseSubjectUtil::getSubjectName(7), "无");
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

TEST(RandomDraw, GivesDistinctNumbersOfTheRange) {
    const std::vector<int> all = CourseSubjectUtil::getRandomNum(3, 0, 2);
    EXPECT_EQ(std::set<int>(all.begin(), all.end()), (std::set<int>{0, 1, 2}));

    const std::vector<int> some = CourseSubjectUtil::getRandomNum(50, -20, 979);
    ASSERT_EQ(some.size(), 50u);
    EXPECT_EQ(std::set<int>(some.begin(), some.end()).size(), 50u);
    EXPECT_GE(*std::min_element(some.begin(), some.end()), -20);
    EXPECT_LE(*std::max_element(some.begin(), some.end()), 979);
}

TEST(RandomDraw, ImpossibleRequestsEndInsteadOfLoopingForever) {
    EXPECT_TRUE(CourseSubjectUtil::getRandomNum(0, 0, 5).empty());
    EXPECT_TRUE(CourseSubjectUtil::getRandomNum(2, 5, 4).empty());
    EXPECT_EQ(CourseSubjectUtil::getRandomNum(10, 1, 4).size(), 4u);
    EXPECT_EQ(CourseSubjectUtil::getNum({1, 2}, 3, 1, 3), 3);
    EXPECT_EQ(CourseSubjectUtil::getNum({1, 2}, 2, 1, 3), 3);
}

}  // namespace
}  // namespace examora
