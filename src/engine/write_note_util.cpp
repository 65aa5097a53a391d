// WriteNoteUtil: the HTML of the notes list shown under the note editor.

#include "engine/write_note_util.h"

#include "platform/strformat.h"
#include "platform/text_util.h"

namespace examora {

std::string WriteNoteUtil::buildWriteNoteHtml(int subjectId, bool otherUsersNotes,
                                              const Value& userId, int pageIndex) {
    std::vector<WriteNoteEntity> notes;
    if (otherUsersNotes) {
        if (remote_)
            notes = remote_(subjectId, userId, kRemotePageSize, pageIndex < 1 ? 1 : pageIndex);
    } else {
        CourseUtil store;
        notes = store.loadMySubjectNoteList(subjectId);
    }
    if (notes.empty()) return "没有任何笔记！";

    std::string html;
    bool first = true;
    for (const WriteNoteEntity& note : notes) {
        if (!first) html += "<hr>\r\n";
        first = false;
        html += "<P style=\"color:#000000\">";
        // Written by a learner, possibly another one over the network: text, never markup.
        html += replaceAll(replaceAll(htmlEscape(note.notetext), "\r", ""), "\n", "<br/>");
        html += "</P>\r\n";
        html += "<div style=\"width:100%;float:right\">";
        if (!otherUsersNotes) {
            html += strformat(
                "<div style=\"width:60px; float:right;font-size:14px;color:blue \">&nbsp;&nbsp;<a "
                "onClick=\"window.location.href='ios://donoteitem/%d'\">修改 </a>&nbsp;</div>",
                note.detailid);
        }
        html += strformat("<div style=\"color:#848484; float:right;font-size:14px\" >%@</div>",
                          htmlEscape(note.changedate.value_or(std::string())));
        html += "</div>";
    }
    return html;
}

}  // namespace examora
