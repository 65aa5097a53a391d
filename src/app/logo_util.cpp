// LogoUtil: database installation, the device identifier and the launch-time online check.

#include "app/logo_util.h"

#include <mutex>

#include "app/common_setting.h"
#include "app/config_helper.h"
#include "platform/device_id.h"
#include "platform/file_util.h"
#include "platform/global_queue.h"
#include "platform/log.h"
#include "platform/paths.h"
#include "platform/secure_store.h"
#include "platform/text_util.h"

namespace examora {

namespace {

constexpr const char* kDatabaseName = "zxexam.db";
constexpr const char* kImageDirectoryName = "image";

std::mutex gCheckMutex;
LogoUtil::OnlineCheck gOnlineCheck;

LogoUtil::OnlineCheck onlineCheck() {
    std::lock_guard<std::mutex> lock(gCheckMutex);
    return gOnlineCheck;
}

SecureStore secureStore() {
    return SecureStore(Paths::secureDirectory());
}

}  // namespace

bool LogoUtil::initializeSystemData(int timeout) {
    if (!initializeDb()) return false;
    CommonSetting::setDeviceId(getUUID());
    CommonSetting::setDistrict(ConfigHelper::getStringValue(ConfigHelper::kDistrict));
    GlobalQueue::async(QueuePriority::Background, [check = onlineCheck(), timeout] {
        if (check) check(timeout);
    });
    return true;
}

bool LogoUtil::initializeDb() {
    std::string documents = Paths::documentsDirectory();
    logf("document:%@", documents);
    std::string dbPath = documents + "/" + kDatabaseName;
    std::string imagePath = documents + "/" + kImageDirectoryName;
    CommonSetting::setDbPath(dbPath);
    CommonSetting::setImagePath(imagePath);

    if (!fileExists(dbPath)) {
        std::optional<std::string> templatePath = Paths::pathForResource("zxexam", "db");
        if (!templatePath) return false;
        std::string error;
        if (!installFileIfAbsent(*templatePath, dbPath, &error)) {
            logf("cannot copy the template database: %@", error);
            return false;
        }
    }
    // A failure here is not fatal: later picture writes fail on their own.
    ensureDirectory(imagePath);
    return true;
}

std::string LogoUtil::getUUID() {
    Value stored = ConfigHelper::getValue(ConfigHelper::kUUID);
    if (!isEmpty(stored)) return stored.asString();
    // Preferences lost (cleared or damaged) but the secure store kept the identifier: the device
    // keeps its identity, and the preferences get it back.
    stored = loadKeychain(ConfigHelper::kUUID);
    if (!isEmpty(stored)) {
        ConfigHelper::updateValue(ConfigHelper::kUUID, Value(stored.asString()));
        return stored.asString();
    }
    std::string uuid = DeviceId::identifierForVendor().value_or(std::string());
    if (uuid.empty()) uuid = DeviceId::randomUUID();
    wiriteConfigWithValue(uuid);
    return uuid;
}

void LogoUtil::wiriteConfigWithValue(const std::string& value) {
    wiriteConfigWithItem(ConfigHelper::kUUID, Value(value));
}

void LogoUtil::wiriteConfigWithItem(const std::string& item, const Value& value) {
    ConfigHelper::updateValue(item, value);
    saveKeychain(item, value);
}

Value LogoUtil::getConfigValue() {
    return getConfigValueWithItem(ConfigHelper::kUUID);
}

Value LogoUtil::getConfigValueWithItem(const std::string& item) {
    Value v = ConfigHelper::getValue(item);
    if (!isEmpty(v)) return v;
    return loadKeychain(item);
}

void LogoUtil::saveKeychain(const std::string& item, const Value& data) {
    secureStore().save(item, data);
}

Value LogoUtil::loadKeychain(const std::string& item) {
    return secureStore().load(item).value_or(Value());
}

void LogoUtil::deleteKeychain(const std::string& item) {
    secureStore().remove(item);
}

void LogoUtil::setOnlineCheck(OnlineCheck check) {
    std::lock_guard<std::mutex> lock(gCheckMutex);
    gOnlineCheck = std::move(check);
}

}  // namespace examora
