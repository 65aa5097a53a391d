// The practice session: construction, opening, page settings and bars.

#include "facade/course_subject_controller.h"

#include "engine/course_subject_util.h"
#include "engine/course_util.h"
#include "store/database_scope.h"

namespace examora {

CourseSubjectController::CourseSubjectController(APIManager& api, PracticeViews views, int showTime,
                                                 int chapterId, int subjectId,
                                                 SubjectFilter filterSql, int paperId,
                                                 SumitedBlock sumitedBlock)
    : api_(api),
      views_(views),
      showTime_(showTime),
      chapterId_(chapterId),
      subjectId_(subjectId),
      filterSql_(std::move(filterSql)),
      paperId_(paperId),
      sumitedBlock_(std::move(sumitedBlock)),
      currentPage_(paperId >= 1 ? 0 : -1) {}

CourseSubjectController::CourseSubjectController(APIManager& api, PracticeViews views, int showTime,
                                                 int chapterId, int subjectId,
                                                 SubjectFilter filterSql)
    : CourseSubjectController(api, views, showTime, chapterId, subjectId, std::move(filterSql), 0,
                              nullptr) {}

CourseSubjectController::CourseSubjectController(APIManager& api, PracticeViews views, int showTime,
                                                 int paperId, SumitedBlock sumitedBlock)
    : CourseSubjectController(api, views, showTime, 0, 0, SubjectFilter(), paperId,
                              std::move(sumitedBlock)) {}

CourseSubjectController::~CourseSubjectController() {
    if (keptAwake_) views_.keepAwake.setKeepAwake(false);
}

PracticeBars CourseSubjectController::bars() const {
    PracticeBars bars;
    bars.navigationTags = CourseUtil::isTestShowTime(showTime_) ? std::vector<int>{1, 2, 3, 4}
                                                                : std::vector<int>{1, 2, 4};
    bars.bottomTitles = {"上一题", "提交试卷", "下一题"};
    bars.progressHeader = showTime_ == 1 || showTime_ == 2;
    bars.clock = bars.progressHeader;
    if (bars.clock) bars.clockText = "00:00:00";
    const SubjectPageSettings settings = CourseSubjectUtil::pageSettings();
    if (settings.subjectshowmode == 1) {
        bars.backgroundColor = settings.backColor;
        bars.buttonColor = "#808080";
        bars.buttonTitleColor = "#000000";
    } else {
        bars.backgroundColor = "#FFFFFF";
        bars.buttonColor = "#2aaae2";
        bars.buttonTitleColor = "#FFFFFF";
    }
    return bars;
}

void CourseSubjectController::open() {
    // One connection for the whole opening instead of one per read.
    DatabaseScope scope(api_.dalCourse());
    views_.pager.setScrolledHandler(
        whileAlive([this](double offset) { scrollViewDidScroll(offset); }));
    for (int slot = 0; slot < 3; ++slot) {
        views_.pages[slot].get().setNavigationHandler(
            [this, slot, alive = std::weak_ptr<int>(life_)](const std::string& url) {
                return alive.lock() ? shouldLoadPage(slot, url) : false;
            });
    }

    loadSubjectSettings();
    views_.bars.showBars(bars());
    views_.bars.setFavouriteImage(kCollectImage);
    collectedFlag_ = false;

    if (showTime_ == 1 || showTime_ == 2) {
        paperInfo_ = api_.dalCourse().loadPaperInfo(paperId_);
        if (showTime_ == 1) {
            views_.clock.setCountDown(kClockFormat, paperInfo_ ? paperInfo_->totaltime * 60 : 0);
        } else {
            views_.bars.setProgress(1.0);
        }
    }

    initSubjectList();
    if (showTime_ == 1) startClock();
}

void CourseSubjectController::loadSubjectSettings() {
    CourseSubjectUtil::loadSubjectSettings();
    // The session's pages carry no tool bar of their own, list the learner's notes and use the
    // styled controls on a plain background.
    CourseSubjectUtil::updatePageSettings([](SubjectPageSettings& s) {
        s.showfunmode = 1;
        s.showmynote = 1;
        s.buildcss = true;
        s.showbackgroundimage = false;
    });
    const bool keepLit = CourseSubjectUtil::pageSettings().subjectshowlight == 1;
    if (keepLit && !keptAwake_) {
        views_.keepAwake.setKeepAwake(true);
        keptAwake_ = true;
    }
}

void CourseSubjectController::initSubjectList() {
    const bool byPaper = paperId_ >= 1;
    api_.loadSubjectIdList_withShowTime(
        showTime_, byPaper ? paperId_ : chapterId_, byPaper ? SubjectFilter() : filterSql_,
        [this](std::optional<std::vector<int>> list, const ExamError*) {
            // A list that could not be read leaves the session without pages.
            if (!list) return;
            lstSubjectId_ = std::move(list);
            initPagerView();
        });
}

void CourseSubjectController::startClock() {
    if (views_.clock.isCounting()) return;
    views_.clock.startCountDown(whileAlive([this] { examClockEnded(); }));
}

}  // namespace examora
