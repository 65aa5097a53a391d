#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/dict.h"
#include "store/base_entity.h"

namespace examora {

// A row of simulationpaper: a mock examination paper, with the statistics that paper
// queries add under "idonecount", "icorrectcount" and "iwrongcount".
struct SimulationPaperEntity : BaseEntity {
    int paperid = 0;                        // ipaperid
    int courseid = 0;                       // icourseid
    std::string papername;                  // cpapername
    int totaltime = 0;                      // itotaltime
    double totalscore = 0.0;                // itotalscore
    double score = 0.0;                     // iscore; points at the last submission
    int exam = 0;                           // iexam; number of submissions; 0 never taken
    int fromchapter = 0;                    // ifromchapter
    int subjectcount = 0;                   // isubjectcount
    int type0count = 0;                     // itype0count
    int type1count = 0;                     // itype1count
    int type2count = 0;                     // itype2count
    int type3count = 0;                     // itype3count
    int type4count = 0;                     // itype4count
    int type5count = 0;                     // itype5count
    std::optional<std::string> createdate;  // dcreatedate
    std::optional<std::string> examtime;    // dexamtime
    int usetime = 0;                        // iusetime
    std::int64_t serverpaperid = 0;         // iserverpaperid
    int donecount = 0;                      // idonecount
    int correctcount = 0;                   // icorrectcount
    int wrongcount = 0;                     // iwrongcount

    // Sets every field from the dictionary; nullptr gives empty texts, zeros and no dates.
    void initWithDict(const Dict* dict);
    void initWithDict(const Dict& dict) { initWithDict(&dict); }
};

}  // namespace examora
