// WebRoutes: route names to the web interface's screens.

#include "web/web_routes.h"

#include "app/common_setting.h"
#include "facade/item_edit_screen.h"
#include "facade/login_screen.h"
#include "facade/member_centre_screen.h"
#include "facade/member_info_screen.h"
#include "facade/screens/chapter_select_screen.h"
#include "facade/screens/clear_data_screen.h"
#include "facade/screens/ebbinghaus_screen.h"
#include "facade/screens/error_drill_screen.h"
#include "facade/screens/error_filter_screen.h"
#include "facade/screens/exam_day_screen.h"
#include "facade/screens/outline_page_screen.h"
#include "facade/screens/outline_screen.h"
#include "facade/screens/page_settings_screen.h"
#include "facade/screens/paper_list_screen.h"
#include "facade/screens/search_screen.h"
#include "facade/screens/select_subject_screen.h"
#include "web/about_web_screen.h"
#include "web/account_form_web_screen.h"
#include "web/data_exchange_web_screen.h"
#include "web/home_web_screen.h"
#include "web/list_web_adapters.h"
#include "web/login_web_screen.h"
#include "web/member_centre_web_screen.h"
#include "web/member_info_web_screen.h"
#include "web/paper_web_adapters.h"
#include "web/practice_web_screen.h"
#include "web/web_tab.h"

namespace examora {

namespace {

// The course selection's answer: to the main screen when it lies beneath; at the first launch the
// main screen takes the selection's place and hears the answer.
void courseSelected(WebTab& tab, int courseId, const std::string& district) {
    if (auto* home = dynamic_cast<HomeWebScreen*>(tab.root())) {
        home->courseSelected(courseId, district);
        return;
    }
    auto home = std::make_unique<HomeWebScreen>(tab);
    HomeWebScreen& shown = *home;
    tab.setRoot(std::move(home));
    shown.courseSelected(courseId, district);
}

}  // namespace

std::unique_ptr<WebScreen> WebRoutes::make(WebTab& tab, const std::string& route,
                                           const std::string& argument) {
    namespace lists = list_web_adapters;
    namespace papers = paper_web_adapters;
    if (route == HomeWebScreen::kRoute) return std::make_unique<HomeWebScreen>(tab);
    if (route == CourseSelectScreen::kRoute) {
        return lists::courseSelect(tab, [&tab](int courseId, const std::string& district) {
            courseSelected(tab, courseId, district);
        });
    }
    if (route == ChapterSelectScreen::kRoute) return lists::chapterSelect(tab, argument);
    if (route == SelectSubjectScreen::kRoute) return lists::selectSubject(tab, argument);
    if (route == ErrorFilterScreen::kRoute) return lists::errorFilter(tab);
    if (route == ErrorDrillScreen::kRoute) return lists::errorDrill(tab, argument);
    if (route == EbbinghausScreen::kRoute) return lists::ebbinghaus(tab);
    if (route == SearchScreen::kRoute) return lists::search(tab);
    if (route == OutlineScreen::kRoute) return lists::outline(tab);
    if (route == OutlinePageScreen::kRoute) return lists::outlinePage(tab, argument);
    if (route == PaperListScreen::kRoute) return papers::paperList(tab);
    if (route == PageSettingsScreen::kRoute) return papers::pageSettings(tab, nullptr);
    if (route == ClearDataScreen::kRoute) return papers::clearData(tab);
    if (route == ExamDayScreen::kRoute) return papers::examDay(tab);
    if (route == PracticeWebScreen::kRoute || route == PracticeWebScreen::kPaperRoute) {
        return PracticeWebScreen::fromRoute(tab, route, argument);
    }
    if (route == LoginScreen::kRoute) return std::make_unique<LoginWebScreen>(tab);
    if (route == MemberCentreScreen::kRoute) return std::make_unique<MemberCentreWebScreen>(tab);
    if (auto form = AccountFormWebScreen::make(tab, route)) return form;
    if (route == MemberInfoScreen::kRoute || route == ItemEditScreen::kRoute) {
        return std::make_unique<MemberInfoWebScreen>(tab, route, argument);
    }
    if (route == AboutWebScreen::kRoute) return std::make_unique<AboutWebScreen>(tab);
    if (route == DataExchangeWebScreen::kRoute) return std::make_unique<DataExchangeWebScreen>(tab);
    return nullptr;
}

std::unique_ptr<WebScreen> WebRoutes::first(WebTab& tab) {
    if (CommonSetting::CourseId() >= 1) return make(tab, HomeWebScreen::kRoute, std::string());
    return make(tab, CourseSelectScreen::kRoute, std::string());
}

}  // namespace examora
