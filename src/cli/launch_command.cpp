// The command line's launch: runs the launch sequence and reports what it set up.

#include "cli/launch_command.h"

#include <ostream>

#include "app/common_setting.h"
#include "cli/launched_session.h"
#include "launch/app_delegate.h"
#include "platform/log.h"
#include "platform/paths.h"

namespace examora {

namespace {

// The command line has no screens; it only remembers which one the launch chose.
class ConsoleScreens : public LaunchScreens {
  public:
    void setupMainViewController() override {}
    void setupCourseSelectViewController() override {}
};

const char* screenName(AppDelegate::FirstScreen screen) {
    switch (screen) {
        case AppDelegate::FirstScreen::Main:
            return "main";
        case AppDelegate::FirstScreen::CourseSelection:
            return "course selection";
        case AppDelegate::FirstScreen::None:
            break;
    }
    return "none";
}

}  // namespace

int LaunchCommand::run(const Options& options, std::ostream& out, std::ostream& err) {
    if (options.quiet) setLogQuiet(true);
    if (options.home) Paths::setHome(*options.home);

    LaunchOptions launch;
    launch.serviceUrl = LaunchOptions::serviceUrlFrom(options.serviceUrl);
    ConsoleScreens screens;
    AppDelegate delegate(screens);
    std::string failure;
    const bool launched = launchSettled(delegate, launch, failure);

    if (!failure.empty()) {
        err << "examora: launch failed: " << failure << "\n";
        return 1;
    }
    if (!launched) {
        err << "examora: cannot install the database in " << Paths::home()
            << "/documents: the template zxexam.db is missing from " << Paths::resourceDirectory()
            << " or cannot be copied\n";
        return 1;
    }
    out << "database: " << CommonSetting::DbPath() << "\n"
        << "pictures: " << CommonSetting::ImagePath() << "\n"
        << "device: " << CommonSetting::DeviceId() << "\n"
        << "first screen: " << screenName(delegate.firstScreen()) << "\n";
    return 0;
}

}  // namespace examora
