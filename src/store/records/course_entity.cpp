// CourseEntity: a row of course.

#include "store/records/course_entity.h"

#include "store/records/record_fields.h"

namespace examora {

namespace rf = record_fields;

void CourseEntity::initWithDict(const Dict* dict) {
    const Dict& d = rf::orEmpty(dict);
    courseid = rf::integer(d.get("icourseid"));
    classid = rf::integer(d.get("iclassid"));
    subclassid = rf::integer(d.get("isubclassid"));
    coursename = rf::text(d.get("ccoursename"));
    index = rf::integer(d.get("iindex"));
    stopflag = rf::boolean(d.get("bstopflag"));
    district = rf::boolean(d.get("bdistrict"));
    changedate = rf::date(d.get("dchangedate"));
    createdate = rf::date(d.get("dcreatedate"));
    examdate = rf::text(d.get("cexamdate"));
    typscount = rf::text(d.get("ctypscount"));
    memo = rf::text(d.get("cmemo"));
    createperson = rf::text(d.get("ccreateperson"));
    chapterchange = rf::date(d.get("dchapterchange"));
    subjectchange = rf::date(d.get("dsubjectchange"));
    outlinechange = rf::date(d.get("doutlinechange"));
    chapterdelete = rf::date(d.get("dchapterdelete"));
    subjectdelete = rf::date(d.get("dsubjectdelete"));
    outlinedelete = rf::date(d.get("doutlinedelete"));
    selectchapterid = rf::integer(d.get("iselectchapterid"));
    testsubjectid = rf::integer(d.get("itestsubjectid"));
    testmode = rf::integer(d.get("itestmode"));
}

}  // namespace examora
