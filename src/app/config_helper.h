#pragma once

#include <optional>
#include <string>

#include "platform/value.h"

namespace examora {

// The persistent preferences of the application (a Preferences file in the application home)
// and the loading of the session settings from them. Every update is on disk when it returns;
// reads never fail: a missing key, or a missing or damaged file, reads as absent.
class ConfigHelper {
  public:
    static constexpr const char* kCourseId = "courseid";
    static constexpr const char* kDistrict = "district";
    static constexpr const char* kUserId = "userid";
    static constexpr const char* kUserName = "username";
    static constexpr const char* kUUID = "UUID";

    // Stores a number or a text under the key; a null value removes the key.
    static void updateValue(const std::string& key, const Value& value);
    static void updateIntValue(const std::string& key, int value);
    // The stored value, or a null Value (nil) when absent.
    static Value getValue(const std::string& key);
    // The stored value as an integer; absent reads 0.
    static int getIntValue(const std::string& key);
    // The stored value as text; nullopt (nil) when absent.
    static std::optional<std::string> getStringValue(const std::string& key);

    // Loads the logged-in learner, the district and the current course into CommonSetting.
    static void loadSystemConfig();
    // As loadSystemConfig, but leaves the current course alone.
    static void loadUserConfig();
    // Learner and district always; the current course unless userOnly is set. A stored id below
    // 1 means none (0), and with no learner the learner's name is empty whatever is stored.
    static void loadSystemConfig(bool userOnly);
};

}  // namespace examora
