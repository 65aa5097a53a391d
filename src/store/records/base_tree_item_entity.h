#pragma once

#include "platform/dict.h"
#include "store/records/base_item_entity.h"

namespace examora {

// One entry of a tree-shaped selection list: a list entry with its depth (column igrade).
struct BaseTreeItemEntity : BaseItemEntity {
    int grade = 0;

    void initWithDict(const Dict* dict);
    void initWithDict(const Dict& dict) { initWithDict(&dict); }
};

}  // namespace examora
