#pragma once

#include <functional>
#include <string>
#include <vector>

#include "engine/course_util.h"
#include "platform/value.h"
#include "store/records/write_note_entity.h"

namespace examora {

// Builds the notes list shown under the note editor: the learner's own notes of a subject (each
// with a "修改" link "ios://donoteitem/<id>"), or a page of other learners' notes from the
// service. Note texts are the learners' own words and are always shown as text.
class WriteNoteUtil {
  public:
    // Other learners' notes of a subject, one page: (subject id, user id, page size, page index
    // from 1). The engine sits below the service client, so whoever creates the list (the
    // facade) hands in the service call: loadUserNoteList of service/user_note_list.h.
    using RemoteNotes = std::function<std::vector<WriteNoteEntity>(
        int subjectId, const Value& userId, int pageSize, int pageIndex)>;

    static constexpr int kRemotePageSize = 10;

    // Without a source other learners' notes read as none.
    WriteNoteUtil() = default;
    explicit WriteNoteUtil(RemoteNotes remote) : remote_(std::move(remote)) {}

    // The HTML fragment of the list; "没有任何笔记！" when there are no notes. A page index below
    // 1 asks for the first page.
    std::string buildWriteNoteHtml(int subjectId, bool otherUsersNotes, const Value& userId,
                                   int pageIndex);

  private:
    RemoteNotes remote_;
};

}  // namespace examora
