// DistrictEntity: a row of district.

#include "store/records/district_entity.h"

#include "store/records/record_fields.h"

namespace examora {

namespace rf = record_fields;

void DistrictEntity::initWithDict(const Dict* dict) {
    const Dict& d = rf::orEmpty(dict);
    dccode = rf::text(d.get("cdccode"));
    dcname = rf::text(d.get("cdcname"));
    endgrade = rf::boolean(d.get("bendgrade"));
    grade = rf::integer(d.get("igrade"));
    memo = rf::text(d.get("cmemo"));
    changedate = rf::date(d.get("dchangedate"));
}

}  // namespace examora
