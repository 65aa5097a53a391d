#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/dict.h"
#include "store/base_entity.h"

namespace examora {

// A message published by the service (a row of sys_message in service form). The service
// sends the kind under "itype"; a row of the table holds it in ctype, which is read when "itype"
// is absent.
struct MessageEntity : BaseEntity {
    std::string msgid;                      // cmsgid
    std::string msgtitle;                   // cmsgtitle
    std::string msgurl;                     // cmsgurl
    std::string type;                       // itype, else ctype
    int index = 0;                          // iindex
    int courseid = 0;                       // icourseid; 0: every course
    bool stopflag = false;                  // bstopflag
    std::optional<std::string> changedate;  // dchangedate
    std::optional<std::string> startdate;   // dstartdate
    std::optional<std::string> enddate;     // denddate

    // Sets every field from the dictionary; nullptr gives empty texts, zeros and no dates.
    void initWithDict(const Dict* dict);
    void initWithDict(const Dict& dict) { initWithDict(&dict); }
};

}  // namespace examora
