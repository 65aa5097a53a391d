#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/dict.h"
#include "store/base_entity.h"

namespace examora {

// A row of cs_writeerror: a learner's correction report on a subject.
struct WriteErrorEntity : BaseEntity {
    int detailid = 0;                       // id
    int subjectid = 0;                      // isubjectid
    int errortype = 0;                      // ierrortype
    std::string errortext;                  // cerrortext
    std::optional<std::string> changedate;  // dchangedate
    int status = 0;                         // istatus

    // Sets every field from the dictionary; nullptr gives empty texts, zeros and no dates.
    void initWithDict(const Dict* dict);
    void initWithDict(const Dict& dict) { initWithDict(&dict); }
};

}  // namespace examora
