// The practice session's submission, redo, exam clock end, leaving, and the resume prompt.

#include "app/common_setting.h"
#include "engine/course_util.h"
#include "facade/course_subject_controller.h"

namespace examora {

void CourseSubjectController::doSumitPaper() {
    if (CourseUtil::isExamShowTime(showTime_)) {
        doSumitExamPaper();
    } else {
        doSumitSubjectInTest();
    }
}

void CourseSubjectController::doSumitSubjectInTest() {
    views_.screens.openChapterResult(chapterId_);
}

void CourseSubjectController::doSumitExamPaper() {
    views_.busy.showBusy("");
    // The paper stores the time used in seconds; the result screen shows minutes and seconds.
    const int seconds = views_.clock.elapsedSeconds();
    bool submitted = false;
    api_.sumitPaperWithPaperId(paperId_, seconds,
                               [&](int result, const ExamError*) { submitted = result != 0; });
    views_.busy.hideBusy();
    if (!submitted) return;

    views_.clock.pauseCountDown();
    if (sumitedBlock_) {
        const SumitedBlock block = std::move(sumitedBlock_);
        sumitedBlock_ = nullptr;
        block();
    }
    showTime_ = 2;
    views_.screens.openPaperResult(paperId_, whileAlive([this](int choice) {
                                       if (choice == 1) {
                                           moveToPageNumber(0);
                                       } else {
                                           leave();
                                       }
                                   }));
}

void CourseSubjectController::doRedosubjectInTest() {
    // A redo clears a chapter's practice answers; a paper run has no chapter (0 would clear the
    // whole course), and its answers belong to the paper.
    if (!CourseUtil::isTestShowTime(showTime_)) return;
    views_.busy.showBusy("");
    api_.clearSubjectMyAnswer(CommonSetting::CourseId(), chapterId_, nullptr);
    initSubjectList();
    views_.busy.hideBusy();
}

void CourseSubjectController::examClockEnded() {
    views_.clock.pauseCountDown();
    views_.dialog.showDialog("时间到...", "考试时间已到，请确认交卷！", {"知道了!"}, [](int) {});
    doSumitExamPaper();
}

void CourseSubjectController::backButtonClick() {
    if (!CourseUtil::isExamShowTime(showTime_)) {
        leave();
        return;
    }
    views_.dialog.showDialog("退出提示", "您正在考试，退出后成绩将作废，确定退出？",
                             {"取消", "确认"}, whileAlive([this](int button) {
                                 if (button == 1) leave();
                             }));
}

void CourseSubjectController::leave() {
    // A voided exam must not submit itself when its clock runs out after the screen has gone.
    if (showTime_ == 1) views_.clock.pauseCountDown();
    views_.navigation.popScreen();
}

void CourseSubjectController::askToResume(CourseUtil& course, int courseId, DialogView& dialog,
                                          std::function<void(std::optional<ResumePoint>)> open) {
    const int subjectId = course.getCourseLastTestSubjectId(courseId);
    const int chapterId = subjectId >= 1 ? course.getChapterIdOfSubject(subjectId) : 0;
    if (subjectId < 1 || chapterId < 1) {
        open(std::nullopt);
        return;
    }
    dialog.showDialog(
        "提示", "是否要回到上次练习的试题？", {"否", "是"},
        [open = std::move(open), point = ResumePoint{chapterId, subjectId}](int button) {
            // A dialog closed without a choice opens nothing.
            if (button == 1) {
                open(point);
            } else if (button == 0) {
                open(std::nullopt);
            }
        });
}

}  // namespace examora
