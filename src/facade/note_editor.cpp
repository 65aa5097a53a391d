// NoteEditor: the logic of a subject's note screen, adding or changing a note.

#include "facade/note_editor.h"

#include "facade/page_link.h"
#include "platform/exam_error.h"
#include "platform/text_util.h"

namespace examora {

namespace {
constexpr const char* kTitleNew = "笔记";
constexpr const char* kTitleEdit = "修改笔记";
constexpr const char* kAlertTitle = "提示";
constexpr const char* kEmptyText = "请填写你的笔记";
constexpr const char* kAlertButton = "知道了";
}  // namespace

NoteEditor::NoteEditor(CourseUtil& store, int subjectId, int noteId)
    : store_(store), subjectId_(subjectId), title_(kTitleNew) {
    if (noteId >= 1) edit(noteId);
}

void NoteEditor::edit(int noteId) {
    noteId_ = noteId;
    title_ = kTitleEdit;
    text_ = store_.getWriteNoteText(noteId);
}

bool NoteEditor::openLink(std::string_view url) {
    const std::optional<int> id = PageLink::noteItemId(url);
    if (!id) return false;
    edit(*id);
    return true;
}

EditorOutcome NoteEditor::submit(const std::string& text) {
    EditorOutcome outcome;
    if (isEmpty(std::string_view(text))) {
        outcome.alert = EditorOutcome::Alert{kAlertTitle, kEmptyText, kAlertButton};
        return outcome;
    }
    try {
        if (noteId_ >= 1) {
            store_.modifySubjectNote(noteId_, text);
        } else {
            store_.writeSubjectNote(subjectId_, text);
        }
    } catch (const ExamError& e) {
        outcome.alert = EditorOutcome::Alert{e.name(), e.reason(), kAlertButton};
        return outcome;
    }
    text_ = text;
    outcome.saved = true;
    return outcome;
}

}  // namespace examora
