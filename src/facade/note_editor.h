#pragma once

#include <string>
#include <string_view>

#include "engine/course_util.h"
#include "facade/editor_outcome.h"

namespace examora {

// The logic of the note screen of one subject: an editor that either adds a note or, when opened
// on a note (a question page's "修改", or a "ios://donoteitem/<id>" link of the list below the
// editor), changes that note.
class NoteEditor {
  public:
    static constexpr const char* kHint = "请输入笔记内容";
    static constexpr const char* kOthersTab = "网友笔记";
    static constexpr const char* kMineTab = "我的笔记";

    // noteId 1 or more opens that note for editing.
    NoteEditor(CourseUtil& store, int subjectId, int noteId = 0);

    const std::string& title() const { return title_; }
    // The text the editor shows: the edited note's, or empty for a new note.
    const std::string& text() const { return text_; }
    int subjectId() const { return subjectId_; }
    // The note being edited; 0 when a new note is being written.
    int editingNoteId() const { return noteId_; }

    // Opens the note of a notes-list link for editing. False (nothing changes) for any other
    // address.
    bool openLink(std::string_view url);
    // Saves the text: changes the edited note, or adds a note. An empty text, or a refusal such
    // as a fourth note, comes back as an alert and changes nothing.
    EditorOutcome submit(const std::string& text);

  private:
    void edit(int noteId);

    CourseUtil& store_;
    int subjectId_;
    int noteId_ = 0;
    std::string title_;
    std::string text_;
};

}  // namespace examora
