// Other learners' notes of a subject, one page read from the service.

#include "service/user_note_list.h"

namespace examora {

std::vector<WriteNoteEntity> loadUserNoteList(ExamWebServiceUtil& service, int subjectId,
                                              const Value& userId, int pageSize, int pageIndex) {
    std::vector<WriteNoteEntity> notes;
    const std::optional<nlohmann::json> answer =
        service.searchUserNote(subjectId, userId, pageSize, pageIndex);
    if (!answer) return notes;
    auto readOne = [&](const nlohmann::json& object) {
        if (!object.is_object()) return;
        WriteNoteEntity note;
        note.initWithDict(ExamWebServiceUtil::jsonToDict(object));
        notes.push_back(std::move(note));
    };
    if (answer->is_array()) {
        for (const nlohmann::json& entry : *answer)
            readOne(entry);
    } else {
        readOne(*answer);
    }
    return notes;
}

}  // namespace examora
