#include <gtest/gtest.h>

#include <sstream>

#include "app/common_setting.h"
#include "app/config_helper.h"
#include "cli/launch_command.h"
#include "launch/app_delegate.h"
#include "platform/log.h"
#include "platform/main_queue.h"
#include "platform/paths.h"
#include "service/asi_service_args.h"
#include "support/temp_home.h"

namespace examora {
namespace {

class FakeScreens : public LaunchScreens {
  public:
    void makeWindow() override { calls.push_back("window"); }
    void customizeInterface(const InterfaceTheme& theme) override {
        calls.push_back("customize " + theme.barColor + " " + theme.tintColor);
    }
    void setupMainViewController() override { calls.push_back("main"); }
    void setupCourseSelectViewController() override { calls.push_back("course select"); }
    void makeKeyAndVisible() override { calls.push_back("visible"); }
    std::vector<std::string> calls;
};

class AppDelegateTest : public TempHomeTest {
  protected:
    bool launch(const std::string& now = "2026-01-05 08:00:00") {
        LaunchOptions options;
        options.serviceUrl = "http://127.0.0.1:8080/CL.ExamWebService/ExamJsonService.asmx";
        options.clock = [now] { return now; };
        return delegate_.application(options);
    }
    FakeScreens screens_;
    AppDelegate delegate_{screens_};
};

TEST_F(AppDelegateTest, LaunchFixesTheServiceParametersAndShowsTheStoredCourse) {
    ConfigHelper::updateIntValue("courseid", 3);
    ConfigHelper::updateIntValue("userid", 8);
    ConfigHelper::updateValue("username", Value("li"));
    CommonSetting::setCourseVersion(std::string("v9"));
    ASSERT_TRUE(launch());

    EXPECT_EQ(ASIServiceArgs::getWebServiceURL(),
              "http://127.0.0.1:8080/CL.ExamWebService/ExamJsonService.asmx");
    EXPECT_EQ(ASIServiceArgs::getNameSpace(), "http://tempuri.org/");
    EXPECT_EQ(ASIServiceArgs::getHeaderUser(), "zxexam");
    EXPECT_EQ(ASIServiceArgs::getHeaderPassword(), "583quiz");
    EXPECT_EQ(CommonSetting::CourseVersion(), "");
    EXPECT_EQ(CommonSetting::CourseId(), 3);
    EXPECT_EQ(CommonSetting::LoginUserName(), "li");
    EXPECT_FALSE(CommonSetting::DeviceId().empty());
    EXPECT_EQ(delegate_.firstScreen(), AppDelegate::FirstScreen::Main);
    EXPECT_EQ(screens_.calls, (std::vector<std::string>{"window", "customize 0x2aaae2 0x3bbc79",
                                                        "main", "visible"}));
}

TEST_F(AppDelegateTest, NoCourseShowsTheCourseSelectionExceptBeforeTheCutOffDate) {
    for (int stored : {0, -1}) {
        screens_.calls.clear();
        ConfigHelper::updateIntValue("courseid", stored);
        ASSERT_TRUE(launch());
        EXPECT_EQ(CommonSetting::CourseId(), 0);
        EXPECT_EQ(delegate_.firstScreen(), AppDelegate::FirstScreen::CourseSelection) << stored;
        EXPECT_EQ(screens_.calls[2], "course select");
    }

    // Before the cut-off a launch without course opens course 1, in memory only.
    ASSERT_TRUE(launch("2017-02-17 23:59:59"));
    EXPECT_EQ(CommonSetting::CourseId(), 1);
    EXPECT_EQ(delegate_.firstScreen(), AppDelegate::FirstScreen::Main);
    EXPECT_EQ(ConfigHelper::getIntValue("courseid"), -1);

    // The comparison is on text: any time on the day itself is already past "2017-02-18".
    CommonSetting::setCourseId(0);
    ASSERT_TRUE(launch("2017-02-18 00:00:00"));
    EXPECT_EQ(delegate_.firstScreen(), AppDelegate::FirstScreen::CourseSelection);
}

TEST_F(AppDelegateTest, FailedInstallShowsNoScreen) {
    Paths::setResourceDirectory(home_.makeDirectory("empty-res"));
    ConfigHelper::updateIntValue("courseid", 3);
    LogCapture log;
    EXPECT_FALSE(launch());
    EXPECT_TRUE(log.contains("couldn't init db"));
    EXPECT_EQ(delegate_.firstScreen(), AppDelegate::FirstScreen::None);
    EXPECT_EQ(screens_.calls, std::vector<std::string>{"window"});
    EXPECT_EQ(CommonSetting::CourseId(), 0);  // settings were not loaded
}

// Launches into the test's home with the log captured.
class LaunchCommandTest : public TempHomeTest {
  protected:
    LaunchCommandTest() { options.home = home_.path(); }
    LaunchCommand::Options options;
    std::ostringstream out, err;
    LogCapture log;
};

TEST_F(LaunchCommandTest, ReportsWhatTheLaunchSetUpAndKeepsTheIdentifierNextTime) {
    ASSERT_EQ(LaunchCommand::run(options, out, err), 0) << err.str();
    EXPECT_EQ(err.str(), "");
    std::string device = "device: " + CommonSetting::DeviceId() + "\n";
    EXPECT_EQ(out.str(), "database: " + home_.documents() + "/zxexam.db\n" +
                             "pictures: " + home_.documents() + "/image\n" + device +
                             "first screen: course selection\n");
    EXPECT_FALSE(MainQueue::shared().isRunning());

    ConfigHelper::updateIntValue("courseid", 2);
    CommonSetting::reset();
    std::ostringstream again;
    ASSERT_EQ(LaunchCommand::run(options, again, err), 0);
    EXPECT_NE(again.str().find(device + "first screen: main\n"), std::string::npos) << again.str();
}

TEST_F(LaunchCommandTest, MissingTemplateExitsNonZeroWithOneLine) {
    Paths::setResourceDirectory(home_.makeDirectory("empty-res"));
    EXPECT_NE(LaunchCommand::run(options, out, err), 0);
    EXPECT_EQ(out.str(), "");
    std::string message = err.str();
    EXPECT_EQ(std::count(message.begin(), message.end(), '\n'), 1) << message;
    EXPECT_NE(message.find("zxexam.db"), std::string::npos);
}

}  // namespace
}  // namespace examora
