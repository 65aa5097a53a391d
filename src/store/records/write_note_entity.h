#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/dict.h"
#include "store/base_entity.h"

namespace examora {

// A row of cs_writenote: a learner's note on a subject.
struct WriteNoteEntity : BaseEntity {
    int detailid = 0;                       // id
    int subjectid = 0;                      // isubjectid
    std::string notetext;                   // cnotetext
    std::optional<std::string> changedate;  // dchangedate
    int status = 0;  // istatus; 0 (or null) unconfirmed, 1 confirmed by the service

    // Sets every field from the dictionary; nullptr gives empty texts, zeros and no dates.
    void initWithDict(const Dict* dict);
    void initWithDict(const Dict& dict) { initWithDict(&dict); }
};

}  // namespace examora
