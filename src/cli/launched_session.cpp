// The launch sequence run around one console command's work.

#include "cli/launched_session.h"

#include <exception>
#include <optional>

#include "launch/app_delegate.h"
#include "platform/global_queue.h"
#include "platform/log.h"
#include "platform/main_queue.h"
#include "platform/paths.h"

namespace examora {

int runLaunched(const std::string& home, const std::string& serviceUrl, bool quiet,
                std::ostream& err, const std::function<int()>& work) {
    if (quiet) setLogQuiet(true);
    if (!home.empty()) Paths::setHome(home);
    LaunchOptions launch;
    launch.serviceUrl = LaunchOptions::serviceUrlFrom(
        serviceUrl.empty() ? std::nullopt : std::optional<std::string>(serviceUrl));
    HeadlessScreens screens;
    AppDelegate delegate(screens);
    int status = 1;
    MainQueue& main = MainQueue::shared();
    main.start();
    main.sync([&] {
        if (!delegate.application(launch)) {
            err << "examora: cannot install the database in " << Paths::home() << "/documents\n";
            return;
        }
        status = work();
    });
    GlobalQueue::waitUntilIdle();
    main.stop();
    return status;
}

bool launchSettled(AppDelegate& delegate, const LaunchOptions& launch, std::string& failure) {
    bool launched = false;
    MainQueue& main = MainQueue::shared();
    main.start();
    try {
        main.sync([&] { launched = delegate.application(launch); });
    } catch (const std::exception& e) {
        failure = e.what();
        launched = false;
    }
    GlobalQueue::waitUntilIdle();
    main.stop();
    return launched;
}

}  // namespace examora
