#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/dict.h"
#include "store/base_entity.h"

namespace examora {

// A row of course: one examination subject the learner can practise.
struct CourseEntity : BaseEntity {
    int courseid = 0;                          // icourseid
    int classid = 0;                           // iclassid
    int subclassid = 0;                        // isubclassid
    std::string coursename;                    // ccoursename
    int index = 0;                             // iindex
    bool stopflag = false;                     // bstopflag
    bool district = false;                     // bdistrict
    std::optional<std::string> changedate;     // dchangedate
    std::optional<std::string> createdate;     // dcreatedate
    std::string examdate;                      // cexamdate; "yyyy-MM-dd"
    std::string typscount;                     // ctypscount
    std::string memo;                          // cmemo
    std::string createperson;                  // ccreateperson
    std::optional<std::string> chapterchange;  // dchapterchange; nullopt: chapters never downloaded
    std::optional<std::string> subjectchange;  // dsubjectchange
    std::optional<std::string> outlinechange;  // doutlinechange
    std::optional<std::string> chapterdelete;  // dchapterdelete
    std::optional<std::string> subjectdelete;  // dsubjectdelete
    std::optional<std::string> outlinedelete;  // doutlinedelete
    int selectchapterid = 0;                   // iselectchapterid
    int testsubjectid = 0;                     // itestsubjectid
    int testmode = 0;                          // itestmode

    // Sets every field from the dictionary; nullptr gives empty texts, zeros and no dates.
    void initWithDict(const Dict* dict);
    void initWithDict(const Dict& dict) { initWithDict(&dict); }
};

}  // namespace examora
