#pragma once

#include <functional>

#include "engine/subject_filter.h"

namespace examora {

// The screens a practice session opens over itself. Each reports back once, on the main queue,
// when it closes.
class PracticeScreens {
  public:
    using Closed = std::function<void(bool changed)>;

    virtual ~PracticeScreens() = default;
    // The note editor of a subject: a new note (noteId 0) or that note.
    virtual void openNoteEditor(int subjectId, int noteId, Closed onClose) = 0;
    virtual void openErrorReport(int subjectId, Closed onClose) = 0;
    virtual void openPageSettings(Closed onClose) = 0;
    // The subject list of the run; a choice reports a subject id, or -99 (submit) or -98 (redo).
    virtual void openSubjectList(int showTime, int parentId, const SubjectFilter& filter,
                                 std::function<void(int subjectId)> onSelect) = 0;
    virtual void openChapterResult(int chapterId) = 0;
    // The result of a submitted paper; reports 1 for "查看解析", any other choice when the
    // learner left it another way.
    virtual void openPaperResult(int paperId, std::function<void(int choice)> onClose) = 0;
};

}  // namespace examora
