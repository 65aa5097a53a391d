#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/dict.h"
#include "store/base_entity.h"

namespace examora {

// One entry of a subject id list from the service: the subject, or with maxid above subjectid the
// run of ids subjectid..maxid.
struct CourseSubjectDownloadEntity : BaseEntity {
    int subjectid = 0;    // isubjectid
    int maxid = 0;        // imaxid
    int chapterid = 0;    // ichapterid
    int subjecttype = 0;  // isubjecttype
    int index = 0;        // iindex
    double score = 0.0;   // iscore
    int answercount = 0;  // ianswercount

    // Sets every field from the dictionary; nullptr gives empty texts, zeros and no dates.
    void initWithDict(const Dict* dict);
    void initWithDict(const Dict& dict) { initWithDict(&dict); }
};

}  // namespace examora
