// MessageEntity: a message published by the service.

#include "store/records/message_entity.h"

#include "store/records/record_fields.h"

namespace examora {

namespace rf = record_fields;

void MessageEntity::initWithDict(const Dict* dict) {
    const Dict& d = rf::orEmpty(dict);
    msgid = rf::text(d.get("cmsgid"));
    msgtitle = rf::text(d.get("cmsgtitle"));
    msgurl = rf::text(d.get("cmsgurl"));
    type = rf::text(rf::firstOf(d, "itype", "ctype"));
    index = rf::integer(d.get("iindex"));
    courseid = rf::integer(d.get("icourseid"));
    stopflag = rf::boolean(d.get("bstopflag"));
    changedate = rf::date(d.get("dchangedate"));
    startdate = rf::date(d.get("dstartdate"));
    enddate = rf::date(d.get("denddate"));
}

}  // namespace examora
