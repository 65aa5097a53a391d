// HomeWebScreen: the main screen's summary, grid and side menu, and where each leads.

#include "web/home_web_screen.h"

#include "app/common_setting.h"
#include "facade/api_manager.h"
#include "facade/course_subject_controller.h"
#include "facade/login_screen.h"
#include "facade/member_centre_screen.h"
#include "web/web_context.h"
#include "web/web_tab.h"

namespace examora {

using nlohmann::json;

namespace {

struct Entry {
    int number;
    const char* label;
    const char* icon;
    const char* route;  // "" for an action of the screen itself
    const char* argument;
};

const Entry kCells[] = {
    {0, "题库练习", "home_button_chapter", "", ""},
    {1, "模拟考场", "home_button_exam", "papers", ""},
    {2, "考试大纲", "home_button_guide", "outline", "0"},
    {3, "错题强化", "home_button_myerror", "drill", ""},
    {4, "收藏笔记", "home_button_collect", "chapters", "4:0"},
    {5, "云同步", "home_button_mynote", "exchange", ""},
    {6, "题库重载", "home_button_redo", "download", ""},
    {8, "退出软件", "home_button_exit", "", ""},
};

const Entry kMenu[] = {
    {0, "选择科目", "menu_course", "course_select", ""},
    {1, "搜索试题", "menu_search", "search", ""},
    {2, "软件设置", "menu_setting", "settings", ""},
    {3, "距离考试", "menu_date", "exam_day", ""},
    {4, "进入官网\t", "menu_home", "home_page", ""},
    {5, "在线客服\t", "menu_qq", "service", ""},
    {6, "关于软件", "menu_aboutus", "about", ""},
};

}  // namespace

HomeWebScreen::HomeWebScreen(WebTab& tab) : WebScreen(tab, "home", CommonSetting::CourseName()) {}

HomeWebScreen::~HomeWebScreen() = default;

json HomeWebScreen::spec() const {
    json cells = json::array();
    for (const Entry& e : kCells) {
        cells.push_back({{"number", e.number}, {"label", e.label}, {"icon", e.icon}});
    }
    json menu = json::array();
    for (const Entry& e : kMenu) {
        // The tab in two labels only aligns them on the phone.
        std::string label = e.label;
        if (!label.empty() && label.back() == '\t') label.pop_back();
        menu.push_back({{"number", e.number}, {"label", label}, {"icon", e.icon}});
    }
    return {{"cells", cells}, {"menu", menu}};
}

void HomeWebScreen::start() {
    context().api.getCourseName(CommonSetting::CourseId(),
                                [this](std::optional<std::string> name, const ExamError*) {
                                    if (!name || name->empty()) return;
                                    CommonSetting::setCourseName(*name);
                                    setTitle(*name);
                                });
    topics_ = std::make_unique<CourseTestTopicsView>(views(), CommonSetting::CourseId());
    sendMember();
}

void HomeWebScreen::shownAgain() {
    if (topics_) topics_->refresh(CommonSetting::CourseId());
    sendMember();
}

void HomeWebScreen::sendMember() {
    const bool in = CommonSetting::LoginUserId() >= 1;
    views().send("member",
                 {{"name", in ? CommonSetting::LoginUserName() : "点击登录"}, {"loggedIn", in}});
}

void HomeWebScreen::handle(const json& event) {
    const std::string kind = event.value("e", "");
    if (kind == "cell") cellTapped(event.value("number", -1));
    if (kind == "menu") menuTapped(event.value("number", -1));
}

void HomeWebScreen::cellTapped(int cell) {
    if (cell == 0) {
        CourseSubjectController::askToResume(
            context().api.dalCourse(), CommonSetting::CourseId(), views(),
            [this](std::optional<CourseSubjectController::ResumePoint> point) {
                if (point) {
                    tab().pushRoute("practice", "0:" + std::to_string(point->chapterId) + ":" +
                                                    std::to_string(point->subjectId));
                } else {
                    tab().pushRoute("chapters", "0:0");
                }
            });
        return;
    }
    if (cell == 8) {
        views().showDialog("退出提示", "您真的要退出吗？", {"取消", "确认"}, [this](int button) {
            if (button == 1) views().send("exit", json::object());
        });
        return;
    }
    for (const Entry& e : kCells) {
        if (e.number == cell) tab().pushRoute(e.route, e.argument);
    }
}

void HomeWebScreen::menuTapped(int item) {
    if (item == 99) {
        if (CommonSetting::LoginUserId() < 1) {
            tab().pushRoute(LoginScreen::kRoute, std::string());
        } else {
            tab().pushRoute(MemberCentreScreen::kRoute, std::string());
        }
        return;
    }
    for (const Entry& e : kMenu) {
        if (e.number == item) tab().pushRoute(e.route, e.argument);
    }
}

}  // namespace examora
