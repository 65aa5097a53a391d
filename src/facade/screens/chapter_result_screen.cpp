// ChapterResultScreen: the result of chapter practice.

#include "facade/screens/chapter_result_screen.h"

#include "platform/exam_error.h"

namespace examora {

void ChapterResultScreen::open() {
    views_.title.setTitle("答题成绩");
    FinishCountResult counts{};
    try {
        counts = course_.loadSubjectSumitResultForTest(chapterId_);
    } catch (const ExamError&) {
        counts = FinishCountResult{};
    }
    texts_ = chapterResultTexts(counts);
    views_.labels.setLabelText(kHeadingLabel, texts_.heading);
    views_.labels.setLabelText(kAnsweredLabel, texts_.answered);
    views_.labels.setLabelText(kRateLabel, texts_.rate);
    views_.labels.setLabelText(kCorrectLabel, texts_.correct);
    views_.labels.setLabelText(kTotalLabel, texts_.total);
}

void ChapterResultScreen::close() {
    views_.navigation.popScreen();
}

}  // namespace examora
