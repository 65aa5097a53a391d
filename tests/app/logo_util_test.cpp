#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <regex>
#include <thread>

#include "app/common_setting.h"
#include "app/config_helper.h"
#include "app/logo_util.h"
#include "platform/device_id.h"
#include "platform/file_util.h"
#include "platform/global_queue.h"
#include "platform/log.h"
#include "platform/main_queue.h"
#include "platform/paths.h"
#include "platform/preferences.h"
#include "platform/secure_store.h"
#include "support/temp_home.h"

namespace examora {
namespace {

namespace fs = std::filesystem;

class LogoUtilTest : public TempHomeTest {
  protected:
    // A resource directory of our own whose template content the test controls.
    std::string useTemplate(const std::string& content) {
        std::string dir = home_.path() + "/res";
        TempHome::writeFile(dir + "/zxexam.db", content);
        Paths::setResourceDirectory(dir);
        return dir;
    }
    void useMachineId(const std::optional<std::string>& id) {
        std::string path = home_.path() + "/machine-id";
        fs::remove(path);
        if (id) TempHome::writeFile(path, *id + "\n");
        DeviceId::setMachineIdPath(path);
    }
};

TEST_F(LogoUtilTest, FirstInstallCopiesTheTemplateAndLaterOnesNeverReplaceTheWorkingFile) {
    useTemplate("template v1");
    LogCapture log;
    ASSERT_TRUE(LogoUtil::initializeDb());
    EXPECT_TRUE(log.contains("document:" + home_.documents()));
    EXPECT_EQ(CommonSetting::DbPath(), home_.documents() + "/zxexam.db");
    EXPECT_EQ(CommonSetting::ImagePath(), home_.documents() + "/image");
    EXPECT_EQ(TempHome::readFile(CommonSetting::DbPath()), "template v1");
    EXPECT_TRUE(fs::is_directory(CommonSetting::ImagePath()));

    // The learner's data lives in the working file; a newer template must not replace it.
    TempHome::writeFile(CommonSetting::DbPath(), "learner data");
    useTemplate("template v2");
    ASSERT_TRUE(LogoUtil::initializeDb());
    EXPECT_EQ(TempHome::readFile(CommonSetting::DbPath()), "learner data");
    // Only the working file and the picture directory: no copy left half-way.
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(home_.documents()))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"image", "zxexam.db"}));
}

TEST_F(LogoUtilTest, AKilledLaunchLeavesNoTemporaryFileThatBlocksTheNext) {
    useTemplate("template");
    // Every run of this test plays processes that all got the same process id.
    struct Hooks {
        Hooks() {
            setTemporaryFileHooksForTesting({.pid = [] { return pid_t{4242}; }});
        }
        ~Hooks() { setTemporaryFileHooksForTesting({}); }
    } samePid;
    struct Write {
        const char* what;
        bool (*run)();
        std::string directory;
    };
    const Write writes[] = {
        {"database", [] { return LogoUtil::initializeDb(); }, home_.documents()},
        {"preferences",
         [] { return Preferences(Paths::preferencesFile()).set("uuid", Value("id")); },
         home_.path()},
        {"secure store",
         [] { return SecureStore(Paths::secureDirectory()).save("uuid", Value("id")); },
         Paths::secureDirectory()},
    };
    for (const Write& write : writes) {
        SCOPED_TRACE(write.what);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            setTemporaryFileHooksForTesting(
                {.pid = [] { return pid_t{4242}; },
                 .created = [](const std::string&) { ::raise(SIGKILL); }});
            write.run();
            ::_exit(0);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);

        EXPECT_TRUE(write.run());
        for (const auto& e : fs::directory_iterator(write.directory))
            EXPECT_EQ(e.path().filename().string().find(".tmp."), std::string::npos) << e.path();
    }
}

TEST_F(LogoUtilTest, FailedCopyOrMissingTemplateFailsTheInstallWithoutADatabase) {
    // A plain file where the documents directory belongs makes the copy impossible.
    useTemplate("template");
    TempHome::writeFile(home_.documents(), "in the way");
    LogCapture log;
    EXPECT_FALSE(LogoUtil::initializeDb());
    EXPECT_TRUE(log.contains("cannot copy the template database"));

    fs::remove(home_.documents());
    Paths::setResourceDirectory(home_.makeDirectory("empty-res"));
    EXPECT_FALSE(LogoUtil::initializeDb());
    EXPECT_FALSE(fs::exists(home_.documents() + "/zxexam.db"));

    bool started = false;
    LogoUtil::OnlineTasks tasks;
    tasks.checkIsOnline = [&](int) {
        started = true;
        return std::optional<bool>(true);
    };
    EXPECT_FALSE(LogoUtil::initializeSystemData(5, tasks));
    GlobalQueue::waitUntilIdle();
    EXPECT_FALSE(started);
    EXPECT_EQ(CommonSetting::DeviceId(), "");
}

TEST_F(LogoUtilTest, PictureDirectoryThatCannotBeMadeIsNoFailure) {
    TempHome::writeFile(home_.documents() + "/image", "a file in the way");
    EXPECT_TRUE(home_.installTemplate());
}

TEST_F(LogoUtilTest, SystemDataStartsTheOnlineCheckInTheBackground) {
    ConfigHelper::updateValue("district", Value("浙江"));
    std::thread::id caller = std::this_thread::get_id();
    std::thread::id ranOn = caller;
    int timeout = 0;
    LogoUtil::OnlineTasks tasks;
    tasks.checkIsOnline = [&](int t) {
        ranOn = std::this_thread::get_id();
        timeout = t;
        return std::optional<bool>(false);
    };
    LogCapture log;
    ASSERT_TRUE(LogoUtil::initializeSystemData(5, tasks));
    GlobalQueue::waitUntilIdle();
    EXPECT_NE(ranOn, caller);
    EXPECT_EQ(timeout, 5);
    EXPECT_EQ(CommonSetting::District(), "浙江");
    EXPECT_EQ(CommonSetting::DeviceId(), LogoUtil::getUUID());
    // The end of the check is logged on the main queue, not on the worker.
    EXPECT_FALSE(log.contains("checkonline is finished"));
    MainQueue::shared().runUntilIdle();
    EXPECT_TRUE(log.contains("checkonline is finished"));
}

TEST_F(LogoUtilTest, OnlineCheckSetsTheFlagAndDownloadsOnlyWhenTheServiceAnswered) {
    struct Case {
        std::optional<bool> answer;
        bool onlineAfter;
        int downloads;
        const char* line;
    };
    // Starting from NO shows that an answerless check leaves the flag as it was.
    const Case cases[] = {{std::nullopt, false, 0, nullptr},
                          {false, false, 0, "NET STATUS:OFFLINE"},
                          {true, true, 1, "NET STATUS:ONLINE"}};
    for (const Case& c : cases) {
        CommonSetting::setIsOnline(false);
        int downloads = 0;
        LogoUtil::OnlineTasks tasks{[&](int) { return c.answer; }, [&] { ++downloads; }};
        LogCapture log;
        LogoUtil::checkOnlineInThread(5, tasks);
        EXPECT_EQ(CommonSetting::IsOnline(), c.onlineAfter);
        EXPECT_EQ(downloads, c.downloads);
        EXPECT_EQ(log.contains("NET STATUS"), c.line != nullptr);
        if (c.line) {
            EXPECT_TRUE(log.contains(c.line));
        }
    }
}

TEST_F(LogoUtilTest, DeviceIdentifierSurvivesLostPreferencesThroughTheSecureStore) {
    useMachineId("11112222333344445555666677778888");
    std::string first = LogoUtil::getUUID();
    EXPECT_EQ(first, DeviceId::identifierForVendor());
    EXPECT_EQ(LogoUtil::getUUID(), first);

    // Another machine id later (an image copied to new hardware) does not change a stored id.
    useMachineId("99990000999900009999000099990000");
    fs::remove(home_.preferencesFile());
    EXPECT_EQ(LogoUtil::getUUID(), first);
    EXPECT_EQ(ConfigHelper::getStringValue("UUID"), first);  // written back
}

TEST_F(LogoUtilTest, UnreadableSecureItemGivesAFreshRandomIdentifier) {
    useMachineId(std::nullopt);
    std::string first = LogoUtil::getUUID();
    EXPECT_TRUE(std::regex_match(first, std::regex("[0-9A-F-]{36}"))) << first;

    fs::remove(home_.preferencesFile());
    TempHome::writeFile(SecureStore(Paths::secureDirectory()).fileFor("UUID"), "not json");
    LogCapture log;
    std::string second = LogoUtil::getUUID();
    EXPECT_TRUE(log.contains("Unarchive of UUID failed: "));
    EXPECT_NE(second, first);
    EXPECT_EQ(LogoUtil::loadKeychain("UUID"), Value(second));  // the store is healed
    EXPECT_EQ(LogoUtil::getUUID(), second);
}

TEST_F(LogoUtilTest, ConfigValueFallsBackToTheSecureStoreOnlyWhenEmpty) {
    LogoUtil::saveKeychain("token", Value("from-keychain"));
    EXPECT_EQ(LogoUtil::getConfigValueWithItem("token"), Value("from-keychain"));
    for (const char* empty : {"", "NULL"}) {
        ConfigHelper::updateValue("token", Value(empty));
        EXPECT_EQ(LogoUtil::getConfigValueWithItem("token"), Value("from-keychain")) << empty;
    }
    LogoUtil::wiriteConfigWithItem("token", Value("both"));
    EXPECT_EQ(ConfigHelper::getStringValue("token"), "both");
    EXPECT_EQ(LogoUtil::loadKeychain("token"), Value("both"));

    LogoUtil::deleteKeychain("token");
    EXPECT_TRUE(LogoUtil::loadKeychain("token").isNull());
    EXPECT_EQ(LogoUtil::getConfigValueWithItem("token"), Value("both"));
}

}  // namespace
}  // namespace examora
