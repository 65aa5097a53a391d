#pragma once

#include <memory>
#include <string>

namespace examora {

class WebScreen;
class WebTab;

// The screens of the web interface by route name: the names the screens' logic pushes
// (NavigationView) and the ones the main screen routes to.
class WebRoutes {
  public:
    // The screen of the route with its argument; nullptr for a route without a screen yet.
    static std::unique_ptr<WebScreen> make(WebTab& tab, const std::string& route,
                                           const std::string& argument);
    // The first screen of a new tab: the main screen once a course is chosen, else the course
    // selection.
    static std::unique_ptr<WebScreen> first(WebTab& tab);
};

}  // namespace examora
