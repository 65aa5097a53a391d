// AppDelegate: the launch sequence and the choice of the first screen.

#include "launch/app_delegate.h"

#include <cstdlib>

#include "app/common_setting.h"
#include "app/config_helper.h"
#include "app/logo_util.h"
#include "platform/date_time.h"
#include "platform/log.h"
#include "service/asi_service_args.h"
#include "sync/client_data_exchange.h"

namespace examora {

std::string LaunchOptions::serviceUrlFrom(const std::optional<std::string>& commandLine) {
    if (commandLine) return *commandLine;
    const char* env = std::getenv("EXAMORA_SERVICE_URL");
    return env ? std::string(env) : std::string();
}

AppDelegate::AppDelegate(LaunchScreens& screens) : screens_(screens) {}

bool AppDelegate::application(const LaunchOptions& launchOptions) {
    options_ = launchOptions;
    firstScreen_ = FirstScreen::None;
    screens_.makeWindow();
    initWebServicePara();
    CommonSetting::setCourseVersion(std::string());
    if (!LogoUtil::initializeSystemData(kOnlineCheckTimeout, onlineTasks())) {
        logf("couldn't init db");
        return false;
    }
    ConfigHelper::loadSystemConfig();
    customizeInterface();

    if (CommonSetting::CourseId() == 0) {
        std::string now = options_.clock ? options_.clock() : nowLocalText();
        if (now <= kDefaultCourseUntil) CommonSetting::setCourseId(1);
    }
    if (CommonSetting::CourseId() >= 1) {
        setupMainViewController();
    } else {
        setupCourseSelectViewController();
    }
    screens_.makeKeyAndVisible();
    return true;
}

void AppDelegate::initWebServicePara() {
    ASIServiceArgs::useExamService(options_.serviceUrl);
}

void AppDelegate::setupMainViewController() {
    firstScreen_ = FirstScreen::Main;
    screens_.setupMainViewController();
}

void AppDelegate::setupCourseSelectViewController() {
    firstScreen_ = FirstScreen::CourseSelection;
    screens_.setupCourseSelectViewController();
}

void AppDelegate::customizeInterface() {
    screens_.customizeInterface(InterfaceTheme{});
}

LogoUtil::OnlineTasks AppDelegate::onlineTasks() const {
    LogoUtil::OnlineTasks tasks;
    tasks.checkIsOnline = [](int timeout) {
        std::optional<bool> online;
        ClientDataExchange exchange;
        exchange.checkIsOnline(timeout, [&](std::optional<bool> answer,
                                            const std::optional<ExamError>&) { online = answer; });
        return online;
    };
    tasks.downloadBaseData = [finished = options_.baseItemsDownloaded] {
        BaseItemDownloader::create(finished)->downloadBaseItem();
    };
    return tasks;
}

}  // namespace examora
