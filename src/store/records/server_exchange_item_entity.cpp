// ServerExchangeItemEntity: one base item of the change list.

#include "store/records/server_exchange_item_entity.h"

#include "store/records/record_fields.h"

namespace examora {

namespace rf = record_fields;

void ServerExchangeItemEntity::initWithDict(const Dict* dict) {
    const Dict& d = rf::orEmpty(dict);
    itemid = rf::integer(d.get("id"));
    itemname = rf::text(d.get("citemname"));
    updatedate = rf::dateText(d.get("dupdatedate"));
    deletedate = rf::dateText(d.get("ddeletedate"));
}

}  // namespace examora
