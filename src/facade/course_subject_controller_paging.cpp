// The practice session's pager: starting it, moving, settling a swipe with the three-view
// rotation, and loading and showing the subjects of a page.

#include <algorithm>
#include <cmath>

#include "app/common_setting.h"
#include "engine/course_subject_util.h"
#include "facade/course_subject_controller.h"
#include "platform/exam_error.h"
#include "platform/paths.h"
#include "store/database_scope.h"

namespace examora {

void CourseSubjectController::initPagerView() {
    numberOfPages_ = static_cast<int>(lstSubjectId_->size());
    views_.pager.setContentWidth(numberOfPages_ * views_.pager.pageWidth());
    int first = 0;
    if (subjectId_ >= 1) first = std::max(fetchSubjectIndexOfList(subjectId_), 0);
    moveToPageNumber(first);
}

int CourseSubjectController::fetchSubjectIndexOfList(int subjectId) const {
    if (!lstSubjectId_) return -1;
    const auto it = std::find(lstSubjectId_->begin(), lstSubjectId_->end(), subjectId);
    return it == lstSubjectId_->end() ? -1 : static_cast<int>(it - lstSubjectId_->begin());
}

void CourseSubjectController::moveToPageNumber(int n) {
    setWithPageNumber(n);
    views_.pager.setScrollOffset(n * views_.pager.pageWidth());
}

void CourseSubjectController::moveToPrePage() {
    if (currentPage_ <= 0) return;
    moveToPageNumber(currentPage_ - 1);
}

void CourseSubjectController::moveToNextPage() {
    if (currentPage_ >= numberOfPages_ - 1) return;
    moveToPageNumber(currentPage_ + 1);
}

void CourseSubjectController::placeView(Role role, std::optional<int> page) {
    std::optional<double> x;
    if (page) x = *page * views_.pager.pageWidth();
    views_.pager.placePageView(slotOf_[role], x);
}

void CourseSubjectController::setWithPageNumber(int n) {
    // The page and its neighbour are read over one connection.
    DatabaseScope scope(api_.dalCourse());
    subjectChange(n);
    placeView(kCurrent, n);
    if (n == 0) {
        placeView(kPrevious, std::nullopt);
        placeView(kNext, 1);
    } else if (n > 0 && isLastPage(n)) {
        placeView(kNext, std::nullopt);
        placeView(kPrevious, n - 1);
    } else {
        placeView(kPrevious, n - 1);
        placeView(kNext, n + 1);
    }
    currentPage_ = n;
}

int CourseSubjectController::pageAtOffset(double offset, double pageWidth) {
    if (pageWidth <= 0) return 0;
    return static_cast<int>(std::floor((std::trunc(offset) - pageWidth / 2) / pageWidth)) + 1;
}

void CourseSubjectController::scrollViewDidScroll(double offset) {
    const int page = pageAtOffset(offset, views_.pager.pageWidth());
    if (page == currentPage_ || page < 0 || page >= numberOfPages_) return;
    const int oldPage = currentPage_;
    currentPage_ = page;
    views_.pager.setTouchEnabled(false);
    checkDouble_ = false;
    views_.delayed.callAfter(kRefreshDelayMs,
                             whileAlive([this, oldPage] { refreshPageViewAfterPaged(oldPage); }));
}

void CourseSubjectController::refreshPageViewAfterPaged(int oldPage) {
    // Several swipes before the first refresh: the first refresh settles them all.
    if (checkDouble_) return;
    std::array<int, 3> s = slotOf_;
    if (oldPage == currentPage_ - 1) {
        slotOf_ = {s[kCurrent], s[kNext], s[kPrevious]};
    } else if (oldPage == currentPage_ + 1) {
        slotOf_ = {s[kNext], s[kPrevious], s[kCurrent]};
    }
    // A jump of more than one page rotates nothing, but the page in view is still laid out, so
    // the learner never rests on an empty slot.
    setWithPageNumber(currentPage_);
    checkDouble_ = true;
    views_.pager.setTouchEnabled(true);
}

void CourseSubjectController::loadSubject(
    int subjectId, const std::function<void(std::optional<CourseSubjectEntity>)>& done) {
    auto block = [&done](std::optional<CourseSubjectEntity> subject, const ExamError*) {
        done(std::move(subject));
    };
    if (paperId_ >= 1) {
        api_.loadSubjuectInfo_withPaperId(paperId_, subjectId, block);
    } else {
        api_.loadSubjuectInfo_withSubjectId(subjectId, block);
    }
}

void CourseSubjectController::subjectChange(int n) {
    if (!lstSubjectId_ || lstSubjectId_->empty()) {
        showText(kEmptyListText);
        return;
    }
    if (n < 0 || n >= numberOfPages_) return;
    const int id = (*lstSubjectId_)[n];
    if (id == 0) return;

    loadSubject(id, [&](std::optional<CourseSubjectEntity> subject) {
        loadSubjectInfo(std::move(subject), n);
        if (showTime_ == 0) {
            // The resume point is a convenience: a failure to store it is not the learner's
            // concern.
            try {
                api_.dalCourse().updateCourseTestSubjectId(CommonSetting::CourseId(), id);
            } catch (const ExamError&) {
            }
        }
    });
    if (isLastPage(n)) return;
    const int nextId = (*lstSubjectId_)[n + 1];
    loadSubject(nextId, [&](std::optional<CourseSubjectEntity> subject) {
        loadNextSubjectInfo(std::move(subject), n + 1);
    });
}

std::string CourseSubjectController::buildPage(CourseSubjectEntity& subject, int index) const {
    std::string html;
    CourseSubjectUtil::buildSubjectHtml_SplitAnswerMode(html, subject, index, showTime_,
                                                        subject.subjecttype, showAnswer_, true);
    return html;
}

void CourseSubjectController::loadSubjectInfo(std::optional<CourseSubjectEntity> subject,
                                              int index) {
    subjectItem_ = std::move(subject);
    if (!subjectItem_) {
        showText(kUnreadableText);
        return;
    }
    view(kCurrent).loadHTMLString(buildPage(*subjectItem_, index), Paths::resourceDirectory());
    refreshFavouriteButton();
}

void CourseSubjectController::loadNextSubjectInfo(std::optional<CourseSubjectEntity> subject,
                                                  int index) {
    if (!subject) return;
    view(kNext).loadHTMLString(buildPage(*subject, index), Paths::resourceDirectory());
}

void CourseSubjectController::showCurrentSubjectAgain() {
    if (subjectItem_) loadSubjectInfo(std::move(subjectItem_), currentPage_);
}

void CourseSubjectController::showText(const std::string& text) {
    view(kCurrent).loadHTMLString(text, Paths::resourceDirectory());
}

}  // namespace examora
