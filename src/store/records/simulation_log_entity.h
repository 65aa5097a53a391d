#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/dict.h"
#include "store/base_entity.h"

namespace examora {

// A practice log kept for upload (simulationlog). The record reads "_chaptername",
// "iprescore" and "dtime"; a row of the table names them cchaptername, dprescore and
// dchangedate, which are read when the first keys are absent, so that a row read with
// "select *" fills every field.
struct SimulationLogEntity : BaseEntity {
    int logid = 0;                    // id
    int testcount = 0;                // itestcount
    std::optional<std::string> time;  // dtime, else dchangedate
    double prescore = 0.0;            // iprescore, else dprescore
    std::string cuscode;              // ccuscode
    std::string userid;               // cuserid
    int courseid = 0;                 // icourseid
    int subclassid = 0;               // isubclassid
    std::string chaptername;          // _chaptername, else cchaptername
    int usetime = 0;                  // iusetime
    double myscore = 0.0;             // imyscore
    double totalscore = 0.0;          // itotalscore

    // Sets every field from the dictionary; nullptr gives empty texts, zeros and no dates.
    void initWithDict(const Dict* dict);
    void initWithDict(const Dict& dict) { initWithDict(&dict); }
};

}  // namespace examora
