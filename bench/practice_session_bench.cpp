// The practice session on the largest selected synthetic course: opening a chapter of 500
// subjects to its first page, an answer tap to its feedback script, and a swipe's refresh.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

#include "app/common_setting.h"
#include "facade/api_manager.h"
#include "facade/course_subject_controller.h"
#include "lib/course_generator.h"
#include "store/sqlite_helper.h"

namespace examora {
namespace {

constexpr int kChapterId = 990'000'001;
constexpr int kChapterSubjects = 500;

// Views that do only what the session needs back from them: the pager's geometry, the clock's
// state and the delayed refresh, run when the benchmark says.
struct QuietPage : PageView {
    std::size_t shown = 0;
    void loadHTMLString(const std::string& html, const std::string&) override {
        shown += html.size();
    }
    void evaluateScript(const std::string& script) override { shown += script.size(); }
    void setNavigationHandler(NavigationHandler) override {}
};
struct QuietPager : PagerView {
    double offset = 0;
    Scrolled scrolled;
    double pageWidth() const override { return 320; }
    void setContentWidth(double) override {}
    double scrollOffset() const override { return offset; }
    void setScrollOffset(double x) override { offset = x; }
    void setScrolledHandler(Scrolled h) override { scrolled = std::move(h); }
    void setTouchEnabled(bool) override {}
    void placePageView(int, std::optional<double>) override {}
};
struct QuietViews : PracticeBarsView,
                    ClockView,
                    DialogView,
                    TipView,
                    BusyView,
                    NavigationView,
                    PracticeScreens,
                    KeepAwake,
                    DelayedCall {
    QuietPage pages[3];
    QuietPager pager;
    std::function<void()> pending;

    void showBars(const PracticeBars&) override {}
    void setFavouriteImage(const std::string&) override {}
    void setProgress(double) override {}
    void setCountDown(const std::string&, int) override {}
    void startCountDown(std::function<void()>) override {}
    void pauseCountDown() override {}
    bool isCounting() const override { return false; }
    int elapsedSeconds() const override { return 0; }
    void showDialog(const std::string&, const std::string&, const std::vector<std::string>&,
                    Choice) override {}
    void showTip(const std::string&) override {}
    void showBusy(const std::string&) override {}
    void hideBusy() override {}
    void pushScreen(const std::string&, const std::string&) override {}
    void popScreen() override {}
    void popToRoot() override {}
    void openNoteEditor(int, int, Closed) override {}
    void openErrorReport(int, Closed) override {}
    void openPageSettings(Closed) override {}
    void openSubjectList(int, int, const SubjectFilter&, std::function<void(int)>) override {}
    void openChapterResult(int) override {}
    void openPaperResult(int, std::function<void(int)>) override {}
    void setKeepAwake(bool) override {}
    void callAfter(int, std::function<void()> work) override { pending = std::move(work); }

    PracticeViews views() {
        return {{pages[0], pages[1], pages[2]},
                pager,
                *this,
                *this,
                *this,
                *this,
                *this,
                *this,
                *this,
                *this,
                *this};
    }
};

std::string benchDir() {
    struct Dir {
        std::string path;
        Dir() {
            std::string tmpl =
                (std::filesystem::temp_directory_path() / "examora-session-bench-XXXXXX").string();
            if (!mkdtemp(tmpl.data())) throw std::runtime_error("no temporary directory");
            path = tmpl;
        }
        ~Dir() {
            std::error_code ignored;
            std::filesystem::remove_all(path, ignored);
        }
    };
    static const Dir dir;
    return dir.path;
}

// The largest selected course, generated once, with a chapter of 500 of its subjects.
void prepareCourse() {
    static const bool ready = [] {
        const std::string path = CourseGenerator::installTemplate(benchDir() + "/course.db");
        CourseGenerator().generate(path, 1, CourseSize::largestSelected(), 1'796'000'000);
        CommonSetting::setDbPath(path);
        CommonSetting::setCourseId(1);
        SQLiteHelper db;
        db.OpenDataBase();
        db.ExecuteNonQuery(
            "insert into coursechapter(ichapterid,icourseid,cchaptercode,itype,cchaptername,"
            "bendgrade,igrade,icount,iexamtime,bstopflag,dchangedate,bdownload) values "
            "(?,1,'99',0,'练习',1,0,0,0,0,datetime('now','localtime'),1)",
            kChapterId);
        db.ExecuteNonQuery(
            "update coursesubject set ichapterid=? where isubjectid in (select isubjectid from "
            "coursesubject where icourseid=1 and bstopflag=0 order by isubjectid limit ?)",
            kChapterId, kChapterSubjects);
        db.CloseDataBase();
        return true;
    }();
    benchmark::DoNotOptimize(ready);
}

void BM_OpenChapterToFirstPage(benchmark::State& state) {
    prepareCourse();
    APIManager api;
    QuietViews views;
    for (auto _ : state) {
        CourseSubjectController session(api, views.views(), 0, kChapterId, 0, SubjectFilter());
        session.open();
        if (session.numberOfPages() != kChapterSubjects) state.SkipWithError("wrong chapter");
    }
}
BENCHMARK(BM_OpenChapterToFirstPage)->Unit(benchmark::kMillisecond);

void BM_AnswerTapToFeedback(benchmark::State& state) {
    prepareCourse();
    APIManager api;
    QuietViews views;
    CourseSubjectController session(api, views.views(), 0, kChapterId, 0, SubjectFilter());
    session.open();
    bool flip = false;
    for (auto _ : state) {
        session.doAnswer((flip = !flip) ? "A" : "B");
    }
}
BENCHMARK(BM_AnswerTapToFeedback)->Unit(benchmark::kMicrosecond);

void BM_SwipeRefresh(benchmark::State& state) {
    prepareCourse();
    APIManager api;
    QuietViews views;
    CourseSubjectController session(api, views.views(), 0, kChapterId, 0, SubjectFilter());
    session.open();
    session.moveToPageNumber(1);
    bool forward = false;
    for (auto _ : state) {
        forward = !forward;
        views.pager.scrolled(forward ? 640 : 320);
        views.pending();
    }
}
BENCHMARK(BM_SwipeRefresh)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace examora

BENCHMARK_MAIN();
