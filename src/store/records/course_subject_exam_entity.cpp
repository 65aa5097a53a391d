// CourseSubjectExamEntity: one subject of a test or paper for the answer sheet.

#include "store/records/course_subject_exam_entity.h"

#include "store/records/record_fields.h"

namespace examora {

namespace rf = record_fields;

void CourseSubjectExamEntity::initWithDict(const Dict* dict) {
    const Dict& d = rf::orEmpty(dict);
    subjectid = rf::integer(d.get("isubjectid"));
    index = rf::integer(d.get("iindex"));
    score = rf::number(d.get("iscore"));
    answer = rf::text(d.get("canswer"));
    myanswer = rf::text(d.get("cmyanswer"));
    correct = rf::boolean(d.get("bcorrect"));
    myscore = rf::number(d.get("imyscore"));
}

}  // namespace examora
