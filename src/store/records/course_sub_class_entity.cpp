// CourseSubClassEntity: a row of coursesubclass.

#include "store/records/course_sub_class_entity.h"

#include "store/records/record_fields.h"

namespace examora {

namespace rf = record_fields;

void CourseSubClassEntity::initWithDict(const Dict* dict) {
    const Dict& d = rf::orEmpty(dict);
    subclassid = rf::integer(d.get("isubclassid"));
    subclassname = rf::text(d.get("csubclassname"));
    classid = rf::integer(d.get("iclassid"));
    index = rf::integer(d.get("iindex"));
    stopflag = rf::boolean(d.get("bstopflag"));
    changedate = rf::date(d.get("dchangedate"));
}

}  // namespace examora
