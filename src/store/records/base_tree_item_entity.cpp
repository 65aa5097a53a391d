// BaseTreeItemEntity: one entry of a tree-shaped selection list.

#include "store/records/base_tree_item_entity.h"

#include "store/records/record_fields.h"

namespace examora {

void BaseTreeItemEntity::initWithDict(const Dict* dict) {
    BaseItemEntity::initWithDict(dict);
    grade = record_fields::integer(record_fields::orEmpty(dict).get("igrade"));
}

}  // namespace examora
