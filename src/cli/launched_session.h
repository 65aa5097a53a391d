#pragma once

#include <functional>
#include <ostream>
#include <string>

#include "launch/launch_screens.h"

namespace examora {
class AppDelegate;
struct LaunchOptions;
// Runs the delegate's launch on the main queue and lets the background work it started (the
// online check, the base-item download) finish before the queues stop. False when the database
// could not be installed or the launch raised; a raised reason lands in `failure`.
bool launchSettled(AppDelegate& delegate, const LaunchOptions& launch, std::string& failure);

}  // namespace examora

namespace examora {

// The screens of a command that shows none: the launch chooses a first screen and nothing is
// drawn.
class HeadlessScreens : public LaunchScreens {
  public:
    void setupMainViewController() override {}
    void setupCourseSelectViewController() override {}
};

// Runs the launch sequence on the home (empty: the default home) against the service URL
// (empty: $EXAMORA_SERVICE_URL), then `work` on the main queue, and lets the background work
// the launch started finish before the queues stop. The exit status is work's, or 1 with a line
// on `err` when the database cannot be installed.
int runLaunched(const std::string& home, const std::string& serviceUrl, bool quiet,
                std::ostream& err, const std::function<int()>& work);

// Runs the delegate's launch on the main queue and lets the background work it started (the
// online check, the base-item download) finish before the queues stop. False when the database
// could not be installed or the launch raised; a raised reason lands in `failure`.
bool launchSettled(AppDelegate& delegate, const LaunchOptions& launch, std::string& failure);

}  // namespace examora
