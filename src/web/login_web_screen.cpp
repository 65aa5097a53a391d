// LoginWebScreen: the log-in form.

#include "web/login_web_screen.h"

#include "facade/register_screen.h"
#include "web/web_context.h"
#include "web/web_tab.h"

namespace examora {

using nlohmann::json;

LoginWebScreen::LoginWebScreen(WebTab& tab)
    : WebScreen(tab, "form", LoginScreen::kTitle),
      login_(tab.context().accounts, {views(), views(), views(), views(), views()}, nullptr) {}

json LoginWebScreen::spec() const {
    json fields = json::array();
    fields.push_back({{"name", LoginScreen::kNameField},
                      {"type", "text"},
                      {"hint", LoginScreen::kNameField},
                      {"autocomplete", "username"}});
    fields.push_back({{"name", LoginScreen::kPasswordField},
                      {"type", "password"},
                      {"hint", LoginScreen::kPasswordField},
                      {"autocomplete", "current-password"}});
    return {{"banner", LoginScreen::kProductName},
            {"fields", fields},
            {"buttons", {LoginScreen::kLoginButton}},
            {"links", {LoginScreen::kRegisterLink, LoginScreen::kForgetLink}}};
}

void LoginWebScreen::reported(const std::string& route, int value) {
    if (route == RegisterScreen::kRoute) login_.registered(value);
}

void LoginWebScreen::handle(const json& event) {
    if (event.value("e", "") != "action") return;
    const std::string caption = event.value("caption", "");
    if (caption == LoginScreen::kLoginButton) login_.login();
    if (caption == LoginScreen::kRegisterLink) login_.openRegistration();
    if (caption == LoginScreen::kForgetLink) login_.openPasswordReset();
}

}  // namespace examora
