#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/dict.h"
#include "store/base_entity.h"

namespace examora {

// For one question type of a paper being built: points per subject, subjects available (or
// asked for) and subjects to draw.
struct PaperSubjectCountEntity : BaseEntity {
    int subjecttype = 0;  // isubjecttype
    double score = 0.0;   // iscore
    int totalcount = 0;   // itotalcount
    int count = 0;        // icount

    // Sets every field from the dictionary; nullptr gives empty texts, zeros and no dates.
    void initWithDict(const Dict* dict);
    void initWithDict(const Dict& dict) { initWithDict(&dict); }
};

}  // namespace examora
