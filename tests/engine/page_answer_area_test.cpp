#include <gtest/gtest.h>

#include "engine/course_subject_util.h"
#include "engine/page_link.h"
#include "page_test_support.h"

namespace examora::page_test {
namespace {

class PageAnswerAreaTest : public PageTest {
  protected:
    std::string area(const CourseSubjectEntity& s, const std::string& myanswer, int showTime = 0) {
        std::string html;
        CourseSubjectUtil::buildAnswerHtml_SplitAnswerMode(html, s, myanswer, showTime);
        return html;
    }
};

TEST_F(PageAnswerAreaTest, VerdictFollowsPointsThenTheAnswerIgnoringCase) {
    auto s = subject(kSubjectMultipleChoice, "A.x B.y C.z D.w", 4, "ABD");
    s.score = 2.0;
    s.myscore = 2.0;
    EXPECT_NE(area(s, "ABD").find("(答对了)"), std::string::npos);
    s.myscore = 1.5;
    EXPECT_NE(area(s, "AB").find("<font color=\"brown\">(部分答对)</font>"), std::string::npos);
    // Points stored as single precision still make a full mark.
    s.score = 0.3;
    s.myscore = static_cast<float>(0.3);
    EXPECT_NE(area(s, "ABD").find("(答对了)"), std::string::npos);

    auto text = subject(kSubjectFillBlank, "", 1, "Beijing");
    text.myscore = 0;
    EXPECT_NE(area(text, "BEIJING").find("<font color=\"green\">(答对了)</font>"),
              std::string::npos);
    const std::string wrong = area(text, "Shanghai");
    EXPECT_NE(wrong.find("您的答案:Shanghai<font color=\"red\">(答错了)</font>"),
              std::string::npos);
    EXPECT_NE(wrong.find("正确答案:<font color=\"green\">Beijing</font>"), std::string::npos);

    CourseSubjectUtil::updatePageSettings([](SubjectPageSettings& p) { p.subjectshowmode = 1; });
    EXPECT_NE(area(text, "Shanghai").find("<font color=\"#9b93ff\">(答错了)</font>"),
              std::string::npos);
}

TEST_F(PageAnswerAreaTest, APaperBeingTakenShowsNoVerdictNorAnswerButOffersRedo) {
    auto s = subject(kSubjectSingleChoice, "A.x B.y", 2, "A", "B");
    const std::string html = page(s, 1);
    for (const char* hidden : {"正确答案", "答错了", "答对了", "答案解析"})
        EXPECT_EQ(html.find(hidden), std::string::npos) << hidden;
    EXPECT_NE(html.find("onclick='clearanswer()' >重新答题</button>"), std::string::npos);
    EXPECT_NE(html.find("onclick='dowriteerror()' >纠错</button>"), std::string::npos);
}

TEST_F(PageAnswerAreaTest, WrongAnswerDrillOffersAWrongSubjectAfresh) {
    auto wrong = subject(kSubjectSingleChoice, "A.x B.y", 2, "A", "B");
    const std::string html = page(wrong, 5);
    EXPECT_EQ(wrong.myanswer, "");
    for (const auto& c : controls(html))
        EXPECT_FALSE(c.checked || c.disabled) << c.id;
    EXPECT_EQ(html.find("重新答题"), std::string::npos);

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

TEST_F(PageAnswerAreaTest, FeedbackScriptIsOneValidStringLiteral) {
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
    EXPECT_NE(body.find("见 \\\"会计法\\\" 第<br/>三条"), std::string::npos);
    EXPECT_NE(body.find("C:\\\\temp"), std::string::npos);
}

TEST_F(PageAnswerAreaTest, NotesAreListedAsTextWithTheirEditLinks) {
    WriteNoteEntity note;
    note.detailid = 41;
    note.subjectid = 7;
    note.notetext = "<script>alert(1)</script>\n第二行";
    note.changedate = "2026-12-01 08:00:00";
    notes.push_back(note);
    auto s = subject(kSubjectSingleChoice, "A.x B.y", 2, "A", "A");
    const std::string html = area(s, "A");
    EXPECT_EQ(html.find("<script>"), std::string::npos);
    EXPECT_NE(html.find("&lt;script&gt;alert(1)&lt;/script&gt;<br/>第二行"), std::string::npos);
    EXPECT_NE(html.find("2026-12-01 08:00:00<A href=\"javascript:editmynote(41)\">修改</A>"),
              std::string::npos);
    EXPECT_NE(html.find("笔记:"), std::string::npos);

    CourseSubjectUtil::updatePageSettings([](SubjectPageSettings& p) { p.showmynote = 0; });
    EXPECT_EQ(area(s, "A").find("笔记:"), std::string::npos);
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
}  // namespace examora::page_test
