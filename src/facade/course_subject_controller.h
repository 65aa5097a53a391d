#pragma once

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "engine/subject_filter.h"
#include "facade/api_manager.h"
#include "facade/page_link.h"
#include "facade/views/busy_view.h"
#include "facade/views/clock_view.h"
#include "facade/views/delayed_call.h"
#include "facade/views/dialog_view.h"
#include "facade/views/keep_awake.h"
#include "facade/views/navigation_view.h"
#include "facade/views/page_view.h"
#include "facade/views/pager_view.h"
#include "facade/views/practice_bars_view.h"
#include "facade/views/practice_screens.h"
#include "facade/views/tip_view.h"
#include "store/records/course_subject_entity.h"
#include "store/records/simulation_paper_entity.h"

namespace examora {

// The views a practice session talks to. The three page views are the pager's slots 0, 1, 2.
struct PracticeViews {
    std::array<std::reference_wrapper<PageView>, 3> pages;
    PagerView& pager;
    PracticeBarsView& bars;
    ClockView& clock;
    DialogView& dialog;
    TipView& tip;
    BusyView& busy;
    NavigationView& navigation;
    PracticeScreens& screens;
    KeepAwake& keepAwake;
    DelayedCall& delayed;
};

// One pass of the learner through a list of subjects: chapter practice (mode 0), favourites (4),
// the wrong-answer book (5), noted subjects (6), taking a paper under the clock (1; 3 without
// header and clock) or reviewing a submitted one (2). It pages through the list with three page
// views, shows each subject as a question page, takes the learner's taps as page links and
// records answers through the facade. Every rule lives here; the views only show and report.
//
// Everything runs on the main queue. Callbacks handed to views and screens do nothing once the
// session is gone. One header; the implementation is split by concern:
// course_subject_controller.cpp (opening, settings, bars), _paging.cpp (pager and pages),
// _answers.cpp (links, answering, favourite, editors, list), _paper.cpp (submission, redo, clock,
// leaving, resume prompt).
class CourseSubjectController {
  public:
    using SumitedBlock = std::function<void()>;

    static constexpr const char* kEmptyListText = "题库在不断更新中，您可以尝试重新下载题库...";
    static constexpr const char* kUnreadableText = "题目读取失败，请尝试重新打开";
    static constexpr const char* kNotRecordedTip = "答案保存失败，请重新作答！";
    static constexpr const char* kCollectedImage = "collectedBtn_Nav";
    static constexpr const char* kCollectImage = "collectBtn_Nav";
    static constexpr const char* kClockFormat = "HH:mm:ss";
    // Subject-list choices that are not subjects.
    static constexpr int kSelectSubmit = -99;
    static constexpr int kSelectRedo = -98;
    // Delay before the pages are laid out again after a swipe.
    static constexpr int kRefreshDelayMs = 100;

    // A run over a chapter (or a selection narrowed by filterSql); subjectId 1 or more opens at
    // that subject.
    CourseSubjectController(APIManager& api, PracticeViews views, int showTime, int chapterId,
                            int subjectId, SubjectFilter filterSql);
    // A run over a paper: mode 1 takes it (sumitedBlock is called once after the submission),
    // mode 2 reviews it.
    CourseSubjectController(APIManager& api, PracticeViews views, int showTime, int paperId,
                            SumitedBlock sumitedBlock);
    ~CourseSubjectController();
    CourseSubjectController(const CourseSubjectController&) = delete;
    CourseSubjectController& operator=(const CourseSubjectController&) = delete;

    // Builds the bars, loads the paper and the page settings, loads the subject list and shows
    // the first page; mode 1 starts the clock.
    void open();

    int showTime() const { return showTime_; }
    int chapterId() const { return chapterId_; }
    int paperId() const { return paperId_; }
    int currentPage() const { return currentPage_; }
    int numberOfPages() const { return numberOfPages_; }
    int progressValue() const { return progressValue_; }
    const std::optional<std::vector<int>>& lstSubjectId() const { return lstSubjectId_; }
    const std::optional<CourseSubjectEntity>& subjectItem() const { return subjectItem_; }
    const std::optional<SimulationPaperEntity>& paperInfo() const { return paperInfo_; }
    // The bars of the mode under the current page settings.
    PracticeBars bars() const;

    // ---- Paging (course_subject_controller_paging.cpp) ----------------------------------------

    // Lays out the pages for n and scrolls to it.
    void moveToPageNumber(int n);
    void moveToPrePage();
    void moveToNextPage();
    // The pager's scroll report: settles on the page under the middle of the view.
    void scrollViewDidScroll(double offset);
    // The page a scroll offset rests on for pages of the given width.
    static int pageAtOffset(double offset, double pageWidth);
    // The first index whose id matches, or -1.
    int fetchSubjectIndexOfList(int subjectId) const;

    // ---- Links, answers and editors (course_subject_controller_answers.cpp) -------------------

    // The navigation question of page view `slot`: only the blank page loads; links of the
    // current page are acted on, all others refused.
    bool shouldLoadPage(int slot, const std::string& url);
    void doAnswer(const std::string& answer);
    void doFavorite();
    void doWriteNote();
    void editMyNote(int noteId);
    void doWriteError();
    void doSubjectSetting();
    void doFetchSubject();
    // Navigation-bar buttons: 1 list, 2 favourite, 3 note, 4 settings.
    void navigationButtonTapped(int tag);
    // A subject-list choice: a subject id of the run, kSelectSubmit or kSelectRedo.
    void didSelectSubjectId(int subjectId);

    // ---- Submission, redo, clock and leaving (course_subject_controller_paper.cpp) -----------

    void doSumitPaper();
    void doRedosubjectInTest();
    void backButtonClick();

    // Where a chapter practice can resume: the last practised subject and its chapter.
    struct ResumePoint {
        int chapterId = 0;
        int subjectId = 0;
    };
    // Before chapter practice on the main screen: when the course has a last practised subject
    // in a known chapter, asks whether to return to it. `open` runs once with the point on "是",
    // or nullopt on "否" or when there is nothing to return to (open the chapter selection); a
    // dialog dismissed without a choice runs nothing.
    static void askToResume(CourseUtil& course, int courseId, DialogView& dialog,
                            std::function<void(std::optional<ResumePoint>)> open);

  private:
    enum Role { kPrevious = 0, kCurrent = 1, kNext = 2 };

    CourseSubjectController(APIManager& api, PracticeViews views, int showTime, int chapterId,
                            int subjectId, SubjectFilter filterSql, int paperId,
                            SumitedBlock sumitedBlock);

    // Opening.
    void loadSubjectSettings();
    void initSubjectList();
    void startClock();

    // Paging.
    void initPagerView();
    void setWithPageNumber(int n);
    void placeView(Role role, std::optional<int> page);
    void refreshPageViewAfterPaged(int oldPage);
    void subjectChange(int n);
    void loadSubject(int subjectId,
                     const std::function<void(std::optional<CourseSubjectEntity>)>& done);
    void loadSubjectInfo(std::optional<CourseSubjectEntity> subject, int index);
    void loadNextSubjectInfo(std::optional<CourseSubjectEntity> subject, int index);
    void showCurrentSubjectAgain();
    void showText(const std::string& text);
    std::string buildPage(CourseSubjectEntity& subject, int index) const;

    // Answers and marks.
    void handleLink(const PageLink& link);
    bool recordAnswer(CourseSubjectEntity& subject, const std::string& answer);
    void loadURL(const std::string& script);
    void refreshFavouriteButton();

    // Submission and leaving.
    void doSumitExamPaper();
    void doSumitSubjectInTest();
    void examClockEnded();
    void leave();

    PageView& view(Role role) const { return views_.pages[slotOf_[role]].get(); }
    bool isLastPage(int n) const { return n == numberOfPages_ - 1; }

    // Wraps a callback so that it does nothing once this session is gone.
    template <class F>
    auto whileAlive(F f) {
        return [alive = std::weak_ptr<int>(life_), f = std::move(f)](auto&&... args) {
            if (alive.lock()) f(std::forward<decltype(args)>(args)...);
        };
    }

    APIManager& api_;
    PracticeViews views_;
    std::shared_ptr<int> life_ = std::make_shared<int>(0);

    int showTime_;
    int chapterId_;
    int subjectId_;
    SubjectFilter filterSql_;
    int paperId_;
    SumitedBlock sumitedBlock_;

    std::optional<SimulationPaperEntity> paperInfo_;
    std::optional<std::vector<int>> lstSubjectId_;
    int numberOfPages_ = 0;
    int currentPage_;
    std::optional<CourseSubjectEntity> subjectItem_;
    int progressValue_ = 0;
    bool showAnswer_ = false;
    bool collectedFlag_ = false;
    bool checkDouble_ = true;
    bool keptAwake_ = false;
    // Which pager slot plays each role (previous, current, next).
    std::array<int, 3> slotOf_{0, 1, 2};
};

}  // namespace examora
