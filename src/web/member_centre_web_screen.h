#pragma once

#include "facade/member_centre_screen.h"
#include "web/web_screen.h"

namespace examora {

// The member centre in the browser: the learner's name, the rows to the member information and
// the password change, and "退出登录", over MemberCentreScreen's rules.
class MemberCentreWebScreen : public WebScreen {
  public:
    explicit MemberCentreWebScreen(WebTab& tab);

    nlohmann::json spec() const override;
    void start() override;

  protected:
    void handle(const nlohmann::json& event) override;

  private:
    MemberCentreScreen centre_;
};

}  // namespace examora
