#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/dict.h"
#include "store/base_entity.h"

namespace examora {

// A row of sys_photoad: a picture with a link for the main screen's carousel. The service sends the
// picture as Base64 text; a row holds its bytes.
struct PhotoADEntity : BaseEntity {
    int paid = 0;                           // ipaid
    std::string patitle;                    // cpatitle
    Bytes image;                            // pimage
    std::string url;                        // curl
    std::string extname;                    // cextname
    bool stopflag = false;                  // bstopflag
    std::optional<std::string> changedate;  // dchangedate
    std::optional<std::string> startdate;   // dstartdate
    std::optional<std::string> enddate;     // denddate

    // Sets every field from the dictionary; nullptr gives empty texts, zeros and no dates.
    void initWithDict(const Dict* dict);
    void initWithDict(const Dict& dict) { initWithDict(&dict); }
};

}  // namespace examora
