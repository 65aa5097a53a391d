#pragma once

namespace examora {

// Progress counts of a course or chapter: subjects in all, answered, answered correctly, and the
// points earned out of the points available.
struct FinishCountResult {
    int itotalcount = 0;
    int finishcount = 0;
    int correctcount = 0;
    double myscore = 0.0;
    double totalscore = 0.0;
};

}  // namespace examora
