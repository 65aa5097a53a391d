// BaseItemEntity: one entry of a selection list.

#include "store/records/base_item_entity.h"

#include <utility>

#include "store/records/record_fields.h"

namespace examora {

namespace rf = record_fields;

void BaseItemEntity::initWithDict(const Dict* dict) {
    const Dict& d = rf::orEmpty(dict);
    selected = rf::boolean(d.get("bselected"));
    key = rf::text(d.get("ckey"));
    name = rf::text(d.get("cname"));
    memo = rf::text(d.get("cmemo"));
    index = rf::integer(d.get("iindex"));
    image = rf::bytes(d.get("pimage"));
}

void BaseItemEntity::initWithPara(std::string key_, std::string name_, std::string memo_,
                                  int index_, Bytes image_) {
    selected = false;
    key = std::move(key_);
    name = std::move(name_);
    memo = std::move(memo_);
    index = index_;
    image = std::move(image_);
}

}  // namespace examora
