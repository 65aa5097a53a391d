// CourseSubjectDownloadEntity: one entry of a subject id list from the service.

#include "store/records/course_subject_download_entity.h"

#include "store/records/record_fields.h"

namespace examora {

namespace rf = record_fields;

void CourseSubjectDownloadEntity::initWithDict(const Dict* dict) {
    const Dict& d = rf::orEmpty(dict);
    subjectid = rf::integer(d.get("isubjectid"));
    maxid = rf::integer(d.get("imaxid"));
    chapterid = rf::integer(d.get("ichapterid"));
    subjecttype = rf::integer(d.get("isubjecttype"));
    index = rf::integer(d.get("iindex"));
    score = rf::number(d.get("iscore"));
    answercount = rf::integer(d.get("ianswercount"));
}

}  // namespace examora
