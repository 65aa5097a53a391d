#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/dict.h"
#include "store/base_entity.h"

namespace examora {

// A row of courseoutline: one study-outline or video item of a course.
struct CourseOutlineEntity : BaseEntity {
    int outlineid = 0;                      // ioutlineid
    int courseid = 0;                       // icourseid
    std::string outlinecode;                // coutlinecode
    int type = 0;                           // itype; below 10 outline text, 10 to 19 video
    std::string outlinename;                // coutlinename
    bool endgrade = false;                  // bendgrade
    int grade = 0;                          // igrade
    std::string dcname;                     // cdcname
    std::string url;                        // curl
    std::string text;                       // ctext
    bool stopflag = false;                  // bstopflag
    std::optional<std::string> changedate;  // dchangedate

    // Sets every field from the dictionary; nullptr gives empty texts, zeros and no dates.
    void initWithDict(const Dict* dict);
    void initWithDict(const Dict& dict) { initWithDict(&dict); }
};

}  // namespace examora
