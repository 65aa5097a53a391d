// CourseChapterEntity: a row of coursechapter.

#include "store/records/course_chapter_entity.h"

#include "store/records/record_fields.h"

namespace examora {

namespace rf = record_fields;

void CourseChapterEntity::initWithDict(const Dict* dict) {
    const Dict& d = rf::orEmpty(dict);
    chapterid = rf::integer(d.get("ichapterid"));
    courseid = rf::integer(d.get("icourseid"));
    chaptercode = rf::text(d.get("cchaptercode"));
    type = rf::integer(d.get("itype"));
    chaptername = rf::text(d.get("cchaptername"));
    endgrade = rf::boolean(d.get("bendgrade"));
    grade = rf::integer(d.get("igrade"));
    count = rf::integer(d.get("icount"));
    examtime = rf::integer(d.get("iexamtime"));
    dcname = rf::text(d.get("cdcname"));
    memo = rf::text(d.get("cmemo"));
    stopflag = rf::boolean(d.get("bstopflag"));
    changedate = rf::date(d.get("dchangedate"));
    download = rf::boolean(d.get("bdownload"));
}

}  // namespace examora
