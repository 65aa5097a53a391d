#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "engine/course_subject_util.h"
#include "facade/page_link.h"
#include "list_fields.h"

namespace examora {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

// One <input> or <textarea> of a built page with the attributes the learner's state lives in.
struct Control {
    std::string tag;  // "input" or "textarea"
    std::string type;
    std::string id;
    std::string value;
    bool checked = false;
    bool disabled = false;
};

inline std::vector<Control> controls(const std::string& html) {
    auto attribute = [](const std::string& tag, const std::string& name) {
        std::smatch m;
        return std::regex_search(tag, m, std::regex("\\s" + name + "=\"([^\"]*)\""))
                   ? m[1].str()
                   : std::string();
    };
    auto flag = [](const std::string& tag, const char* name) {
        return std::regex_search(tag, std::regex(std::string("\\s") + name + "\\b"));
    };
    std::vector<Control> out;
    const std::regex re("<(input|textarea)\\b[^>]*>");
    for (auto it = std::sregex_iterator(html.begin(), html.end(), re); it != std::sregex_iterator();
         ++it) {
        const std::string tag = it->str();
        out.push_back({(*it)[1].str(), attribute(tag, "type"), attribute(tag, "id"),
                       attribute(tag, "value"), flag(tag, "checked"), flag(tag, "disabled")});
    }
    return out;
}

// The practice session's settings (styled controls, notes shown, no tool bar of the page's own)
// with notes from a list instead of the store; restored after each test.
class QuestionPageTest : public ::testing::Test {
  protected:
    QuestionPageTest() {
        CourseSubjectUtil::setPageSettings(SubjectPageSettings{});
        CourseSubjectUtil::updatePageSettings([](SubjectPageSettings& s) {
            s.showfunmode = 1;
            s.showmynote = 1;
            s.buildcss = true;
        });
        CourseSubjectUtil::setNoteSource([this](int subjectId) {
            std::vector<WriteNoteEntity> out;
            for (const auto& n : notes)
                if (n.subjectid == subjectId) out.push_back(n);
            return out;
        });
    }
    ~QuestionPageTest() override {
        CourseSubjectUtil::setNoteSource({});
        CourseSubjectUtil::setPageSettings(SubjectPageSettings{});
    }

    static CourseSubjectEntity subject(int type, const std::string& question, int answerCount,
                                       const std::string& answer,
                                       const std::string& myanswer = {}) {
        CourseSubjectEntity s;
        s.subjectid = 7;
        s.subjecttype = type;
        s.title = "题干";
        s.question = question;
        s.answercount = answerCount;
        s.answer = answer;
        s.myanswer = myanswer;
        s.score = 1.0;
        s.description = "解析";
        return s;
    }

    std::string page(CourseSubjectEntity& s, int showTime = 0, int index = 0) {
        std::string html;
        CourseSubjectUtil::buildSubjectHtml_SplitAnswerMode(html, s, index, showTime, s.subjecttype,
                                                            false, true);
        return html;
    }

    std::string area(const CourseSubjectEntity& s, const std::string& myanswer, int showTime = 0) {
        std::string html;
        CourseSubjectUtil::buildAnswerHtml_SplitAnswerMode(html, s, myanswer, showTime);
        return html;
    }

    std::vector<WriteNoteEntity> notes;
};

using Texts = std::vector<std::string>;

TEST_F(QuestionPageTest, SingleChoiceWithFourOptionsGetsOneLabelledRadioEach) {
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
    EXPECT_THAT(html, HasSubstr("class=\"css-label\">C.丙"));
    // Unanswered: the answer area is empty and nothing gives the answer away.
    EXPECT_THAT(html, HasSubstr("id=\"spananswer\"><br/><br/></div> "));
    EXPECT_THAT(html, Not(HasSubstr("正确答案")));
    EXPECT_THAT(html, HasSubstr("第 <FONT color=red>1</FONT> 题：单选题(本题1分)"));
    EXPECT_THAT(html, HasSubstr("window.location.href='ios://doAnswer/' + itemvalue;"));
}

TEST_F(QuestionPageTest, OptionsThatDoNotSplitFallBackToLetteredControls) {
    auto s = subject(kSubjectSingleChoice, "A.甲 B.乙 C.丙 D.丁", 5, "B", "C");
    const std::string html = page(s);
    const auto cs = controls(html);
    EXPECT_EQ(fields(cs, &Control::value), (Texts{"A", "B", "C", "D", "E"}));
    for (const auto& c : cs) {
        EXPECT_EQ(c.checked, c.value == "C");
        EXPECT_TRUE(c.disabled);
    }
    // The question is shown whole, and each control is labelled by its letter alone.
    EXPECT_THAT(html, HasSubstr("margin:10px\">A.甲 B.乙 C.丙 D.丁</div>"));
    EXPECT_THAT(html, HasSubstr("class=\"css-label\">E</label>"));
    EXPECT_EQ(html.find("id=\"spananswer\""), html.rfind("id=\"spananswer\""));
}

TEST_F(QuestionPageTest, LetteredControlsAreStyledWithoutTheStyleSetting) {
    CourseSubjectUtil::updatePageSettings([](SubjectPageSettings& ps) { ps.buildcss = false; });
    struct Case {
        int type;
        Texts expected;
    };
    const Case cases[] = {
        {kSubjectSingleChoice,
         {" class=\"css-radiobox\"", "<label for=\"answeritem_4\" class=\"css-label\">E</label>"}},
        {kSubjectMultipleChoice,
         {" class=\"css-checkbox\"", "<label for=\"answeritem_4\" class=\"css-labelchk\">E</label>",
          "<button type=\"button\" class=\"button okbutton\""}},
    };
    for (const Case& c : cases) {
        auto s = subject(c.type, "A.甲 B.乙 C.丙 D.丁", 5, "B");
        const std::string html = page(s);
        for (const std::string& part : c.expected)
            EXPECT_THAT(html, HasSubstr(part)) << c.type;
    }
}

TEST_F(QuestionPageTest, AnsweredChoicesAreTickedAndLockedAndHideTheConfirm) {
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
    EXPECT_THAT(html, HasSubstr("width:60%;display:none\" id=\"btnsumitanswer\""));
    EXPECT_THAT(html, HasSubstr("for(var i=0;i<4;i++)"));
    EXPECT_THAT(html, HasSubstr("第 <FONT color=red>3</FONT> 题：多选题"));
    EXPECT_THAT(html, HasSubstr("您的答案:ABD<font color=\"green\">(答对了)</font>"));

    auto open = subject(kSubjectOneOrMore, "A.甲 B.乙 C.丙", 3, "AB");
    EXPECT_THAT(page(open), HasSubstr("style=\"margin-top:10px;width:60%\" id=\"btnsumitanswer\""));

    auto trueFalse = subject(kSubjectTrueFalse, "", 0, "对", "错");
    const auto tf = controls(page(trueFalse));
    EXPECT_EQ(fields(tf, &Control::value), (Texts{"对", "错"}));
    EXPECT_EQ(fields(tf, &Control::checked), (std::vector<bool>{false, true}));
}

TEST_F(QuestionPageTest, TextTypesHaveOneFieldWhateverTheirOptionCount) {
    for (int type : {kSubjectQuestionAnswer, kSubjectCase, kSubjectFillBlank}) {
        auto s = subject(type, "请简述。", 4, "答案");
        const std::string html = page(s);
        const auto cs = controls(html);
        ASSERT_EQ(cs.size(), 1u) << type;
        EXPECT_EQ(cs[0].tag, type == kSubjectFillBlank ? "input" : "textarea");
        EXPECT_EQ(cs[0].id, "answeritem_0");
        EXPECT_FALSE(cs[0].disabled);
        // The script touches only the field that exists.
        EXPECT_THAT(html, Not(HasSubstr("answeritem_1"))) << type;
        EXPECT_THAT(html, HasSubstr("<b>请输入答案:</b>"));
    }

    // A typed answer is the learner's text: shown as text, never as markup.
    auto answered = subject(kSubjectFillBlank, "填空", 1, "x", "<img src=x onerror=alert(1)>");
    const std::string html = page(answered);
    EXPECT_THAT(html, Not(HasSubstr("<img src=x")));
    EXPECT_THAT(html, HasSubstr("&lt;img src=x onerror=alert(1)&gt;"));
    EXPECT_TRUE(controls(html)[0].disabled);
    EXPECT_THAT(html, HasSubstr("style=\"width:60%;display:none\" id=\"btnsumitanswer\""));
}

TEST_F(QuestionPageTest, ViewModeShowsQuestionAndAnswerWithoutControls) {
    auto s = subject(kSubjectSingleChoice, "A.甲 B.乙", 2, "A", "B");
    const std::string html = page(s, 2);
    EXPECT_TRUE(controls(html).empty());
    EXPECT_THAT(html, Not(HasSubstr("<script")));
    EXPECT_THAT(html, HasSubstr("正确答案:<font color=\"green\">A</font>"));
    EXPECT_THAT(html, Not(HasSubstr("重新答题")));
}

TEST_F(QuestionPageTest, ToolBarOnlyWhenThePageCarriesItsOwn) {
    auto s = subject(kSubjectSingleChoice, "A.甲 B.乙", 2, "A");
    EXPECT_THAT(page(s), Not(HasSubstr("dofavorite()\"")));

    CourseSubjectUtil::updatePageSettings([](SubjectPageSettings& p) { p.showfunmode = 0; });
    s.collect = true;
    const std::string practice = page(s, 0);
    EXPECT_THAT(practice, HasSubstr("<br>交卷</a>"));
    EXPECT_THAT(practice, HasSubstr("<span id=\"spancollect\">取消收藏</span>"));
    EXPECT_THAT(practice, HasSubstr("file://"));
    EXPECT_THAT(practice, HasSubstr("/favorite.png\"/>"));
    EXPECT_THAT(page(s, 4), Not(HasSubstr("<br>交卷</a>")));
    EXPECT_THAT(page(s, 1), Not(HasSubstr("onClick=\"dofavorite()\"")));
}

TEST_F(QuestionPageTest, VerdictFollowsPointsThenTheAnswerIgnoringCase) {
    auto s = subject(kSubjectMultipleChoice, "A.x B.y C.z D.w", 4, "ABD");
    s.score = 2.0;
    s.myscore = 2.0;
    EXPECT_THAT(area(s, "ABD"), HasSubstr("(答对了)"));
    s.myscore = 1.5;
    EXPECT_THAT(area(s, "AB"), HasSubstr("<font color=\"brown\">(部分答对)</font>"));
    // Points stored as single precision still make a full mark.
    s.score = 0.3;
    s.myscore = static_cast<float>(0.3);
    EXPECT_THAT(area(s, "ABD"), HasSubstr("(答对了)"));

    auto text = subject(kSubjectFillBlank, "", 1, "Beijing");
    text.myscore = 0;
    EXPECT_THAT(area(text, "BEIJING"), HasSubstr("<font color=\"green\">(答对了)</font>"));
    const std::string wrong = area(text, "Shanghai");
    EXPECT_THAT(wrong, HasSubstr("您的答案:Shanghai<font color=\"red\">(答错了)</font>"));
    EXPECT_THAT(wrong, HasSubstr("正确答案:<font color=\"green\">Beijing</font>"));

    CourseSubjectUtil::updatePageSettings([](SubjectPageSettings& p) { p.subjectshowmode = 1; });
    EXPECT_THAT(area(text, "Shanghai"), HasSubstr("<font color=\"#9b93ff\">(答错了)</font>"));
}

TEST_F(QuestionPageTest, APaperBeingTakenShowsNoVerdictNorAnswerButOffersRedo) {
    auto s = subject(kSubjectSingleChoice, "A.x B.y", 2, "A", "B");
    const std::string html = page(s, 1);
    for (const char* hidden : {"正确答案", "答错了", "答对了", "答案解析"})
        EXPECT_THAT(html, Not(HasSubstr(hidden))) << hidden;
    EXPECT_THAT(html, HasSubstr("onclick='clearanswer()' >重新答题</button>"));
    EXPECT_THAT(html, HasSubstr("onclick='dowriteerror()' >纠错</button>"));
}

TEST_F(QuestionPageTest, WrongAnswerDrillOffersAWrongSubjectAfresh) {
    auto wrong = subject(kSubjectSingleChoice, "A.x B.y", 2, "A", "B");
    const std::string html = page(wrong, 5);
    EXPECT_EQ(wrong.myanswer, "");
    for (const auto& c : controls(html))
        EXPECT_FALSE(c.checked || c.disabled) << c.id;
    EXPECT_THAT(html, Not(HasSubstr("重新答题")));

    // Only an exact match is right here: "a" for "A" is offered again too.
    auto right = subject(kSubjectSingleChoice, "A.x B.y", 2, "A", "A");
    const auto cs = controls(page(right, 5));
    EXPECT_EQ(right.myanswer, "A");
    EXPECT_TRUE(cs[0].checked);
    auto lower = subject(kSubjectSingleChoice, "A.x B.y", 2, "A", "a");
    page(lower, 5);
    EXPECT_EQ(lower.myanswer, "");
    // Outside the drill a wrong answer stays.
    auto chapter = subject(kSubjectSingleChoice, "A.x B.y", 2, "A", "B");
    page(chapter, 0);
    EXPECT_EQ(chapter.myanswer, "B");
}

TEST_F(QuestionPageTest, FeedbackScriptIsOneValidStringLiteral) {
    auto s = subject(kSubjectFillBlank, "", 1, "C:\\temp");
    s.description = "见 \"会计法\" 第\r\n三条";
    EXPECT_EQ(CourseSubjectUtil::getDoAnswerHtml_SplitAnswerMode(s, "", 0),
              "showanswer(\"<br/>\");");
    const std::string script = CourseSubjectUtil::getDoAnswerHtml_SplitAnswerMode(s, "x", 0);
    ASSERT_TRUE(script.starts_with("showanswer(\""));
    ASSERT_TRUE(script.ends_with("\");"));
    const std::string body = script.substr(12, script.size() - 15);
    // Every quote inside is escaped, no carriage return is left, backslashes survive.
    for (std::size_t i = 0; i < body.size(); ++i) {
        if (body[i] == '\\') {
            ++i;
            continue;
        }
        EXPECT_NE(body[i], '"') << "unescaped quote at " << i;
        EXPECT_NE(body[i], '\r');
    }
    EXPECT_THAT(body, HasSubstr("见 \\\"会计法\\\" 第<br/>三条"));
    EXPECT_THAT(body, HasSubstr("C:\\\\temp"));
}

TEST_F(QuestionPageTest, NotesAreListedAsTextWithTheirEditLinks) {
    WriteNoteEntity note;
    note.detailid = 41;
    note.subjectid = 7;
    note.notetext = "<script>alert(1)</script>\n第二行";
    note.changedate = "2026-12-01 08:00:00";
    notes.push_back(note);
    auto s = subject(kSubjectSingleChoice, "A.x B.y", 2, "A", "A");
    const std::string html = area(s, "A");
    EXPECT_THAT(html, Not(HasSubstr("<script>")));
    EXPECT_THAT(html, HasSubstr("&lt;script&gt;alert(1)&lt;/script&gt;<br/>第二行"));
    EXPECT_THAT(html,
                HasSubstr("2026-12-01 08:00:00<A href=\"javascript:editmynote(41)\">修改</A>"));
    EXPECT_THAT(html, HasSubstr("笔记:"));

    CourseSubjectUtil::updatePageSettings([](SubjectPageSettings& p) { p.showmynote = 0; });
    EXPECT_THAT(area(s, "A"), Not(HasSubstr("笔记:")));
}

TEST(PageLinkTest, TapsBecomeCommandAndFirstArgument) {
    EXPECT_TRUE(PageLink::allowsLoad("about:blank"));
    EXPECT_FALSE(PageLink::allowsLoad("http://example.com/?about:blank"));
    EXPECT_FALSE(PageLink::allowsLoad("ios://doAnswer/A"));

    // Link, then "command|argument" with "|" only when there is an argument; "" for no link.
    const std::pair<const char*, const char*> links[] = {
        {"ios://doAnswer/%E5%8C%97%E4%BA%AC/%E5%8D%97", "doAnswer|北京"},
        // A typed answer holding "/" reaches the session cut at it, escaped or not.
        {"ios://doAnswer/1%2F2", "doAnswer|1"},
        {"ios://doAnswer/a/b/c", "doAnswer|a"},
        {"ios://doAnswer/", "doAnswer|"},
        {"ios://DOFAVORITE", "DOFAVORITE"},
        {"IOS://dofavorite", ""},
        {"http://doAnswer/A", ""},
        {"ios:doAnswer", ""},
        {"ios://doAnswer/%E5%8C", ""},  // not UTF-8
        {"ios://doAnswer/%4", ""},
    };
    for (const auto& [url, expected] : links) {
        const auto link = PageLink::parse(url);
        EXPECT_EQ(link ? link->command + (link->hasArgument ? "|" + link->argument : "") : "",
                  expected)
            << url;
    }
    EXPECT_TRUE(PageLink::parse("ios://DOFAVORITE")->is("dofavorite"));

    EXPECT_EQ(PageLink::noteItemId("ios://donoteitem/12"), 12);
    EXPECT_EQ(PageLink::noteItemId("ios://DoNoteItem/12/x"), 12);
    for (const char* url : {"ios://donoteitem/12a", "ios://donoteitem/", "ios://editmynote/12"})
        EXPECT_FALSE(PageLink::noteItemId(url)) << url;
}

}  // namespace
}  // namespace examora
