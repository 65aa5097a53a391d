#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/dict.h"
#include "store/base_entity.h"

namespace examora {

// A row of sys_tableimage: a picture owned by a row of another table, keyed by (tblname,
// sourceid). The service sends the picture as Base64 text; a row holds its bytes.
struct TableImageEntity : BaseEntity {
    std::string tblname;                    // ctblname
    std::string sourceid;                   // csourceid
    Bytes image;                            // pimage
    std::string extname;                    // cextname
    std::optional<std::string> changedate;  // dchangedate

    // Sets every field from the dictionary; nullptr gives empty texts, zeros and no dates.
    void initWithDict(const Dict* dict);
    void initWithDict(const Dict& dict) { initWithDict(&dict); }
};

}  // namespace examora
