#include <gtest/gtest.h>

#include <climits>

#include "app/common_setting.h"
#include "app/config_helper.h"
#include "support/temp_home.h"

namespace examora {
namespace {

class ConfigHelperTest : public TempHomeTest {};

TEST_F(ConfigHelperTest, AbsentKeysReadAsZeroOrNil) {
    EXPECT_EQ(ConfigHelper::getIntValue("courseid"), 0);
    EXPECT_EQ(ConfigHelper::getStringValue("district"), std::nullopt);
    EXPECT_TRUE(ConfigHelper::getValue("username").isNull());

    ConfigHelper::updateIntValue("courseid", 12);
    ConfigHelper::updateValue("district", Value("上海"));
    EXPECT_EQ(ConfigHelper::getIntValue("courseid"), 12);
    EXPECT_EQ(ConfigHelper::getStringValue("courseid"), "12");
    EXPECT_EQ(ConfigHelper::getStringValue("district"), "上海");
    // Out of the session's 32-bit range saturates, as every integer reading does.
    ConfigHelper::updateValue("courseid", Value(std::int64_t{4294967297}));
    EXPECT_EQ(ConfigHelper::getIntValue("courseid"), INT_MAX);
    ConfigHelper::updateValue("courseid", Value("-4294967297"));
    EXPECT_EQ(ConfigHelper::getIntValue("courseid"), INT_MIN);
}

TEST_F(ConfigHelperTest, LoadsTheLearnerOnlyWhenTheStoredIdIsPositive) {
    ConfigHelper::updateValue("username", Value("zhang"));
    for (int stored : {0, -4}) {
        ConfigHelper::updateIntValue("userid", stored);
        CommonSetting::setLoginId(99);
        CommonSetting::setLoginUserName(std::string("old"));
        ConfigHelper::loadSystemConfig();
        EXPECT_EQ(CommonSetting::LoginUserId(), 0) << stored;
        EXPECT_EQ(CommonSetting::LoginUserName(), "") << stored;
    }
    ConfigHelper::updateIntValue("userid", 5);
    ConfigHelper::loadSystemConfig();
    EXPECT_EQ(CommonSetting::LoginUserId(), 5);
    EXPECT_EQ(CommonSetting::LoginUserName(), "zhang");
}

TEST_F(ConfigHelperTest, CourseIsLoadedUnlessUserOnlyAndWhatIsMissingIsCleared) {
    ConfigHelper::updateIntValue("courseid", 4);
    CommonSetting::setCourseId(9);
    CommonSetting::setDistrict(std::string("广东"));
    ConfigHelper::loadUserConfig();
    EXPECT_EQ(CommonSetting::CourseId(), 9);
    EXPECT_EQ(CommonSetting::District(), "");  // no stored district clears the session's
    ConfigHelper::updateValue("district", Value("江苏"));
    ConfigHelper::loadSystemConfig();
    EXPECT_EQ(CommonSetting::CourseId(), 4);
    EXPECT_EQ(CommonSetting::District(), "江苏");

    ConfigHelper::updateIntValue("courseid", -3);
    ConfigHelper::loadSystemConfig(false);
    EXPECT_EQ(CommonSetting::CourseId(), 0);
}

}  // namespace
}  // namespace examora
