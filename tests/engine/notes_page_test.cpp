#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/course_subject_util.h"
#include "engine/course_util.h"
#include "engine/write_note_util.h"
#include "service/user_note_list.h"
#include "store/cus_setting_util.h"
#include "support/course_builder.h"
#include "support/store_test_fixture.h"

namespace examora {
namespace {

class NotesPageTest : public StoreTest {
  protected:
    NotesPageTest() {
        b.course(1);
        subject = b.subject({.chapterId = b.chapters(1, 0, {"01"})[0]});
    }
    CourseBuilder b;
    int subject = 0;
};

TEST_F(NotesPageTest, OwnNotesAreEditableTextAndOthersAreNot) {
    WriteNoteUtil util;
    EXPECT_EQ(util.buildWriteNoteHtml(subject, false, Value(), 1), "没有任何笔记！");

    const int first = b.note(subject, "<b>粗体</b>");
    const int second = b.note(subject, "两行\r\n文字");
    const std::string mine = util.buildWriteNoteHtml(subject, false, Value(), 1);
    EXPECT_EQ(mine.find("<b>"), std::string::npos);
    EXPECT_NE(mine.find("<P style=\"color:#000000\">&lt;b&gt;粗体&lt;/b&gt;</P>\r\n"),
              std::string::npos);
    EXPECT_NE(mine.find("两行<br/>文字"), std::string::npos);
    for (int id : {first, second}) {
        EXPECT_NE(mine.find("ios://donoteitem/" + std::to_string(id) + "'\">修改 </a>"),
                  std::string::npos);
    }
    EXPECT_EQ(mine.find("<hr>\r\n"), mine.rfind("<hr>\r\n"));  // between the two notes only
    EXPECT_NE(mine.find("<div style=\"width:100%;float:right\">"), std::string::npos);

    // Other learners' notes: the service's page, escaped, without edit links.
    std::vector<int> asked;
    WriteNoteUtil others([&](int subjectId, const Value&, int pageSize, int pageIndex) {
        asked = {subjectId, pageSize, pageIndex};
        WriteNoteEntity note;
        note.detailid = 900;
        note.notetext = "<img src=x onerror=alert(1)>";
        note.changedate = "2026-11-30 10:00:00";
        return std::vector<WriteNoteEntity>{note};
    });
    const std::string theirs = others.buildWriteNoteHtml(subject, true, Value(5), 0);
    EXPECT_EQ(asked, (std::vector<int>{subject, 10, 1}));
    EXPECT_EQ(theirs.find("<img"), std::string::npos);
    EXPECT_EQ(theirs.find("donoteitem"), std::string::npos);
    EXPECT_NE(theirs.find(">2026-11-30 10:00:00</div>"), std::string::npos);
    EXPECT_EQ(WriteNoteUtil().buildWriteNoteHtml(subject, true, Value(5), 1), "没有任何笔记！");
}

TEST_F(NotesPageTest, AnswerAreaListsTheStoredNotesAsTheyChange) {
    CourseSubjectUtil::setPageSettings(SubjectPageSettings{});
    CourseSubjectUtil::updatePageSettings([](SubjectPageSettings& s) { s.showmynote = 1; });
    CourseUtil util;
    CourseSubjectEntity s = *util.loadSubjuectInfo(subject);
    auto area = [&] {
        std::string html;
        CourseSubjectUtil::buildAnswerHtml_SplitAnswerMode(html, s, "A", 0);
        return html;
    };
    EXPECT_EQ(area().find("笔记:"), std::string::npos);
    util.writeSubjectNote(subject, "第一条");
    EXPECT_NE(area().find("第一条"), std::string::npos);
    util.writeSubjectNote(subject, "第二条");
    const std::string both = area();
    EXPECT_NE(both.find("第一条"), std::string::npos);
    EXPECT_NE(both.find("第二条"), std::string::npos);
    CourseSubjectUtil::setPageSettings(SubjectPageSettings{});
}

// Answers searchUserNote with a fixed result text.
class ScriptedService : public ExamWebServiceUtil {
  public:
    explicit ScriptedService(std::string reply) : reply_(std::move(reply)) {}
    std::string getRespondData(const std::string& method, const std::optional<SoapParams>&,
                               double) override {
        methods.push_back(method);
        return reply_;
    }
    std::vector<std::string> methods;

  private:
    std::string reply_;
};

TEST(UserNoteListTest, ReadsEachObjectOfTheServicesAnswer) {
    ScriptedService service(
        R"([{"id":3,"isubjectid":8,"cnotetext":"好","dchangedate":"2026-11-01 09:30:00"},7])");
    const auto notes = loadUserNoteList(service, 8, Value(2), 10, 1);
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0].detailid, 3);
    EXPECT_EQ(notes[0].notetext, "好");
    EXPECT_EQ(service.methods, std::vector<std::string>{"SearchUserNote"});
    for (const char* empty : {"", "anyType{}", "not json"}) {
        ScriptedService broken(empty);
        EXPECT_TRUE(loadUserNoteList(broken, 8, Value(2), 10, 1).empty()) << empty;
    }
}

TEST_F(NotesPageTest, PageSettingsFollowTheStoredChoices) {
    CourseSubjectUtil::setPageSettings(SubjectPageSettings{});
    CourseSubjectUtil::loadSubjectSettings();
    SubjectPageSettings s = CourseSubjectUtil::pageSettings();
    EXPECT_EQ(s.fontSize, "16px");  // nothing stored reads as size 2
    EXPECT_EQ(s.foreColor, "#000000");

    CusSettingUtil store;
    store.setValue("ifontsize", "4");
    store.setValue("ishowmode", "1");
    store.setValue("iscreenlight", "1");
    CourseSubjectUtil::loadSubjectSettings();
    s = CourseSubjectUtil::pageSettings();
    EXPECT_EQ(s.fontSize, "26px");
    EXPECT_EQ(s.foreColor, "#5d6266");
    EXPECT_EQ(s.bodybackColor, "#1f282f");
    EXPECT_EQ(s.getLineColor(), "#828282");
    EXPECT_EQ(s.subjectshowlight, 1);

    // A size outside 1..5 keeps the size in use.
    store.setValue("ifontsize", "9");
    store.setValue("ishowmode", "0");
    CourseSubjectUtil::loadSubjectSettings();
    s = CourseSubjectUtil::pageSettings();
    EXPECT_EQ(s.fontSize, "26px");
    EXPECT_EQ(s.bodybackColor, "#FFFFFF");
    EXPECT_EQ(CourseSubjectUtil::buildPStringOfHtml(), "<div style=\"color:#000000\">");
    CourseSubjectUtil::setPageSettings(SubjectPageSettings{});
}

}  // namespace
}  // namespace examora
