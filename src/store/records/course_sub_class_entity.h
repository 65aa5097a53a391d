#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/dict.h"
#include "store/base_entity.h"

namespace examora {

// A row of coursesubclass: a sub-class within an examination class.
struct CourseSubClassEntity : BaseEntity {
    int subclassid = 0;                     // isubclassid
    std::string subclassname;               // csubclassname
    int classid = 0;                        // iclassid
    int index = 0;                          // iindex
    bool stopflag = false;                  // bstopflag
    std::optional<std::string> changedate;  // dchangedate

    // Sets every field from the dictionary; nullptr gives empty texts, zeros and no dates.
    void initWithDict(const Dict* dict);
    void initWithDict(const Dict& dict) { initWithDict(&dict); }
};

}  // namespace examora
