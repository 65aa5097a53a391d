// ConfigHelper: the persistent preferences and the session settings loaded from them.

#include "app/config_helper.h"

#include <limits>

#include "app/common_setting.h"
#include "platform/paths.h"
#include "platform/preferences.h"

namespace examora {

namespace {

Preferences store() {
    return Preferences(Paths::preferencesFile());
}

// Integers are kept 32-bit in the session; a stored value out of that range counts as none.
int toInt32(const Value& v) {
    std::int64_t n = v.isDouble() ? static_cast<std::int64_t>(v.asDouble()) : v.asInt64();
    if (n > std::numeric_limits<int>::max() || n < std::numeric_limits<int>::min()) return 0;
    return static_cast<int>(n);
}

}  // namespace

void ConfigHelper::updateValue(const std::string& key, const Value& value) {
    store().set(key, value);
}

void ConfigHelper::updateIntValue(const std::string& key, int value) {
    store().set(key, Value(value));
}

Value ConfigHelper::getValue(const std::string& key) {
    return store().get(key);
}

int ConfigHelper::getIntValue(const std::string& key) {
    return toInt32(getValue(key));
}

std::optional<std::string> ConfigHelper::getStringValue(const std::string& key) {
    Value v = getValue(key);
    if (v.isNull()) return std::nullopt;
    return v.asString();
}

void ConfigHelper::loadSystemConfig() {
    loadSystemConfig(false);
}

void ConfigHelper::loadUserConfig() {
    loadSystemConfig(true);
}

void ConfigHelper::loadSystemConfig(bool userOnly) {
    int userid = getIntValue(kUserId);
    if (userid < 1) {
        CommonSetting::setLoginId(0);
        CommonSetting::setLoginUserName(std::string());
    } else {
        CommonSetting::setLoginId(userid);
        CommonSetting::setLoginUserName(getStringValue(kUserName));
    }
    CommonSetting::setDistrict(getStringValue(kDistrict));
    if (userOnly) return;
    int courseid = getIntValue(kCourseId);
    CommonSetting::setCourseId(courseid < 1 ? 0 : courseid);
}

}  // namespace examora
