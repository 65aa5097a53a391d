#pragma once

#include "facade/views/practice_launcher.h"

namespace examora {

class WebTab;

// Opens the practice session of a screen in the browser: the session's screen is pushed on the
// screen's tab.
class WebPracticeLauncher : public PracticeLauncher {
  public:
    explicit WebPracticeLauncher(WebTab& tab) : tab_(tab) {}

    void openPractice(int showTime, int chapterId, int subjectId,
                      const SubjectFilter& filter) override;
    void openPaper(int showTime, int paperId, std::function<void()> onSubmitted) override;

  private:
    WebTab& tab_;
};

}  // namespace examora
