#include <gtest/gtest.h>

#include "engine/course_subject_util.h"
#include "list_fields.h"
#include "page_test_support.h"

namespace examora::page_test {
namespace {

using Texts = std::vector<std::string>;

class PageStructureTest : public PageTest {};

TEST_F(PageStructureTest, SingleChoiceWithFourOptionsGetsOneLabelledRadioEach) {
    auto s = subject(kSubjectSingleChoice, "A.甲 B.乙 C.丙 D.丁", 4, "B");
    const std::string html = page(s);
    const auto cs = controls(html);
    EXPECT_EQ(fields(cs, &Control::id),
              (Texts{"answeritem_0", "answeritem_1", "answeritem_2", "answeritem_3"}));
    EXPECT_EQ(fields(cs, &Control::value), (Texts{"A", "B", "C", "D"}));
    for (const auto& c : cs) {
        EXPECT_EQ(c.type, "radio");
        EXPECT_FALSE(c.checked || c.disabled) << c.id;
    }
    EXPECT_NE(html.find("class=\"css-label\">C.丙"), std::string::npos);
    // Unanswered: the answer area is empty and nothing gives the answer away.
    EXPECT_NE(html.find("id=\"spananswer\"><br/><br/></div> "), std::string::npos);
    EXPECT_EQ(html.find("正确答案"), std::string::npos);
    EXPECT_NE(html.find("第 <FONT color=red>1</FONT> 题：单选题(本题1分)"), std::string::npos);
    EXPECT_NE(html.find("window.location.href='ios://doAnswer/' + itemvalue;"), std::string::npos);
}

TEST_F(PageStructureTest, OptionsThatDoNotSplitFallBackToLetteredControls) {
    auto s = subject(kSubjectSingleChoice, "A.甲 B.乙 C.丙 D.丁", 5, "B", "C");
    const std::string html = page(s);
    const auto cs = controls(html);
    EXPECT_EQ(fields(cs, &Control::value), (Texts{"A", "B", "C", "D", "E"}));
    for (const auto& c : cs) {
        EXPECT_EQ(c.checked, c.value == "C");
        EXPECT_TRUE(c.disabled);
    }
    // The question is shown whole, and each control is labelled by its letter alone.
    EXPECT_NE(html.find("margin:10px\">A.甲 B.乙 C.丙 D.丁</div>"), std::string::npos);
    EXPECT_NE(html.find("class=\"css-label\">E</label>"), std::string::npos);
    EXPECT_EQ(occurrences(html, "id=\"spananswer\""), 1);
}

TEST_F(PageStructureTest, AnsweredChoicesAreTickedAndLockedAndHideTheConfirm) {
    auto s = subject(kSubjectMultipleChoice, "A.甲 B.乙 C.丙 D.丁", 4, "ABD", "ABD");
    s.myscore = 1;
    const std::string html = page(s, 0, 2);
    const auto cs = controls(html);
    ASSERT_EQ(cs.size(), 4u);
    for (const auto& c : cs) {
        EXPECT_EQ(c.type, "checkbox");
        EXPECT_EQ(c.checked, c.value != "C") << c.value;
        EXPECT_TRUE(c.disabled) << c.value;
    }
    EXPECT_NE(html.find("width:60%;display:none\" id=\"btnsumitanswer\""), std::string::npos);
    EXPECT_NE(html.find("第 <FONT color=red>3</FONT> 题：多选题"), std::string::npos);
    EXPECT_NE(html.find("您的答案:ABD<font color=\"green\">(答对了)</font>"), std::string::npos);

    auto open = subject(kSubjectOneOrMore, "A.甲 B.乙 C.丙", 3, "AB");
    EXPECT_NE(page(open).find("style=\"margin-top:10px;width:60%\" id=\"btnsumitanswer\""),
              std::string::npos);

    auto trueFalse = subject(kSubjectTrueFalse, "", 0, "对", "错");
    const auto tf = controls(page(trueFalse));
    EXPECT_EQ(fields(tf, &Control::value), (Texts{"对", "错"}));
    EXPECT_EQ(fields(tf, &Control::checked), (std::vector<bool>{false, true}));
}

TEST_F(PageStructureTest, TextTypesHaveOneFieldWhateverTheirOptionCount) {
    for (int type : {kSubjectQuestionAnswer, kSubjectCase, kSubjectFillBlank}) {
        auto s = subject(type, "请简述。", 4, "答案");
        const std::string html = page(s);
        const auto cs = controls(html);
        ASSERT_EQ(cs.size(), 1u) << type;
        EXPECT_EQ(cs[0].tag, type == kSubjectFillBlank ? "input" : "textarea");
        EXPECT_EQ(cs[0].id, "answeritem_0");
        EXPECT_FALSE(cs[0].disabled);
        // The script touches only the field that exists.
        EXPECT_EQ(html.find("answeritem_1"), std::string::npos) << type;
        EXPECT_NE(html.find("<b>请输入答案:</b>"), std::string::npos);
    }

    // A typed answer is the learner's text: shown as text, never as markup.
    auto answered = subject(kSubjectFillBlank, "填空", 1, "x", "<img src=x onerror=alert(1)>");
    const std::string html = page(answered);
    EXPECT_EQ(html.find("<img src=x"), std::string::npos);
    EXPECT_NE(html.find("&lt;img src=x onerror=alert(1)&gt;"), std::string::npos);
    EXPECT_TRUE(controls(html)[0].disabled);
}

TEST_F(PageStructureTest, ViewModeShowsQuestionAndAnswerWithoutControls) {
    auto s = subject(kSubjectSingleChoice, "A.甲 B.乙", 2, "A", "B");
    const std::string html = page(s, 2);
    EXPECT_TRUE(controls(html).empty());
    EXPECT_EQ(html.find("<script"), std::string::npos);
    EXPECT_NE(html.find("正确答案:<font color=\"green\">A</font>"), std::string::npos);
    EXPECT_EQ(html.find("重新答题"), std::string::npos);
}

TEST_F(PageStructureTest, ToolBarOnlyWhenThePageCarriesItsOwn) {
    auto s = subject(kSubjectSingleChoice, "A.甲 B.乙", 2, "A");
    EXPECT_EQ(page(s).find("dofavorite()\""), std::string::npos);

    CourseSubjectUtil::updatePageSettings([](SubjectPageSettings& p) { p.showfunmode = 0; });
    s.collect = true;
    const std::string practice = page(s, 0);
    EXPECT_NE(practice.find("<br>交卷</a>"), std::string::npos);
    EXPECT_NE(practice.find("<span id=\"spancollect\">取消收藏</span>"), std::string::npos);
    EXPECT_NE(practice.find("file://"), std::string::npos);
    EXPECT_EQ(page(s, 4).find("<br>交卷</a>"), std::string::npos);
    EXPECT_EQ(page(s, 1).find("onClick=\"dofavorite()\""), std::string::npos);
}

}  // namespace
}  // namespace examora::page_test
