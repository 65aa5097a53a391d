// WebPracticeLauncher: practice sessions pushed on a browser tab.

#include "web/web_practice_launcher.h"

#include "web/practice_web_screen.h"
#include "web/web_tab.h"

namespace examora {

void WebPracticeLauncher::openPractice(int showTime, int chapterId, int subjectId,
                                       const SubjectFilter& filter) {
    tab_.push(std::make_unique<PracticeWebScreen>(tab_, showTime, chapterId, subjectId, filter));
}

void WebPracticeLauncher::openPaper(int showTime, int paperId, std::function<void()> onSubmitted) {
    tab_.push(std::make_unique<PracticeWebScreen>(tab_, showTime, paperId, std::move(onSubmitted)));
}

}  // namespace examora
