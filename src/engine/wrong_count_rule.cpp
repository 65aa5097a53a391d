// WrongCountRule: how a wrong answer or a removal changes a subject's wrong count.

#include "engine/wrong_count_rule.h"

#include <cstdlib>

namespace examora {

WrongCountMove WrongCountRule::afterWrongAnswer(int wrong, int preDoSubjectId, int subjectId) {
    // Still unresolved and just counted: a second wrong answer in the same run is not new.
    if (wrong >= 1 && preDoSubjectId == subjectId) return {};
    return {std::abs(wrong) + 1, true};
}

WrongCountMove WrongCountRule::afterRemoval(int wrong, int preDoSubjectId, int subjectId,
                                            bool outright) {
    if (wrong <= 0 && preDoSubjectId == subjectId) return {};
    WrongCountMove move{std::nullopt, true};
    if (outright) {
        if (wrong != 0) move.newWrong = 0;
    } else if (wrong >= 1) {
        // Right after a wrong answer to itself, that answer's count is kept as well.
        move.newWrong = preDoSubjectId == subjectId ? -wrong - 1 : -wrong;
    }
    return move;
}

}  // namespace examora
