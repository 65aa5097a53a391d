#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/dict.h"
#include "store/base_entity.h"

namespace examora {

// A row of simulationpaperdetail: one subject of a paper with the learner's answer in it.
// Queries that join the subject add its type and type name.
struct SimulationPaperDetailEntity : BaseEntity {
    int detailid = 0;             // id
    int paperid = 0;              // ipaperid
    int index = 0;                // iindex
    int subjectid = 0;            // isubjectid
    std::string myanswer;         // cmyanswer
    bool correct = false;         // bcorrect
    double score = 0.0;           // iscore
    double myscore = 0.0;         // imyscore
    int subjecttype = 0;          // isubjecttype
    std::string subjecttypename;  // csubjecttypename

    // Sets every field from the dictionary; nullptr gives empty texts, zeros and no dates.
    void initWithDict(const Dict* dict);
    void initWithDict(const Dict& dict) { initWithDict(&dict); }
};

}  // namespace examora
