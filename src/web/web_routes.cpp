// WebRoutes: route names to the web interface's screens.

#include "web/web_routes.h"

#include "app/common_setting.h"
#include "facade/item_edit_screen.h"
#include "facade/login_screen.h"
#include "facade/member_centre_screen.h"
#include "facade/member_info_screen.h"
#include "web/about_web_screen.h"
#include "web/account_form_web_screen.h"
#include "web/chapter_web_screen.h"
#include "web/course_select_web_screen.h"
#include "web/data_exchange_web_screen.h"
#include "web/home_web_screen.h"
#include "web/login_web_screen.h"
#include "web/member_centre_web_screen.h"
#include "web/member_info_web_screen.h"
#include "web/outline_web_screen.h"
#include "web/paper_form_web_screen.h"
#include "web/paper_list_web_screen.h"
#include "web/practice_web_screen.h"
#include "web/review_web_screen.h"
#include "web/search_web_screen.h"
#include "web/settings_web_screen.h"

namespace examora {

std::unique_ptr<WebScreen> WebRoutes::make(WebTab& tab, const std::string& route,
                                           const std::string& argument) {
    if (route == HomeWebScreen::kRoute) return std::make_unique<HomeWebScreen>(tab);
    // The main screen's routes to screens that take their arguments in their own form.
    if (route == MainViewController::kChapterSelectRoute) {
        return std::make_unique<ChapterWebScreen>(tab, argument + ":0");
    }
    if (route == MainViewController::kPaperListRoute) {
        return std::make_unique<PaperListWebScreen>(tab);
    }
    if (route == MainViewController::kWrongFilterRoute) {
        return std::make_unique<ReviewWebScreen>(tab, ReviewWebScreen::kDrillRoute);
    }
    if (route == CourseSelectWebScreen::kRoute) {
        return std::make_unique<CourseSelectWebScreen>(tab, argument);
    }
    if (route == ChapterWebScreen::kRoute) return std::make_unique<ChapterWebScreen>(tab, argument);
    if (route == PracticeWebScreen::kRoute || route == PracticeWebScreen::kPaperRoute) {
        return PracticeWebScreen::fromRoute(tab, route, argument);
    }
    if (route == LoginScreen::kRoute) return std::make_unique<LoginWebScreen>(tab);
    if (route == MemberCentreScreen::kRoute) return std::make_unique<MemberCentreWebScreen>(tab);
    if (auto form = AccountFormWebScreen::make(tab, route)) return form;
    if (route == MemberInfoScreen::kRoute || route == ItemEditScreen::kRoute) {
        return std::make_unique<MemberInfoWebScreen>(tab, route, argument);
    }
    if (route == PaperListWebScreen::kRoute) return std::make_unique<PaperListWebScreen>(tab);
    if (route == PaperFormWebScreen::kRoute) return std::make_unique<PaperFormWebScreen>(tab);
    if (route == ReviewWebScreen::kDrillRoute || route == ReviewWebScreen::kMemoryRoute) {
        return std::make_unique<ReviewWebScreen>(tab, route);
    }
    if (route == AboutWebScreen::kRoute) return std::make_unique<AboutWebScreen>(tab);
    if (route == DataExchangeWebScreen::kRoute) return std::make_unique<DataExchangeWebScreen>(tab);
    if (route == SettingsWebScreen::kRoute)
        return std::make_unique<SettingsWebScreen>(tab, nullptr);
    if (route == SearchWebScreen::kRoute) return std::make_unique<SearchWebScreen>(tab);
    if (route == OutlineWebScreen::kRoute || route == OutlineWebScreen::kPageRoute) {
        return std::make_unique<OutlineWebScreen>(tab, route, argument);
    }
    return nullptr;
}

std::unique_ptr<WebScreen> WebRoutes::first(WebTab& tab) {
    if (CommonSetting::CourseId() >= 1) return make(tab, HomeWebScreen::kRoute, std::string());
    return make(tab, CourseSelectWebScreen::kRoute, std::string());
}

}  // namespace examora
