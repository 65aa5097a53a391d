#pragma once

#include <memory>
#include <string>

#include "facade/change_password_screen.h"
#include "facade/forget_password_screen.h"
#include "facade/register_screen.h"
#include "web/web_screen.h"

namespace examora {

// The account forms that are fields and a button over their screen's rules: registration,
// password reset by mail and password change. Leaving a field is reported to the rules that
// test fields as they are left.
class AccountFormWebScreen : public WebScreen {
  public:
    // RegisterScreen::kRoute, ForgetPasswordScreen::kRoute or ChangePasswordScreen::kRoute;
    // nullptr for another route.
    static std::unique_ptr<AccountFormWebScreen> make(WebTab& tab, const std::string& route);

    AccountFormWebScreen(WebTab& tab, const std::string& route, const char* title);
    ~AccountFormWebScreen() override;

    nlohmann::json spec() const override;

  protected:
    void handle(const nlohmann::json& event) override;

  private:
    std::string route_;
    std::unique_ptr<RegisterScreen> register_;
    std::unique_ptr<ForgetPasswordScreen> forget_;
    std::unique_ptr<ChangePasswordScreen> change_;
};

}  // namespace examora
