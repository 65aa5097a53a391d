#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/dict.h"
#include "store/base_entity.h"

namespace examora {

// One candidate subject for a paper; score is set to its type's points when it is drawn.
struct PaperSubjectIdListEntity : BaseEntity {
    int subjecttype = 0;  // isubjecttype
    int subjectid = 0;    // isubjectid
    double score = 0.0;   // iscore

    // Sets every field from the dictionary; nullptr gives empty texts, zeros and no dates.
    void initWithDict(const Dict* dict);
    void initWithDict(const Dict& dict) { initWithDict(&dict); }
};

}  // namespace examora
