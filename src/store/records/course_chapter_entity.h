#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/dict.h"
#include "store/base_entity.h"

namespace examora {

// A row of coursechapter: one node of one of a course's two chapter trees.
struct CourseChapterEntity : BaseEntity {
    int chapterid = 0;        // ichapterid
    int courseid = 0;         // icourseid
    std::string chaptercode;  // cchaptercode; a child's code begins with its parent's
    int type = 0;             // itype
    std::string chaptername;  // cchaptername
    bool endgrade = false;    // bendgrade; leaf chapter
    int grade = 0;            // igrade
    int count = 0;            // icount; subjects in the chapter as stored
    int examtime = 0;         // iexamtime
    std::string dcname;       // cdcname
    std::string memo;         // cmemo; the chapter list also puts its progress line here
    bool stopflag = false;    // bstopflag
    std::optional<std::string> changedate;  // dchangedate
    bool download = false;                  // bdownload

    // Sets every field from the dictionary; nullptr gives empty texts, zeros and no dates.
    void initWithDict(const Dict* dict);
    void initWithDict(const Dict& dict) { initWithDict(&dict); }
};

}  // namespace examora
