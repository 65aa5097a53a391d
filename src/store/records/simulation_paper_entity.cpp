// SimulationPaperEntity: a row of simulationpaper, with its statistics.

#include "store/records/simulation_paper_entity.h"

#include "store/records/record_fields.h"

namespace examora {

namespace rf = record_fields;

void SimulationPaperEntity::initWithDict(const Dict* dict) {
    const Dict& d = rf::orEmpty(dict);
    paperid = rf::integer(d.get("ipaperid"));
    courseid = rf::integer(d.get("icourseid"));
    papername = rf::text(d.get("cpapername"));
    totaltime = rf::integer(d.get("itotaltime"));
    totalscore = rf::number(d.get("itotalscore"));
    score = rf::number(d.get("iscore"));
    exam = rf::integer(d.get("iexam"));
    fromchapter = rf::integer(d.get("ifromchapter"));
    subjectcount = rf::integer(d.get("isubjectcount"));
    type0count = rf::integer(d.get("itype0count"));
    type1count = rf::integer(d.get("itype1count"));
    type2count = rf::integer(d.get("itype2count"));
    type3count = rf::integer(d.get("itype3count"));
    type4count = rf::integer(d.get("itype4count"));
    type5count = rf::integer(d.get("itype5count"));
    createdate = rf::date(d.get("dcreatedate"));
    examtime = rf::date(d.get("dexamtime"));
    usetime = rf::integer(d.get("iusetime"));
    serverpaperid = rf::integer64(d.get("iserverpaperid"));
    donecount = rf::integer(d.get("idonecount"));
    correctcount = rf::integer(d.get("icorrectcount"));
    wrongcount = rf::integer(d.get("iwrongcount"));
}

}  // namespace examora
