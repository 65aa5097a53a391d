#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/dict.h"
#include "store/base_entity.h"

namespace examora {

// A row of courseclass: an examination class, the top of the catalogue.
struct CourseClassEntity : BaseEntity {
    int classid = 0;                        // iclassid
    std::string coursecname;                // ccoursecname
    std::string subjecttypes;               // csubjecttypes
    int index = 0;                          // iindex
    bool stopflag = false;                  // bstopflag
    std::optional<std::string> changedate;  // dchangedate

    // Sets every field from the dictionary; nullptr gives empty texts, zeros and no dates.
    void initWithDict(const Dict* dict);
    void initWithDict(const Dict& dict) { initWithDict(&dict); }
};

}  // namespace examora
