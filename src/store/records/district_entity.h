#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/dict.h"
#include "store/base_entity.h"

namespace examora {

// A row of district: a region for courses whose content differs by district.
struct DistrictEntity : BaseEntity {
    std::string dccode;                     // cdccode
    std::string dcname;                     // cdcname
    bool endgrade = false;                  // bendgrade
    int grade = 0;                          // igrade
    std::string memo;                       // cmemo
    std::optional<std::string> changedate;  // dchangedate

    // Sets every field from the dictionary; nullptr gives empty texts, zeros and no dates.
    void initWithDict(const Dict* dict);
    void initWithDict(const Dict& dict) { initWithDict(&dict); }
};

}  // namespace examora
