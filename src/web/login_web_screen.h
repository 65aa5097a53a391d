#pragma once

#include "facade/login_screen.h"
#include "web/web_screen.h"

namespace examora {

// The log-in screen in the browser: the name and password fields, "登录", and the links to
// registration and password reset, over LoginScreen's rules.
class LoginWebScreen : public WebScreen {
  public:
    explicit LoginWebScreen(WebTab& tab);

    nlohmann::json spec() const override;
    // A registration opened from here logs the learner in and closes this screen too.
    void reported(const std::string& route, int value) override;

  protected:
    void handle(const nlohmann::json& event) override;

  private:
    LoginScreen login_;
};

}  // namespace examora
