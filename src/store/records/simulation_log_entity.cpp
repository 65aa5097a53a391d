// SimulationLogEntity: a practice log kept for upload.

#include "store/records/simulation_log_entity.h"

#include "store/records/record_fields.h"

namespace examora {

namespace rf = record_fields;

void SimulationLogEntity::initWithDict(const Dict* dict) {
    const Dict& d = rf::orEmpty(dict);
    logid = rf::integer(d.get("id"));
    testcount = rf::integer(d.get("itestcount"));
    time = rf::date(rf::firstOf(d, "dtime", "dchangedate"));
    prescore = rf::number(rf::firstOf(d, "iprescore", "dprescore"));
    cuscode = rf::text(d.get("ccuscode"));
    userid = rf::text(d.get("cuserid"));
    courseid = rf::integer(d.get("icourseid"));
    subclassid = rf::integer(d.get("isubclassid"));
    chaptername = rf::text(rf::firstOf(d, "_chaptername", "cchaptername"));
    usetime = rf::integer(d.get("iusetime"));
    myscore = rf::number(d.get("imyscore"));
    totalscore = rf::number(d.get("itotalscore"));
}

}  // namespace examora
