// CourseClassEntity: a row of courseclass.

#include "store/records/course_class_entity.h"

#include "store/records/record_fields.h"

namespace examora {

namespace rf = record_fields;

void CourseClassEntity::initWithDict(const Dict* dict) {
    const Dict& d = rf::orEmpty(dict);
    classid = rf::integer(d.get("iclassid"));
    coursecname = rf::text(d.get("ccoursecname"));
    subjecttypes = rf::text(d.get("csubjecttypes"));
    index = rf::integer(d.get("iindex"));
    stopflag = rf::boolean(d.get("bstopflag"));
    changedate = rf::date(d.get("dchangedate"));
}

}  // namespace examora
