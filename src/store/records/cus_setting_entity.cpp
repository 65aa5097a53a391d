// CusSettingEntity: a custom setting, from the service or from sys_cussetting.

#include "store/records/cus_setting_entity.h"

#include "store/records/record_fields.h"

namespace examora {

namespace rf = record_fields;

void CusSettingEntity::initWithDict(const Dict* dict) {
    const Dict& d = rf::orEmpty(dict);
    name = rf::text(d.get("cname"));
    value = rf::text(d.get("cvalue"));
    changedate = rf::date(rf::firstOf(d, "dchangdate", "dchangedate"));
}

}  // namespace examora
