#pragma once

#include <string>

#include "platform/dict.h"
#include "platform/value.h"
#include "store/base_entity.h"

namespace examora {

// One entry of a selection list: key text, display name, remark, position, picture bytes and a
// selected mark. Lists are built in code (initWithPara) or from query rows whose columns are
// named ckey, cname, cmemo, iindex, pimage and bselected.
struct BaseItemEntity : BaseEntity {
    bool selected = false;
    std::string key;
    std::string name;
    std::string memo;
    int index = 0;
    Bytes image;

    void initWithDict(const Dict* dict);
    void initWithDict(const Dict& dict) { initWithDict(&dict); }
    void initWithPara(std::string key, std::string name, std::string memo, int index, Bytes image);
};

}  // namespace examora
