#pragma once

#include <functional>
#include <optional>
#include <string>

#include "app/logo_util.h"
#include "launch/launch_screens.h"
#include "sync/base_item_downloader.h"

namespace examora {

struct LaunchOptions {
    // The exam web service's URL (its path is /CL.ExamWebService/ExamJsonService.asmx).
    std::string serviceUrl;
    // The current local date-time text; nowLocalText when empty.
    std::function<std::string()> clock;
    // Told, on the download's worker, what the launch's base-item download did item by item
    // (the command line reports it); the screens learn of its end from "downloadedbaseitem".
    BaseItemDownloader::Finished baseItemsDownloaded;

    // The command line's URL when given, else the environment's EXAMORA_SERVICE_URL, else empty.
    static std::string serviceUrlFrom(const std::optional<std::string>& commandLine);
};

// The launch sequence: fixes the web-service parameters, installs the local store, loads the
// session settings, starts the online check (which runs the base-item download when the service
// answers) and chooses the first screen without waiting for the check.
class AppDelegate {
  public:
    enum class FirstScreen { None, Main, CourseSelection };

    static constexpr int kOnlineCheckTimeout = 5;
    // Before this date (compared as text) a launch with no course opens course 1.
    static constexpr const char* kDefaultCourseUntil = "2017-02-18";

    explicit AppDelegate(LaunchScreens& screens);

    // The launch sequence, on the main queue. False when the store could not be installed
    // ("couldn't init db" is logged): no screen is shown then.
    bool application(const LaunchOptions& launchOptions);

    // The four process-wide web-service defaults: the service URL of the launch options, the
    // default service namespace and the SOAP header's user and password.
    void initWebServicePara();
    void setupMainViewController();
    void setupCourseSelectViewController();
    void customizeInterface();
    // The launch-time online check and base-data download that the launch hands to LogoUtil:
    // the check through a ClientDataExchange, the download through a BaseItemDownloader.
    LogoUtil::OnlineTasks onlineTasks() const;

    FirstScreen firstScreen() const { return firstScreen_; }

  private:
    LaunchScreens& screens_;
    LaunchOptions options_;
    FirstScreen firstScreen_ = FirstScreen::None;
};

}  // namespace examora
