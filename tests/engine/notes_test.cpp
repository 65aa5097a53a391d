#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/common_setting.h"
#include "engine/course_subject_util.h"
#include "engine/course_util.h"
#include "facade/error_report_editor.h"
#include "facade/note_editor.h"
#include "engine/write_note_util.h"
#include "platform/exam_error.h"
#include "store/cus_setting_util.h"
#include "support/course_builder.h"
#include "support/store_test_fixture.h"

namespace examora {
namespace {

using ::testing::AllOf;
using ::testing::HasSubstr;
using ::testing::Not;

class NotesTest : public StoreTest {
  protected:
    NotesTest() {
        b.course(1);
        subject = b.subject({.chapterId = b.chapters(1, 0, {"01"})[0]});
        CommonSetting::setLoginUserName("learner");
    }

    CourseBuilder b;
    CourseUtil util;
    int subject = 0;
};

TEST_F(NotesTest, AFourthNoteIsRefusedButTheThreeStayEditable) {
    for (const char* text : {"一", "二", "三"})
        util.writeSubjectNote(subject, text);
    try {
        util.writeSubjectNote(subject, "四");
        FAIL() << "a fourth note was accepted";
    } catch (const ExamError& e) {
        EXPECT_EQ(e.name(), "添加笔记失败");
        EXPECT_EQ(e.reason(), "一个题目不能添加超过3个的笔记！");
    }
    const std::vector<WriteNoteEntity> notes = util.loadMySubjectNoteList(subject);
    ASSERT_EQ(notes.size(), 3u);
    EXPECT_EQ(count("sys_exchangeclienttask", "citemname='cs_writenote' and iaction=0"), 3);

    util.modifySubjectNote(notes[1].detailid, "二（改）");
    EXPECT_EQ(util.getWriteNoteText(notes[1].detailid), "二（改）");
    // Changing twice before an upload queues the change once; the note has its add and change.
    util.modifySubjectNote(notes[1].detailid, "二（再改）");
    const std::string id = std::to_string(notes[1].detailid);
    EXPECT_EQ(count("sys_exchangeclienttask", "cprimaryvalue='" + id + "' and iaction=1"), 1);
    EXPECT_EQ(count("sys_exchangeclienttask", "cmaker='learner'"), 4);
    EXPECT_EQ(util.getWriteNoteText(999), "");
}

TEST_F(NotesTest, AReportIsKeptOncePerSubjectWithOneTaskPerAction) {
    util.writeSubjectError(subject, 0, "题干缺字");
    util.writeSubjectError(subject, 1, "答案应为B");
    ASSERT_EQ(count("cs_writeerror"), 1);
    const std::optional<WriteErrorEntity> report = util.loadSubjectError(subject);
    ASSERT_TRUE(report);
    EXPECT_EQ(report->errortype, 1);
    EXPECT_EQ(report->errortext, "答案应为B");
    const std::string task = "citemname='cs_writeerror' and cprimaryvalue='" +
                             std::to_string(report->detailid) + "' and iaction=";
    EXPECT_EQ(count("sys_exchangeclienttask", task + "0"), 1);
    EXPECT_EQ(count("sys_exchangeclienttask", task + "1"), 1);

    util.writeSubjectError(subject, 0, "第三次");
    EXPECT_EQ(count("sys_exchangeclienttask", "citemname='cs_writeerror'"), 2);
    EXPECT_EQ(util.loadSubjectError(subject)->errortext, "第三次");
    EXPECT_FALSE(util.loadSubjectError(subject + 1000));
}

TEST_F(NotesTest, AWriteWhoseTaskCannotBeQueuedLeavesNoTrace) {
    // With the queue unwritable the note must not be kept unqueued, nor the failure hidden.
    ASSERT_TRUE(sql().ExecuteNonQuery("drop table sys_exchangeclienttask", std::vector<Value>{}));
    EXPECT_THROW(util.writeSubjectNote(subject, "一"), ExamError);
    EXPECT_THROW(util.writeSubjectError(subject, 0, "错"), ExamError);
    EXPECT_EQ(count("cs_writenote"), 0);
    EXPECT_EQ(count("cs_writeerror"), 0);
    EXPECT_FALSE(util.HasTransaction());
    EXPECT_FALSE(util.isOpen());
}

TEST_F(NotesTest, NoteEditorAddsOrEditsAndShowsRefusals) {
    NoteEditor fresh(util, subject);
    EXPECT_EQ(fresh.title(), "笔记");
    EditorOutcome empty = fresh.submit("");
    ASSERT_TRUE(empty.alert);
    EXPECT_EQ(empty.alert->title, "提示");
    EXPECT_EQ(empty.alert->message, "请填写你的笔记");
    EXPECT_EQ(empty.alert->button, "知道了");
    EXPECT_EQ(count("cs_writenote"), 0);

    EXPECT_TRUE(fresh.submit("第一条").saved);
    b.note(subject, "第二条");
    const int third = b.note(subject, "第三条");
    EditorOutcome refused = NoteEditor(util, subject).submit("第四条");
    EXPECT_FALSE(refused.saved);
    ASSERT_TRUE(refused.alert);
    EXPECT_EQ(refused.alert->message, "一个题目不能添加超过3个的笔记！");

    // Opened from the list's link, the editor holds that note and replaces its text.
    NoteEditor editor(util, subject);
    EXPECT_FALSE(editor.openLink("ios://dowritenote"));
    ASSERT_TRUE(editor.openLink("ios://donoteitem/" + std::to_string(third)));
    EXPECT_EQ(editor.title(), "修改笔记");
    EXPECT_EQ(editor.text(), "第三条");
    EXPECT_TRUE(editor.submit("第三条（改）").saved);
    EXPECT_EQ(util.getWriteNoteText(third), "第三条（改）");
    EXPECT_EQ(count("cs_writenote"), 3);
}

TEST_F(NotesTest, ReportEditorNeedsTextAndSendsTheChosenType) {
    ErrorReportEditor editor(util, subject);
    EditorOutcome empty = editor.submit("");
    ASSERT_TRUE(empty.alert);
    EXPECT_EQ(empty.alert->message, "请输入纠错的文字！");
    EXPECT_EQ(count("cs_writeerror"), 0);

    editor.selectErrorType(1);
    editor.selectErrorType(7);
    EXPECT_TRUE(editor.submit("答案有误").saved);
    EXPECT_EQ(util.loadSubjectError(subject)->errortype, 1);
}

TEST_F(NotesTest, OwnNotesAreEditableTextAndOthersAreNot) {
    WriteNoteUtil notesPage;
    EXPECT_EQ(notesPage.buildWriteNoteHtml(subject, false, Value(), 1), "没有任何笔记！");

    const int first = b.note(subject, "<b>粗体</b>");
    const int second = b.note(subject, "两行\r\n文字");
    const std::string mine = notesPage.buildWriteNoteHtml(subject, false, Value(), 1);
    EXPECT_THAT(mine, Not(HasSubstr("<b>")));
    EXPECT_THAT(mine, HasSubstr("<P style=\"color:#000000\">&lt;b&gt;粗体&lt;/b&gt;</P>\r\n"));
    EXPECT_THAT(mine, HasSubstr("两行<br/>文字"));
    for (int id : {first, second}) {
        EXPECT_THAT(mine, HasSubstr("ios://donoteitem/" + std::to_string(id) + "'\">修改 </a>"));
    }
    EXPECT_EQ(mine.find("<hr>\r\n"), mine.rfind("<hr>\r\n"));  // between the two notes only
    EXPECT_THAT(mine, HasSubstr("<div style=\"width:100%;float:right\">"));

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
    EXPECT_THAT(theirs, Not(HasSubstr("<img")));
    EXPECT_THAT(theirs, Not(HasSubstr("donoteitem")));
    EXPECT_THAT(theirs, HasSubstr(">2026-11-30 10:00:00</div>"));
    EXPECT_EQ(WriteNoteUtil().buildWriteNoteHtml(subject, true, Value(5), 1), "没有任何笔记！");
}

TEST_F(NotesTest, AnswerAreaListsTheStoredNotesAsTheyChange) {
    CourseSubjectUtil::setPageSettings(SubjectPageSettings{});
    CourseSubjectUtil::updatePageSettings([](SubjectPageSettings& s) { s.showmynote = 1; });
    CourseSubjectEntity s = *util.loadSubjuectInfo(subject);
    auto area = [&] {
        std::string html;
        CourseSubjectUtil::buildAnswerHtml_SplitAnswerMode(html, s, "A", 0);
        return html;
    };
    EXPECT_THAT(area(), Not(HasSubstr("笔记:")));
    util.writeSubjectNote(subject, "第一条");
    EXPECT_THAT(area(), HasSubstr("第一条"));
    util.writeSubjectNote(subject, "第二条");
    EXPECT_THAT(area(), AllOf(HasSubstr("第一条"), HasSubstr("第二条")));
    CourseSubjectUtil::setPageSettings(SubjectPageSettings{});
}

TEST_F(NotesTest, PageSettingsFollowTheStoredChoices) {
    CourseSubjectUtil::setPageSettings(SubjectPageSettings{});
    CourseSubjectUtil::loadSubjectSettings();
    SubjectPageSettings s = CourseSubjectUtil::pageSettings();
    EXPECT_EQ(s.fontSize, "16px");  // nothing stored reads as size 2

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
