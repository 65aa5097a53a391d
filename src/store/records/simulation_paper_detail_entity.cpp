// SimulationPaperDetailEntity: a row of simulationpaperdetail.

#include "store/records/simulation_paper_detail_entity.h"

#include "store/records/record_fields.h"

namespace examora {

namespace rf = record_fields;

void SimulationPaperDetailEntity::initWithDict(const Dict* dict) {
    const Dict& d = rf::orEmpty(dict);
    detailid = rf::integer(d.get("id"));
    paperid = rf::integer(d.get("ipaperid"));
    index = rf::integer(d.get("iindex"));
    subjectid = rf::integer(d.get("isubjectid"));
    myanswer = rf::text(d.get("cmyanswer"));
    correct = rf::boolean(d.get("bcorrect"));
    score = rf::number(d.get("iscore"));
    myscore = rf::number(d.get("imyscore"));
    subjecttype = rf::integer(d.get("isubjecttype"));
    subjecttypename = rf::text(d.get("csubjecttypename"));
}

}  // namespace examora
