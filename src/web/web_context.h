#pragma once

#include <functional>
#include <memory>
#include <string>

namespace examora {

class APIManager;
class AccountActions;
class PageStore;
class WebScreen;
class WebTab;
class WebTimer;

// What every screen of the web interface reaches: the facade, the account operations, the page
// store of the question-page origin, the timer, and the router that makes a screen from a route
// name and its argument (nullptr for an unknown route).
struct WebContext {
    APIManager& api;
    AccountActions& accounts;
    PageStore& pages;
    WebTimer& timer;
    std::function<std::unique_ptr<WebScreen>(WebTab& tab, const std::string& route,
                                             const std::string& argument)>
        router;
};

}  // namespace examora
