#pragma once

#include <functional>

#include "engine/subject_filter.h"

namespace examora {

// Opens the practice session over the current screen. The condition is an opaque value the
// engine built; it never travels as text.
class PracticeLauncher {
  public:
    virtual ~PracticeLauncher() = default;
    // A run over chapter `chapterId` (0: the whole course) in `showTime`, narrowed by the
    // condition, starting at `subjectId` when that is 1 or more.
    virtual void openPractice(int showTime, int chapterId, int subjectId,
                              const SubjectFilter& filter) = 0;
    // A run over a paper: 1 takes it (onSubmitted runs once after the submission), 2 reviews it.
    virtual void openPaper(int showTime, int paperId, std::function<void()> onSubmitted) = 0;
};

}  // namespace examora
