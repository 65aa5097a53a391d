// PaperSubjectIdListEntity: one candidate subject for a paper.

#include "store/records/paper_subject_id_list_entity.h"

#include "store/records/record_fields.h"

namespace examora {

namespace rf = record_fields;

void PaperSubjectIdListEntity::initWithDict(const Dict* dict) {
    const Dict& d = rf::orEmpty(dict);
    subjecttype = rf::integer(d.get("isubjecttype"));
    subjectid = rf::integer(d.get("isubjectid"));
    score = rf::number(d.get("iscore"));
}

}  // namespace examora
