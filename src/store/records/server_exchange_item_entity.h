#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/dict.h"
#include "store/base_entity.h"

namespace examora {

// One base item of the change list, from the service or from a row of sys_serverexchangeitem.
// The dates are compared as text, and a missing date differs from an empty one, so they are
// only normalised ("T" and "/" forms), not validated.
struct ServerExchangeItemEntity : BaseEntity {
    int itemid = 0;                         // id
    std::string itemname;                   // citemname
    std::optional<std::string> updatedate;  // dupdatedate
    std::optional<std::string> deletedate;  // ddeletedate

    // Sets every field from the dictionary; nullptr gives empty texts, zeros and no dates.
    void initWithDict(const Dict* dict);
    void initWithDict(const Dict& dict) { initWithDict(&dict); }
};

}  // namespace examora
