#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/dict.h"
#include "store/base_entity.h"

namespace examora {

// A custom setting (sys_cussetting). The service sends the date under "dchangdate"; a row of the
// table holds it in dchangedate, which is read when "dchangdate" is absent.
struct CusSettingEntity : BaseEntity {
    std::string name;                       // cname
    std::string value;                      // cvalue
    std::optional<std::string> changedate;  // dchangdate, else dchangedate

    // Sets every field from the dictionary; nullptr gives empty texts, zeros and no dates.
    void initWithDict(const Dict* dict);
    void initWithDict(const Dict& dict) { initWithDict(&dict); }
};

}  // namespace examora
