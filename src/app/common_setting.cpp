// CommonSetting: the process-wide session values, atomics and mutex-guarded texts.

#include "app/common_setting.h"

#include <atomic>
#include <mutex>

namespace examora {

namespace {

struct Texts {
    std::string district, loginUserName, deviceId, dbPath, imagePath, courseVersion, courseName;
};

std::mutex gTextMutex;
Texts gTexts;
std::atomic<int> gCourseId{0};
std::atomic<int> gLoginUserId{0};
std::atomic<int> gLoginOnlineId{0};
std::atomic<bool> gIsOnline{true};
std::atomic<float> gMultiGuessDeductPoints{0.5f};
std::atomic<int> gDownloadSubjectType{0};

std::string readText(const std::string Texts::*field) {
    std::lock_guard<std::mutex> lock(gTextMutex);
    return gTexts.*field;
}

void writeText(std::string Texts::*field, const std::optional<std::string>& v) {
    std::lock_guard<std::mutex> lock(gTextMutex);
    gTexts.*field = v.value_or(std::string());
}

}  // namespace

int CommonSetting::CourseId() {
    return gCourseId;
}
void CommonSetting::setCourseId(int v) {
    gCourseId = v;
}
std::string CommonSetting::District() {
    return readText(&Texts::district);
}
void CommonSetting::setDistrict(const std::optional<std::string>& v) {
    writeText(&Texts::district, v);
}
int CommonSetting::LoginUserId() {
    return gLoginUserId;
}
void CommonSetting::setLoginId(int v) {
    gLoginUserId = v;
}
std::string CommonSetting::LoginUserName() {
    return readText(&Texts::loginUserName);
}
void CommonSetting::setLoginUserName(const std::optional<std::string>& v) {
    writeText(&Texts::loginUserName, v);
}
int CommonSetting::LoginOnlineId() {
    return gLoginOnlineId;
}
void CommonSetting::setLoginOnlineId(int v) {
    gLoginOnlineId = v;
}
std::string CommonSetting::DeviceId() {
    return readText(&Texts::deviceId);
}
void CommonSetting::setDeviceId(const std::optional<std::string>& v) {
    writeText(&Texts::deviceId, v);
}
std::string CommonSetting::DbPath() {
    return readText(&Texts::dbPath);
}
void CommonSetting::setDbPath(const std::optional<std::string>& v) {
    writeText(&Texts::dbPath, v);
}
std::string CommonSetting::ImagePath() {
    return readText(&Texts::imagePath);
}
void CommonSetting::setImagePath(const std::optional<std::string>& v) {
    writeText(&Texts::imagePath, v);
}
std::string CommonSetting::CourseVersion() {
    return readText(&Texts::courseVersion);
}
void CommonSetting::setCourseVersion(const std::optional<std::string>& v) {
    writeText(&Texts::courseVersion, v);
}
std::string CommonSetting::CourseName() {
    return readText(&Texts::courseName);
}
void CommonSetting::setCourseName(const std::optional<std::string>& v) {
    writeText(&Texts::courseName, v);
}
bool CommonSetting::IsOnline() {
    return gIsOnline;
}
void CommonSetting::setIsOnline(bool v) {
    gIsOnline = v;
}
float CommonSetting::MultiGuessDeductPoints() {
    return gMultiGuessDeductPoints;
}
void CommonSetting::setMultiGuessDeductPoints(float v) {
    gMultiGuessDeductPoints = v;
}
int CommonSetting::DownloadSubjectType() {
    return gDownloadSubjectType;
}
void CommonSetting::setDownloadSubjectType(int v) {
    gDownloadSubjectType = v;
}

void CommonSetting::reset() {
    {
        std::lock_guard<std::mutex> lock(gTextMutex);
        gTexts = Texts{};
    }
    gCourseId = 0;
    gLoginUserId = 0;
    gLoginOnlineId = 0;
    gIsOnline = true;
    gMultiGuessDeductPoints = 0.5f;
    gDownloadSubjectType = 0;
}

}  // namespace examora
