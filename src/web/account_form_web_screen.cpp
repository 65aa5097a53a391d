// AccountFormWebScreen: registration, password reset and password change as browser forms.

#include "web/account_form_web_screen.h"

#include "facade/api_manager.h"
#include "web/web_context.h"
#include "web/web_tab.h"

namespace examora {

using nlohmann::json;

namespace {

json field(const char* name, const char* type, const char* autocomplete = "off") {
    return {{"name", name}, {"type", type}, {"hint", name}, {"autocomplete", autocomplete}};
}

}  // namespace

std::unique_ptr<AccountFormWebScreen> AccountFormWebScreen::make(WebTab& tab,
                                                                 const std::string& route) {
    if (route == RegisterScreen::kRoute) {
        return std::make_unique<AccountFormWebScreen>(tab, route, RegisterScreen::kTitle);
    }
    if (route == ForgetPasswordScreen::kRoute) {
        return std::make_unique<AccountFormWebScreen>(tab, route, ForgetPasswordScreen::kTitle);
    }
    if (route == ChangePasswordScreen::kRoute) {
        return std::make_unique<AccountFormWebScreen>(tab, route, ChangePasswordScreen::kTitle);
    }
    return nullptr;
}

AccountFormWebScreen::AccountFormWebScreen(WebTab& tab, const std::string& route, const char* title)
    : WebScreen(tab, "form", title), route_(route) {
    AccountActions& actions = tab.context().accounts;
    if (route == RegisterScreen::kRoute) {
        CourseUtil& course = tab.context().api.dalCourse();
        register_ = std::make_unique<RegisterScreen>(
            actions, RegisterScreen::Views{views(), views(), views(), views()},
            [&course] { return course.loadDistrict(); },
            [this](int value) { reportToOpener(RegisterScreen::kRoute, value); });
    } else if (route == ForgetPasswordScreen::kRoute) {
        forget_ = std::make_unique<ForgetPasswordScreen>(
            actions, ForgetPasswordScreen::Views{views(), views(), views(), views()},
            [this](int value) { reportToOpener(ForgetPasswordScreen::kRoute, value); });
    } else {
        change_ = std::make_unique<ChangePasswordScreen>(
            actions, ChangePasswordScreen::Views{views(), views(), views()});
    }
}

AccountFormWebScreen::~AccountFormWebScreen() = default;

json AccountFormWebScreen::spec() const {
    json fields = json::array();
    std::string button;
    if (register_) {
        fields.push_back(field(RegisterScreen::kPhoneField, "text", "tel"));
        fields.push_back(field(RegisterScreen::kEmailField, "text", "email"));
        fields.push_back(field(RegisterScreen::kDistrictField, "picker"));
        fields.push_back(field(RegisterScreen::kPasswordField, "password", "new-password"));
        fields.push_back(field(RegisterScreen::kRepeatField, "password", "new-password"));
        button = RegisterScreen::kSubmitButton;
    } else if (forget_) {
        fields.push_back(field(ForgetPasswordScreen::kEmailField, "text", "email"));
        button = ForgetPasswordScreen::kResetButton;
    } else {
        fields.push_back(field(ChangePasswordScreen::kOldField, "password", "current-password"));
        fields.push_back(field(ChangePasswordScreen::kNewField, "password", "new-password"));
        fields.push_back(field(ChangePasswordScreen::kRepeatField, "password", "new-password"));
        button = ChangePasswordScreen::kConfirmButton;
    }
    return {{"fields", fields}, {"buttons", {button}}};
}

void AccountFormWebScreen::handle(const json& event) {
    const std::string kind = event.value("e", "");
    const std::string name = kind == "left" ? event.value("name", "") : event.value("caption", "");
    if (kind == "left") {
        if (register_) register_->fieldLeft(name);
        if (forget_) forget_->fieldLeft(name);
        return;
    }
    if (kind != "action") return;
    if (register_ && name == RegisterScreen::kDistrictField) register_->chooseDistrict();
    if (register_ && name == RegisterScreen::kSubmitButton) register_->submit();
    if (forget_ && name == ForgetPasswordScreen::kResetButton) forget_->reset();
    if (change_ && name == ChangePasswordScreen::kConfirmButton) change_->confirm();
}

}  // namespace examora
