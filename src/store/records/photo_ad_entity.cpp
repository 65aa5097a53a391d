// PhotoADEntity: a row of sys_photoad, a carousel picture with its link.

#include "store/records/photo_ad_entity.h"

#include "store/records/record_fields.h"

namespace examora {

namespace rf = record_fields;

void PhotoADEntity::initWithDict(const Dict* dict) {
    const Dict& d = rf::orEmpty(dict);
    paid = rf::integer(d.get("ipaid"));
    patitle = rf::text(d.get("cpatitle"));
    image = rf::bytes(d.get("pimage"));
    url = rf::text(d.get("curl"));
    extname = rf::text(d.get("cextname"));
    stopflag = rf::boolean(d.get("bstopflag"));
    changedate = rf::date(d.get("dchangedate"));
    startdate = rf::date(d.get("dstartdate"));
    enddate = rf::date(d.get("denddate"));
}

}  // namespace examora
