// MemberCentreWebScreen: the member centre.

#include "web/member_centre_web_screen.h"

#include "web/web_context.h"
#include "web/web_tab.h"

namespace examora {

using nlohmann::json;

MemberCentreWebScreen::MemberCentreWebScreen(WebTab& tab)
    : WebScreen(tab, "list", MemberCentreScreen::kTitle),
      centre_(tab.context().accounts, views(), nullptr) {}

json MemberCentreWebScreen::spec() const {
    return {{"header", std::string(MemberCentreScreen::kNameLabel) + centre_.memberName()},
            {"buttons", {MemberCentreScreen::kLogoutButton}}};
}

void MemberCentreWebScreen::start() {
    views().showRows(
        {{MemberCentreScreen::kInfoRow, "", true}, {MemberCentreScreen::kPasswordRow, "", true}});
}

void MemberCentreWebScreen::handle(const json& event) {
    const std::string kind = event.value("e", "");
    if (kind == "row") {
        const int index = event.value("index", -1);
        if (index == 0) centre_.openMemberInfo();
        if (index == 1) centre_.openPasswordChange();
    } else if (kind == "action" &&
               event.value("caption", "") == MemberCentreScreen::kLogoutButton) {
        centre_.logout();
    }
}

}  // namespace examora
