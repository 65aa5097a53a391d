#pragma once

#include "web/web_screen.h"

namespace examora {

// "关于软件": what the program is, its version, and where its question bank comes from.
class AboutWebScreen : public WebScreen {
  public:
    static constexpr const char* kRoute = "about";

    explicit AboutWebScreen(WebTab& tab) : WebScreen(tab, "result", "关于软件") {}

    nlohmann::json spec() const override;
};

}  // namespace examora
