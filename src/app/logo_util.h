#pragma once

#include <functional>
#include <optional>
#include <string>

#include "platform/value.h"

namespace examora {

// Start-up utilities: installation of the working database and the picture directory, the device
// identifier, access to the secure item store, and the start of the launch-time online check.
// Class-level operations only.
class LogoUtil {
  public:
    // What the launch-time online check needs from the layers above, handed in by the launch.
    struct OnlineTasks {
        // Whether the service answers within the time-out (seconds); nullopt when the check
        // raised an error.
        std::function<std::optional<bool>(int timeout)> checkIsOnline;
        // Starts the base-item download; it announces its own end to the screens.
        std::function<void()> downloadBaseData;
    };

    // Installs the store; on success sets DeviceId and District, starts checkOnlineInThread with
    // the time-out (seconds) and the tasks as one task of the background-priority global queue,
    // and answers YES without waiting for it. Answers NO, starting nothing, when the store cannot
    // be installed. When the task is over, "checkonline is finished" is logged on the main queue.
    static bool initializeSystemData(int timeout, OnlineTasks tasks);

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

    // The online check on the calling thread: with an answer, sets IsOnline to it, logs
    // "NET STATUS:%@" (ONLINE or OFFLINE) and, when online, runs downloadBaseData; without one
    // (the check raised an error, or no check was handed in) changes nothing.
    static void checkOnlineInThread(int timeout, const OnlineTasks& tasks);
    // Starts the base-data download of the tasks.
    static void downloadBaseData(const OnlineTasks& tasks);
};

}  // namespace examora
