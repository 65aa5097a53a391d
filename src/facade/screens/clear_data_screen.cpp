// ClearDataScreen: clears the chosen kinds of the learner's records of the current course.

#include "facade/screens/clear_data_screen.h"

#include "app/common_setting.h"

namespace examora {

void ClearDataScreen::open() {
    views_.title.setTitle(kTitle);
    views_.switches.setSwitchOn(kTestHistory, testHistory_);
    views_.switches.setSwitchOn(kCollect, collect_);
    views_.switches.setSwitchOn(kPapers, papers_);
}

void ClearDataScreen::setItem(const std::string& caption, bool on) {
    if (caption == kTestHistory) {
        testHistory_ = on;
    } else if (caption == kCollect) {
        collect_ = on;
    } else if (caption == kPapers) {
        papers_ = on;
    } else {
        return;
    }
    views_.switches.setSwitchOn(caption, on);
}

void ClearDataScreen::clear() {
    if (!testHistory_ && !collect_ && !papers_) return;
    // What is cleared is what was asked about, even if a switch moves while the question shows.
    const bool testHistory = testHistory_, collect = collect_, papers = papers_;
    views_.dialog.showDialog(kConfirmTitle, kConfirmMessage, {kCancel, kConfirm},
                             [this, testHistory, collect, papers](int button) {
                                 if (button != 1) return;
                                 api_.clearCourse(
                                     CommonSetting::CourseId(), testHistory, collect, papers,
                                     [this](int, const ExamError* error) {
                                         views_.tip.showTip(error ? error->reason() : kDone);
                                     });
                             });
}

}  // namespace examora
