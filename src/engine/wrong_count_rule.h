#pragma once

#include <optional>

namespace examora {

// What one wrong-count operation does to a subject's iwrong.
struct WrongCountMove {
    // The value to store, when the operation writes one.
    std::optional<int> newWrong;
    // Whether the subject becomes the last one handled (CourseUtil::preDoSubjectId).
    bool handled = false;
};

// The wrong-answer count rules. The sign of iwrong carries the state (above 0 still in the
// wrong-answer list, below 0 answered correctly since, 0 never wrong or removed) and its magnitude
// the number of wrong answers. `preDoSubjectId` is the subject handled last; it keeps a run of
// answers to the same subject from counting twice in the same direction.
class WrongCountRule {
  public:
    // A wrong answer to `subjectId` whose stored count is `wrong`.
    static WrongCountMove afterWrongAnswer(int wrong, int preDoSubjectId, int subjectId);
    // A correct answer (outright false) or a removal from the list (outright true).
    static WrongCountMove afterRemoval(int wrong, int preDoSubjectId, int subjectId, bool outright);
};

}  // namespace examora
