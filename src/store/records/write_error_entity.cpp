// WriteErrorEntity: a row of cs_writeerror.

#include "store/records/write_error_entity.h"

#include "store/records/record_fields.h"

namespace examora {

namespace rf = record_fields;

void WriteErrorEntity::initWithDict(const Dict* dict) {
    const Dict& d = rf::orEmpty(dict);
    detailid = rf::integer(d.get("id"));
    subjectid = rf::integer(d.get("isubjectid"));
    errortype = rf::integer(d.get("ierrortype"));
    errortext = rf::text(d.get("cerrortext"));
    changedate = rf::date(d.get("dchangedate"));
    status = rf::integer(d.get("istatus"));
}

}  // namespace examora
