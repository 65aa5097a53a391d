#pragma once

#include <string>

namespace examora {

// The stack of screens: push a screen by its route name with an argument text, pop back one
// screen or to the root.
class NavigationView {
  public:
    virtual ~NavigationView() = default;
    virtual void pushScreen(const std::string& route, const std::string& argument) = 0;
    virtual void popScreen() = 0;
    virtual void popToRoot() = 0;
};

}  // namespace examora
