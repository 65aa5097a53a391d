#pragma once

#include <vector>

#include "platform/value.h"
#include "service/exam_web_service_util.h"
#include "store/records/write_note_entity.h"

namespace examora {

// Other learners' notes of a subject, one page of searchUserNote: each object of the answer read
// as a WriteNoteEntity. Empty when the service answers nothing usable.
std::vector<WriteNoteEntity> loadUserNoteList(ExamWebServiceUtil& service, int subjectId,
                                              const Value& userId, int pageSize, int pageIndex);

}  // namespace examora
