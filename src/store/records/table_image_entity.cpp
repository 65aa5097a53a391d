// TableImageEntity: a row of sys_tableimage, a picture owned by another row.

#include "store/records/table_image_entity.h"

#include "store/records/record_fields.h"

namespace examora {

namespace rf = record_fields;

void TableImageEntity::initWithDict(const Dict* dict) {
    const Dict& d = rf::orEmpty(dict);
    tblname = rf::text(d.get("ctblname"));
    sourceid = rf::text(d.get("csourceid"));
    image = rf::bytes(d.get("pimage"));
    extname = rf::text(d.get("cextname"));
    changedate = rf::date(d.get("dchangedate"));
}

}  // namespace examora
