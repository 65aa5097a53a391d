#pragma once

#include <functional>
#include <string>

#include "platform/value.h"

namespace examora {

// Start-up utilities: installation of the working database and the picture directory, the device
// identifier, access to the secure item store, and the start of the launch-time online check.
// Class-level operations only.
class LogoUtil {
  public:
    // The launch-time online check, run with the launch's time-out on a worker of the
    // background-priority global queue. The launch never waits for it.
    using OnlineCheck = std::function<void(int timeout)>;

    // Installs the store; on success sets DeviceId and District, starts the online check with the
    // time-out (seconds) and answers YES. Answers NO, starting nothing, when the store cannot be
    // installed.
    static bool initializeSystemData(int timeout);

    // Installs the working database "zxexam.db" from the template resource when it does not exist
    // yet (an existing one is never replaced) and creates the picture directory "image", both in
    // the documents directory; sets DbPath and ImagePath. NO when the template is missing or
    // cannot be copied.
    static bool initializeDb();

    // The device identifier: the stored one when there is one (preferences first, then the secure
    // store), otherwise the platform's per-vendor identifier or, failing that, a new random UUID,
    // which is then stored in both places.
    static std::string getUUID();

    static void wiriteConfigWithValue(const std::string& value);
    // Writes the value under the item to the preferences and to the secure store.
    static void wiriteConfigWithItem(const std::string& item, const Value& value);
    static Value getConfigValue();
    // The preferences' value of the item when it is not empty, else the secure store's (null
    // when neither has one).
    static Value getConfigValueWithItem(const std::string& item);

    // Replaces the secure item of that name.
    static void saveKeychain(const std::string& item, const Value& data);
    // The secure item's value, or null when there is none or it cannot be unarchived (logged).
    static Value loadKeychain(const std::string& item);
    static void deleteKeychain(const std::string& item);

    // Replaces the task that initializeSystemData starts; an empty function restores the default,
    // which does nothing.
    static void setOnlineCheck(OnlineCheck check);
};

}  // namespace examora
