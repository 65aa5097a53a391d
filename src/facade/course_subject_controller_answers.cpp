// The practice session's page links, answering, favourites and the screens it opens over itself.

#include <charconv>

#include "engine/course_subject_util.h"
#include "engine/course_util.h"
#include "facade/course_subject_controller.h"
#include "platform/exam_error.h"
#include "platform/text_util.h"

namespace examora {

namespace {

// A whole positive number, or nullopt.
std::optional<int> positiveId(const std::string& text) {
    int id = 0;
    const char* last = text.data() + text.size();
    const auto [end, ec] = std::from_chars(text.data(), last, id);
    if (ec != std::errc() || end != last || id < 1) return std::nullopt;
    return id;
}

}  // namespace

bool CourseSubjectController::shouldLoadPage(int slot, const std::string& url) {
    if (PageLink::allowsLoad(url)) return true;
    if (slot != slotOf_[kCurrent]) return false;
    if (const std::optional<PageLink> link = PageLink::parse(url)) handleLink(*link);
    return false;
}

void CourseSubjectController::handleLink(const PageLink& link) {
    // The answer and note commands act on their argument; without one there is nothing to do.
    if (link.is("doanswer")) {
        if (link.hasArgument) doAnswer(link.argument);
    } else if (link.is("dowriteerror")) {
        doWriteError();
    } else if (link.is("dowritenote")) {
        doWriteNote();
    } else if (link.is("dofavorite")) {
        doFavorite();
    } else if (link.is("dosumitpaper")) {
        doSumitPaper();
    } else if (link.is("editmynote")) {
        if (const std::optional<int> noteId = positiveId(link.argument)) editMyNote(*noteId);
    }
}

bool CourseSubjectController::recordAnswer(CourseSubjectEntity& subject,
                                           const std::string& answer) {
    CourseUtil& course = api_.dalCourse();
    if (CourseUtil::isTestShowTime(showTime_)) {
        // Marks the record, stores it and moves the wrong-answer book (a cleared answer moves
        // nothing). The caller has ruled out an unchanged answer, so false is a failure.
        return course.recordPracticeAnswer(subject, answer, showTime_);
    }
    subject.myanswer = answer;
    subject.correct = CourseSubjectUtil::checkAnswerIsCorrect(subject);
    if (isEmpty(std::string_view(answer))) subject.myscore = 0.0;
    // A paper's wrong answers reach the wrong-answer book once, when it is submitted; a review
    // of a submitted paper records nothing.
    if (CourseUtil::isExamShowTime(showTime_)) {
        course.updateSubjectMyAnswerInPaper(paperId_, subject.subjectid, subject.myanswer,
                                            subject.correct, static_cast<float>(subject.myscore));
    }
    return true;
}

void CourseSubjectController::doAnswer(const std::string& answer) {
    if (!subjectItem_) return;
    CourseSubjectEntity& subject = *subjectItem_;
    const bool same = equalsIgnoringCase(answer, subject.myanswer);
    const bool wasEmpty = isEmpty(std::string_view(subject.myanswer));
    const bool nowEmpty = isEmpty(std::string_view(answer));
    const int progressBefore = progressValue_;
    if (wasEmpty && !nowEmpty) ++progressValue_;
    if (!wasEmpty && nowEmpty) --progressValue_;

    if (same) {
        subject.myanswer = answer;
        subject.correct = CourseSubjectUtil::checkAnswerIsCorrect(subject);
    } else {
        const CourseSubjectEntity before = subject;
        bool recorded = false;
        std::string failure = kNotRecordedTip;
        try {
            recorded = recordAnswer(subject, answer);
        } catch (const ExamError& e) {
            failure = e.reason();
        }
        if (!recorded) {
            // Nothing counts: the learner may give the same answer again.
            subject = before;
            progressValue_ = progressBefore;
            views_.tip.showTip(failure);
            return;
        }
        if (CourseUtil::isExamShowTime(showTime_)) {
            if (numberOfPages_ > 0)
                views_.bars.setProgress(static_cast<double>(progressValue_) / numberOfPages_);
            if (!isLastPage(currentPage_)) {
                moveToNextPage();
                return;
            }
        }
    }
    loadURL(CourseSubjectUtil::getDoAnswerHtml_SplitAnswerMode(*subjectItem_, answer, showTime_));
}

void CourseSubjectController::loadURL(const std::string& script) {
    view(kCurrent).evaluateScript(replaceAll(script, "\n", "<br/>"));
}

void CourseSubjectController::refreshFavouriteButton() {
    if (!subjectItem_ || subjectItem_->collect == collectedFlag_) return;
    collectedFlag_ = subjectItem_->collect;
    views_.bars.setFavouriteImage(collectedFlag_ ? kCollectedImage : kCollectImage);
}

void CourseSubjectController::doFavorite() {
    if (!subjectItem_) return;
    CourseUtil& course = api_.dalCourse();
    const bool remove = subjectItem_->collect;
    try {
        if (remove) {
            course.doDeleteCollectSubject(subjectItem_->subjectid);
        } else {
            course.doCollectSubject(subjectItem_->subjectid);
        }
    } catch (const ExamError& e) {
        views_.tip.showTip(e.reason());
        return;
    }
    subjectItem_->collect = !remove;
    refreshFavouriteButton();
    views_.tip.showTip(remove ? "取消收藏！" : "收藏成功！");
}

void CourseSubjectController::doWriteNote() {
    if (!subjectItem_) return;
    editMyNote(0);
}

void CourseSubjectController::editMyNote(int noteId) {
    if (!subjectItem_) return;
    views_.screens.openNoteEditor(subjectItem_->subjectid, noteId, whileAlive([this](bool changed) {
                                      if (changed) showCurrentSubjectAgain();
                                  }));
}

void CourseSubjectController::doWriteError() {
    if (!subjectItem_) return;
    views_.screens.openErrorReport(subjectItem_->subjectid, whileAlive([this](bool changed) {
                                       if (changed) showCurrentSubjectAgain();
                                   }));
}

void CourseSubjectController::doSubjectSetting() {
    views_.screens.openPageSettings(whileAlive([this](bool changed) {
        if (!changed) return;
        loadSubjectSettings();
        views_.bars.showBars(bars());
        views_.bars.setFavouriteImage(collectedFlag_ ? kCollectedImage : kCollectImage);
        showCurrentSubjectAgain();
    }));
}

void CourseSubjectController::doFetchSubject() {
    views_.screens.openSubjectList(showTime_, paperId_ >= 1 ? paperId_ : chapterId_, filterSql_,
                                   whileAlive([this](int id) { didSelectSubjectId(id); }));
}

void CourseSubjectController::navigationButtonTapped(int tag) {
    switch (tag) {
        case 1:
            doFetchSubject();
            break;
        case 2:
            doFavorite();
            break;
        case 3:
            if (CourseUtil::isTestShowTime(showTime_)) doWriteNote();
            break;
        case 4:
            doSubjectSetting();
            break;
        default:
            break;
    }
}

void CourseSubjectController::didSelectSubjectId(int subjectId) {
    if (subjectId >= 1) {
        const int index = fetchSubjectIndexOfList(subjectId);
        if (index >= 0) moveToPageNumber(index);
    } else if (subjectId == kSelectSubmit) {
        doSumitPaper();
    } else if (subjectId == kSelectRedo) {
        doRedosubjectInTest();
    }
}

}  // namespace examora
