// PaperSubjectCountEntity: points and counts of one question type of a paper.

#include "store/records/paper_subject_count_entity.h"

#include "store/records/record_fields.h"

namespace examora {

namespace rf = record_fields;

void PaperSubjectCountEntity::initWithDict(const Dict* dict) {
    const Dict& d = rf::orEmpty(dict);
    subjecttype = rf::integer(d.get("isubjecttype"));
    score = rf::number(d.get("iscore"));
    totalcount = rf::integer(d.get("itotalcount"));
    count = rf::integer(d.get("icount"));
}

}  // namespace examora
