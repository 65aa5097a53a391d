#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/dict.h"
#include "store/base_entity.h"

namespace examora {

// One subject of a test or paper with the learner's answer, for the answer sheet.
struct CourseSubjectExamEntity : BaseEntity {
    int subjectid = 0;     // isubjectid
    int index = 0;         // iindex
    double score = 0.0;    // iscore
    std::string answer;    // canswer
    std::string myanswer;  // cmyanswer
    bool correct = false;  // bcorrect
    double myscore = 0.0;  // imyscore

    // Sets every field from the dictionary; nullptr gives empty texts, zeros and no dates.
    void initWithDict(const Dict* dict);
    void initWithDict(const Dict& dict) { initWithDict(&dict); }
};

}  // namespace examora
