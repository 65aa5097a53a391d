#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "account/push_service.h"
#include "facade/api_manager.h"
#include "facade/course_test_topics_view.h"
#include "facade/screens/download_prompts.h"
#include "facade/views/dialog_view.h"
#include "facade/views/list_chooser_view.h"
#include "facade/views/menu_view.h"
#include "facade/views/navigation_view.h"
#include "facade/views/practice_launcher.h"
#include "facade/views/summary_view.h"
#include "facade/views/title_view.h"
#include "facade/views/url_opener.h"
#include "facade/views/window_view.h"

namespace examora {

// The views the main screen talks to.
struct MainViews {
    TitleView& title;
    MenuView& menu;
    SummaryView& summary;
    DialogView& dialog;
    ListChooserView& chooser;
    NavigationView& navigation;
    PracticeLauncher& practice;
    UrlOpener& urls;
    WindowView& window;
};

// What the main screen reaches that lives in work not yet joined to this layer; each is wired
// by whoever builds the screen.
struct MainLinks {
    // The download prompts' links: the check for new content and the download itself.
    DownloadPrompts::Links downloads;
    // The facade's upload of the queued learner records (uploadTaskToServer_withBlock), run by
    // the presence loop every seventh tick while online. Empty: nothing is uploaded.
    std::function<void()> uploadTasks;
    // Opens the data-exchange screen. Empty: the route kExchangeRoute is pushed.
    std::function<void()> openDataExchange;
    // The address the side menu's "进入官网" opens.
    std::string homePageURL = "https://examora.invalid/";
    // The presence loop's tick and wait (tests hand in a tick that never passes).
    PushService::Options presence;
};

// The hub the learner sees once a course is chosen: the course's name as title, the practice
// summary, the function grid and the side menu, each routed to its screen or operation. It owns
// the presence loop for its lifetime.
//
// Screens opened by route name are built by the host, which wires their answers back: the course
// selection's choice to didSelectCourseId, the log-in's and member centre's to refreshUserInfo.
// Everything here runs on the main queue; the presence loop runs on its own worker.
class MainViewController {
  public:
    static constexpr const char* kRoute = "main";
    static constexpr const char* kChapterSelectRoute = "chapter_select";
    static constexpr const char* kPaperListRoute = "paper_list";
    static constexpr const char* kOutlineRoute = "outline";
    static constexpr const char* kWrongFilterRoute = "wrong_filter";
    static constexpr const char* kExchangeRoute = "data_exchange";
    static constexpr const char* kCourseSelectRoute = "course_select";
    static constexpr const char* kSearchRoute = "search";
    static constexpr const char* kSettingsRoute = "settings";
    static constexpr const char* kExamDayRoute = "exam_day";
    static constexpr const char* kAboutRoute = "about";
    static constexpr const char* kLoginRoute = "login";
    static constexpr const char* kMemberCentreRoute = "member_centre";
    // The side menu's header item.
    static constexpr int kMemberItem = 99;
    static constexpr const char* kNotLoggedIn = "登录 / 注册";

    // Builds the bars' contents, opens the current course (initCourse), starts the summary and
    // creates and starts the presence loop.
    MainViewController(APIManager& api, MainViews views, MainLinks links);
    // Stops the presence loop and waits for it to end.
    ~MainViewController();
    MainViewController(const MainViewController&) = delete;
    MainViewController& operator=(const MainViewController&) = delete;

    // The grid's cells and the side menu's rows, in order.
    static std::vector<MenuItem> gridCells();
    static std::vector<MenuItem> sideMenuItems();

    // The screen is shown again: the summary reloads.
    void viewWillAppear();

    // Opens the current course: its name as title, the course remembered for the next launch,
    // then the offer of new content.
    void initCourse();
    // The course selection's answer.
    void didSelectCourseId(int courseId, const std::string& district);
    void startDownloadSubject(bool check);

    // A tap on grid cell `cell`; a cell without a command does nothing.
    void gridCellTapped(int cell);
    void doTestSubject();
    void doTestSubjectWithChapterId(int chapterId, int subjectId);
    void doPaper();
    void doShowOutline();
    void doTestInErrorSubject();
    void doTestInCollectSubject();
    void doExchangeData();
    void exitApplication();

    // A tap on side-menu item `item` (99: the learner header); other numbers do nothing. A
    // command that raises is logged as "%d, error:%@" and changes nothing else.
    void clickMenuItem(int item);
    void selectCourse();
    void doSearchSubject();
    void doSubjectSettings();
    void doSetExamDay();
    void doOpenHomePage();
    void doShowQQService();
    void showAboutMe();
    void memberBtnClicked();
    // Shows the learner in the side menu's header.
    void refreshUserInfo();

    PushService& pushService() { return *pushService_; }

  private:
    void runMenuItem(int item);

    APIManager& api_;
    MainViews views_;
    MainLinks links_;
    DownloadPrompts prompts_;
    std::unique_ptr<CourseTestTopicsView> topView_;
    std::unique_ptr<PushService> pushService_;
};

}  // namespace examora
