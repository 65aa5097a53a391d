#pragma once

#include "facade/views/interface_theme.h"

namespace examora {

// What the launch sequence needs of the screens: a window, the application-wide look and the two
// possible first screens. The command line and the web interface implement it; tests fake it.
// Every call happens on the main queue.
class LaunchScreens {
  public:
    virtual ~LaunchScreens() = default;

    // Creates the main window over the whole screen.
    virtual void makeWindow() {}
    // The application-wide look: bar colour and tint.
    virtual void customizeInterface(const InterfaceTheme& /*theme*/) {}
    // The main course screen inside a container with a left side menu.
    virtual void setupMainViewController() = 0;
    // The list of course classes inside a navigation stack.
    virtual void setupCourseSelectViewController() = 0;
    // Gives the window its white background and shows it.
    virtual void makeKeyAndVisible() {}
};

}  // namespace examora
