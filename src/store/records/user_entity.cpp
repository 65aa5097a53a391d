// UserEntity: a learner's account on the exam web service.

#include "store/records/user_entity.h"

#include "store/records/record_fields.h"

namespace examora {

namespace rf = record_fields;

void UserEntity::initWithDict(const Dict* dict) {
    const Dict& d = rf::orEmpty(dict);
    userId = rf::integer(d.get("icusid"));
    userName = rf::text(d.get("ccusname"));
    userEmail = rf::text(d.get("ccusemail"));
    userPhone = rf::text(d.get("ccusmobile"));
    userCity = rf::text(d.get("cdccode"));
    userQQ = rf::text(d.get("ccuspage"));
    status = rf::text(d.get("cstatus"));
}

}  // namespace examora
