// MainViewController: the main screen's routing, course opening, presence loop and quitting.

#include "facade/screens/main_view_controller.h"

#include <exception>

#include "app/common_setting.h"
#include "app/config_helper.h"
#include "facade/course_subject_controller.h"
#include "platform/http_transport.h"
#include "platform/log.h"
#include "platform/strformat.h"
#include "store/cus_setting_util.h"
#include "sync/base_item_downloader.h"

namespace examora {

namespace {

constexpr const char* kQQSetting = "cserviceqq";
constexpr const char* kQQLink = "mqq://im/chat?chat_type=wpa&uin=%@&version=1&src_type=web";
constexpr const char* kExitAnimation = "exitApplication";
constexpr double kExitSeconds = 0.5;

}  // namespace

MainViewController::MainViewController(APIManager& api, MainViews views, MainLinks links)
    : api_(api),
      views_(views),
      links_(std::move(links)),
      prompts_(api.dalCourse(), views.dialog, views.chooser, links_.downloads) {
    views_.menu.showGrid(gridCells());
    views_.menu.showSideMenu(sideMenuItems());
    refreshUserInfo();
    initCourse();
    topView_ = std::make_unique<CourseTestTopicsView>(views_.summary, CommonSetting::CourseId());

    PushService::Actions actions;
    actions.loginOnline = [&api]() -> std::optional<bool> {
        std::optional<bool> done;
        api.userLoginOnWithBlock([&](std::optional<bool> result, std::optional<ExamError> error) {
            if (!error) done = result;
        });
        return done;
    };
    actions.uploadTasks = links_.uploadTasks;
    actions.downloadBaseData = [] { BaseItemDownloader::create()->downloadBaseItem(); };
    pushService_ = std::make_unique<PushService>(std::move(actions), links_.presence);
    pushService_->startService();
}

MainViewController::~MainViewController() {
    pushService_->stopService();
}

std::vector<MenuItem> MainViewController::gridCells() {
    return {{0, "题库练习", "home_button_chapter"}, {1, "模拟考场", "home_button_exam"},
            {2, "考试大纲", "home_button_guide"},   {3, "错题强化", "home_button_myerror"},
            {4, "收藏笔记", "home_button_collect"}, {5, "云同步", "home_button_mynote"},
            {6, "题库重载", "home_button_redo"},    {8, "退出软件", "home_button_exit"}};
}

std::vector<MenuItem> MainViewController::sideMenuItems() {
    return {{0, "选择科目", "menu_course"},  {1, "搜索试题", "menu_search"},
            {2, "软件设置", "menu_setting"}, {3, "距离考试", "menu_date"},
            {4, "进入官网\t", "menu_home"},  {5, "在线客服\t", "menu_qq"},
            {6, "关于软件", "menu_aboutus"}};
}

void MainViewController::viewWillAppear() {
    topView_->refresh(CommonSetting::CourseId());
}

void MainViewController::initCourse() {
    const int courseId = CommonSetting::CourseId();
    api_.getCourseName(courseId, [this](std::optional<std::string> name, const ExamError* error) {
        if (error || !name) return;
        views_.title.setTitle(*name);
        CommonSetting::setCourseName(*name);
    });
    if (courseId >= 1 && courseId != ConfigHelper::getIntValue(ConfigHelper::kCourseId)) {
        ConfigHelper::updateIntValue(ConfigHelper::kCourseId, courseId);
    }
    if (topView_) topView_->refresh(courseId);
    startDownloadSubject(true);
}

void MainViewController::didSelectCourseId(int courseId, const std::string& district) {
    if (courseId != CommonSetting::CourseId()) {
        // The district chosen with the course is the one its content is fetched for.
        if (!district.empty()) {
            ConfigHelper::updateValue(ConfigHelper::kDistrict, Value(district));
            CommonSetting::setDistrict(district);
        }
        CommonSetting::setCourseId(courseId);
        initCourse();
        return;
    }
    if (district.empty() || district == CommonSetting::District()) return;
    // The new district must be the current one before its content is fetched; otherwise the
    // download would fetch the old district's content again.
    ConfigHelper::updateValue(ConfigHelper::kDistrict, Value(district));
    CommonSetting::setDistrict(district);
    startDownloadSubject(false);
}

void MainViewController::startDownloadSubject(bool check) {
    prompts_.startDownloadSubject(check);
}

void MainViewController::gridCellTapped(int cell) {
    switch (cell) {
        case 0:
            doTestSubject();
            break;
        case 1:
            doPaper();
            break;
        case 2:
            doShowOutline();
            break;
        case 3:
            doTestInErrorSubject();
            break;
        case 4:
            doTestInCollectSubject();
            break;
        case 5:
            doExchangeData();
            break;
        case 6:
            startDownloadSubject(false);
            break;
        case 8:
            exitApplication();
            break;
        default:
            break;
    }
}

void MainViewController::doTestSubject() {
    CourseSubjectController::askToResume(
        api_.dalCourse(), CommonSetting::CourseId(), views_.dialog,
        [this](std::optional<CourseSubjectController::ResumePoint> point) {
            if (point) {
                doTestSubjectWithChapterId(point->chapterId, point->subjectId);
            } else {
                doTestSubjectWithChapterId(0, 0);
            }
        });
}

void MainViewController::doTestSubjectWithChapterId(int chapterId, int subjectId) {
    if (subjectId < 1) {
        views_.navigation.pushScreen(kChapterSelectRoute, "0");
        return;
    }
    views_.practice.openPractice(0, chapterId, subjectId, SubjectFilter());
}

void MainViewController::doPaper() {
    views_.navigation.pushScreen(kPaperListRoute, std::string());
}

void MainViewController::doShowOutline() {
    views_.navigation.pushScreen(kOutlineRoute, "0");
}

void MainViewController::doTestInErrorSubject() {
    views_.navigation.pushScreen(kWrongFilterRoute, std::string());
}

void MainViewController::doTestInCollectSubject() {
    views_.navigation.pushScreen(kChapterSelectRoute, "4");
}

void MainViewController::doExchangeData() {
    if (links_.openDataExchange) {
        links_.openDataExchange();
        return;
    }
    views_.navigation.pushScreen(kExchangeRoute, std::string());
}

void MainViewController::exitApplication() {
    views_.dialog.showDialog("退出提示", "您真的要退出吗？", {"取消", "确认"}, [this](int button) {
        if (button != 1) return;
        views_.window.animateWindowAway(kExitAnimation, kExitSeconds,
                                        [this](const std::string& name) {
                                            if (name == kExitAnimation) views_.window.terminate(0);
                                        });
    });
}

void MainViewController::clickMenuItem(int item) {
    try {
        runMenuItem(item);
    } catch (const ExamError& e) {
        logf("%d, error:%@", item, e.reason());
    } catch (const std::exception& e) {
        logf("%d, error:%@", item, std::string(e.what()));
    }
}

void MainViewController::runMenuItem(int item) {
    switch (item) {
        case 0:
            selectCourse();
            break;
        case 1:
            doSearchSubject();
            break;
        case 2:
            doSubjectSettings();
            break;
        case 3:
            doSetExamDay();
            break;
        case 4:
            doOpenHomePage();
            break;
        case 5:
            doShowQQService();
            break;
        case 6:
            showAboutMe();
            break;
        case kMemberItem:
            memberBtnClicked();
            break;
        default:
            break;
    }
}

void MainViewController::selectCourse() {
    views_.navigation.pushScreen(kCourseSelectRoute, std::string());
}

void MainViewController::doSearchSubject() {
    views_.navigation.pushScreen(kSearchRoute, std::string());
}

void MainViewController::doSubjectSettings() {
    views_.navigation.pushScreen(kSettingsRoute, std::string());
}

void MainViewController::doSetExamDay() {
    views_.navigation.pushScreen(kExamDayRoute, std::string());
}

void MainViewController::doOpenHomePage() {
    views_.urls.openURL(links_.homePageURL);
}

void MainViewController::doShowQQService() {
    const std::string qq = CusSettingUtil::getSettingValue(kQQSetting);
    if (qq.empty()) return;
    // The contact number comes from the service: escaped, so it cannot add parameters.
    const std::string link = strformat(kQQLink, urlEncode(qq));
    if (views_.urls.canOpenURL(link)) {
        views_.urls.openURL(link);
        return;
    }
    views_.dialog.showDialog("提示", "您没有安装手机QQ，请安装手机QQ后重试。", {"知道了"},
                             [](int) {});
}

void MainViewController::showAboutMe() {
    views_.navigation.pushScreen(kAboutRoute, std::string());
}

void MainViewController::memberBtnClicked() {
    views_.navigation.pushScreen(
        CommonSetting::LoginUserId() < 1 ? kLoginRoute : kMemberCentreRoute, std::string());
}

void MainViewController::refreshUserInfo() {
    const std::string name = CommonSetting::LoginUserName();
    views_.menu.showMemberHeader(CommonSetting::LoginUserId() >= 1 && !name.empty() ? name
                                                                                    : kNotLoggedIn);
}

}  // namespace examora
