// CourseOutlineEntity: a row of courseoutline.

#include "store/records/course_outline_entity.h"

#include "store/records/record_fields.h"

namespace examora {

namespace rf = record_fields;

void CourseOutlineEntity::initWithDict(const Dict* dict) {
    const Dict& d = rf::orEmpty(dict);
    outlineid = rf::integer(d.get("ioutlineid"));
    courseid = rf::integer(d.get("icourseid"));
    outlinecode = rf::text(d.get("coutlinecode"));
    type = rf::integer(d.get("itype"));
    outlinename = rf::text(d.get("coutlinename"));
    endgrade = rf::boolean(d.get("bendgrade"));
    grade = rf::integer(d.get("igrade"));
    dcname = rf::text(d.get("cdcname"));
    url = rf::text(d.get("curl"));
    text = rf::text(d.get("ctext"));
    stopflag = rf::boolean(d.get("bstopflag"));
    changedate = rf::date(d.get("dchangedate"));
}

}  // namespace examora
