// PaperResultScreen: the result of a submitted paper.

#include "facade/screens/paper_result_screen.h"

#include "platform/exam_error.h"

#include <utility>

namespace examora {

PaperResultScreen::PaperResultScreen(CourseUtil& course, Views views, int paperId,
                                     std::function<void(int)> onClose)
    : course_(course), views_(views), paperId_(paperId), onClose_(std::move(onClose)) {}

void PaperResultScreen::open() {
    views_.title.setTitle("考试成绩");
    std::optional<SimulationPaperEntity> paper;
    try {
        paper = course_.loadPaperInfo(paperId_);
    } catch (const ExamError&) {
        paper.reset();
    }
    if (!paper) return;
    texts_ = paperResultTexts(*paper);
    views_.labels.setLabelText(kPaperLabel, texts_->paper);
    views_.labels.setLabelText(kSummaryLabel, texts_->summary);
    views_.labels.setLabelText(kScoreLabel, texts_->score);
    views_.labels.setLabelText(kCorrectLabel, std::to_string(texts_->correctCount));
    views_.labels.setLabelText(kWrongLabel, std::to_string(texts_->wrongCount));
}

void PaperResultScreen::review() {
    close(1);
}

void PaperResultScreen::back() {
    close(0);
}

void PaperResultScreen::close(int choice) {
    views_.navigation.popScreen();
    // The session is told once: a second press after closing changes nothing.
    if (auto onClose = std::exchange(onClose_, nullptr)) onClose(choice);
}

}  // namespace examora
