// The rules of one question-file row: every refusal reason, and answers put in the page's form.
#include <gtest/gtest.h>

#include "server/csv_course_import.h"
#include "server/csv_question_row.h"
#include "support/temp_home.h"

namespace examora {
namespace {

// A record from cells in column order; cells left out are empty.
CsvRecord row(std::vector<std::string> cells, int line = 2) {
    return {line, std::move(cells)};
}

class CsvQuestionRowTest : public TempHomeTest {
  protected:
    CsvQuestionRowTest() : folder(home_.makeDirectory("csv")) {
        TempHome::writeFile(folder + "/pic.png", "png");
        TempHome::writeFile(folder + "/sub/two.jpg", "jpg");
    }
    std::optional<CsvQuestion> parse(const CsvRecord& r) {
        return CsvQuestionRow::parse(r, folder, problem);
    }
    std::string folder;
    CsvRowProblem problem;
};

TEST_F(CsvQuestionRowTest, EachBadRowIsRefusedWithItsReason) {
    struct Case {
        std::vector<std::string> cells;
        std::string reason;
    };
    const std::string A = "甲", B = "乙";
    const Case cases[] = {
        {{"第一章", "选择题", "题", A, B, "", "", "", "", "", "A"}, "unknown type \"选择题\""},
        {{"第一章", "7", "题", A, B, "", "", "", "", "", "A"}, "unknown type \"7\""},
        {{"第一章", "单选题", "  ", A, B, "", "", "", "", "", "A"}, "missing question"},
        {{"", "单选题", "题", A, B, "", "", "", "", "", "A"}, "missing chapter"},
        {{"第一章//第一节", "0", "题", A, B, "", "", "", "", "", "A"},
         "empty level in chapter \"第一章//第一节\""},
        {{"第一章", "单选题", "题", A, B, "", "", "", "", "", "C"},
         "answer letter C beyond the options (A–B)"},
        {{"第一章", "多选题", "题", A, B, "丙", "", "", "", "", "ad"},
         "answer letter D beyond the options (A–C)"},
        {{"第一章", "单选题", "题", A, B, "", "", "", "", "", "AB"},
         "a single-choice answer is one letter"},
        {{"第一章", "多选题", "题", A, B, "", "", "", "", "", "B"},
         "a multiple-choice answer is two or more letters"},
        {{"第一章", "单选题", "题", A, B, "", "", "", "", "", "甲"},
         "answer \"甲\" is not option letters"},
        {{"第一章", "单选题", "题", A, "", "丙", "", "", "", "", "A"},
         "option B is empty but option C is not"},
        {{"第一章", "不定项", "题", A, "", "", "", "", "", "", "A"},
         "a choice question needs at least two options"},
        {{"第一章", "单选题", "题", "见 B.的说明", B, "", "", "", "", "", "A"},
         "option A holds \"B.\", which would split it"},
        {{"第一章", "判断题", "题", "", "", "", "", "", "", "", "是"},
         "a true-or-false answer is 对 or 错"},
        {{"第一章", "填空题", "题", "", "", "", "", "", "", "", ""}, "missing answer"},
        {{"第一章", "填空题", "题", "", "", "", "", "", "", "", "TCP/IP"},
         "the answer holds \"/\", which the question page cannot send"},
        {{"第一章", "问答题", "题", "", "", "", "", "", "", "", "一行\n二行"},
         "the answer holds a line break, which the question page cannot send"},
        {{"第一章", "案例题", "题", "", "", "", "", "", "", "", "DNS,,域名"},
         "a case answer has an empty key phrase"},
        {{"第一章", "判断题", "题", "", "", "", "", "", "", "", "对", "1.5"},
         "score \"1.5\" is not a whole number from 0 to 1000"},
        {{"第一章", "判断题", "题", "", "", "", "", "", "", "", "对", "", "", "pic.png;none.png"},
         "picture not found: none.png"},
        {{"第一章", "判断题", "题", "", "", "", "", "", "", "", "对", "", "", "", "../csv"},
         "picture not found: ../csv"},
        {{"第一章", "判断题", "题", "", "", "", "", "", "", "", "对", "", "", "", "", "多"},
         "more than 15 columns"},
        {{"第一章", "判断题", "\xE9\xA2", "", "", "", "", "", "", "", "对"},
         "not UTF-8 text (save the file as \"CSV UTF-8\")"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reason);
        EXPECT_FALSE(parse(row(c.cells, 9)));
        EXPECT_EQ(problem.line, 9);
        EXPECT_EQ(problem.reason, c.reason);
    }
}

TEST_F(CsvQuestionRowTest, AnswersArePutInTheFormThePageSends) {
    struct Case {
        std::vector<std::string> cells;
        std::string answer;
        int score;
    };
    const Case cases[] = {
        {{"一", "单选题", "题", "甲", "乙", "", "", "", "", "", " b "}, "B", 1},
        {{"一", "1", "题", "甲", "乙", "丙", "丁", "", "", "", "d, b，a"}, "ABD", 2},
        {{"一", "不定项", "题", "甲", "乙", "丙", "", "", "", "", "CC"}, "C", 2},
        {{"一", "判断题", "题", "", "", "", "", "", "", "", "正确"}, "对", 1},
        {{"一", "判断题", "题", "", "", "", "", "", "", "", "×", "3"}, "错", 3},
        {{"一", "案例题", "题", "", "", "", "", "", "", "", "DNS， 域名解析 ,缓存"},
         "DNS,域名解析,缓存",
         10},
        {{"一", "填空题", "题", "", "", "", "", "", "", "", "回收站"}, "回收站", 2},
        {{"一", "3", "题"}, "", 0},  // a row that stops early: the answer is missing
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answer);
        std::optional<CsvQuestion> q = parse(row(c.cells));
        if (c.answer.empty()) {
            EXPECT_FALSE(q);
            EXPECT_EQ(problem.reason, "missing answer");
            continue;
        }
        ASSERT_TRUE(q) << problem.reason;
        EXPECT_EQ(q->answer, c.answer);
        EXPECT_EQ(q->score, c.score);
    }
}

TEST_F(CsvQuestionRowTest, OptionsPathAndPicturesOfAGoodRow) {
    std::optional<CsvQuestion> q =
        parse(row({"第一章／ 第二节 ", "单选题", "看图{图1}", "甲", "乙 B", "丙", "", "", "", "",
                   "A", "", "解析", "pic.png；sub/two.jpg", "pic.png"}));
    ASSERT_TRUE(q) << problem.reason;
    EXPECT_EQ(q->chapterPath, (std::vector<std::string>{"第一章", "第二节"}));
    EXPECT_EQ(q->optionText(), "A.甲 B.乙 B C.丙");
    ASSERT_EQ(q->questionPictures.size(), 2u);
    EXPECT_EQ(q->questionPictures[1].filename(), "two.jpg");
    EXPECT_EQ(q->analysisPictures.size(), 1u);
}

TEST_F(CsvQuestionRowTest, TheFileChecksHeaderAndChapterShape) {
    auto check = [&](const std::string& text, std::vector<CsvRowProblem>& bad, std::string& error) {
        return CsvCourseImport::check(CsvReader::parse(text), folder, bad, error);
    };
    std::vector<CsvRowProblem> bad;
    std::string error;
    check("第一章,单选题,题,甲,乙,,,,,,A\n", bad, error);
    EXPECT_EQ(error, "line 1: the first row must be the header row (章节,题型,…)");

    error.clear();
    std::vector<CsvQuestion> good = check(
        "章节,题型,题目,A,B,C,D,E,F,G,答案\n"
        "一/甲,判断题,题1,,,,,,,,对\n"
        "一,判断题,题2,,,,,,,,对\n"
        "二,判断题,题3,,,,,,,,对\n",
        bad, error);
    EXPECT_EQ(error, "");
    ASSERT_EQ(bad.size(), 1u);
    EXPECT_EQ(bad[0].line, 3);
    EXPECT_EQ(bad[0].reason, "chapter \"一\" has sections, so it cannot hold questions itself");
    EXPECT_EQ(good.size(), 2u);

    std::string text = "章节,题型,题目,A,B,C,D,E,F,G,答案\n";
    for (int i = 1; i <= 100; ++i)
        text += "一/节" + std::to_string(i) + ",判断题,题,,,,,,,,对\n";
    bad.clear();
    good = check(text, bad, error);
    EXPECT_EQ(good.size(), 99u);
    ASSERT_EQ(bad.size(), 1u);
    EXPECT_EQ(bad[0].line, 101);
    EXPECT_EQ(bad[0].reason, "more than 99 chapters under \"一\"");
}

}  // namespace
}  // namespace examora
