// APIManager: the rows that reach synchronisation (new content, history, upload, task queue).
#include "app/common_setting.h"
#include "facade/api_manager.h"
#include "sync/client_data_exchange.h"

namespace examora {

void APIManager::downloadUserDataFromServer_withBlock(const IntBlock& block) {
    guardedInt(block, [] {
        ClientDataExchange exchange;
        exchange.downloadUserDataFromServer(CommonSetting::LoginUserId());
        if (!exchange.lastHistoryReport().delivered()) throw ExamError(kSyncName, kSyncFailed);
        return 1;
    });
}

void APIManager::uploadUserDataToServer_willClear(bool willClear, const IntBlock& block) {
    guardedInt(block, [willClear] {
        ClientDataExchange exchange;
        exchange.uploadUserDataToServer(CommonSetting::LoginUserId(), CommonSetting::CourseId(),
                                        willClear, CommonSetting::DeviceId());
        if (!exchange.lastUploadReport().delivered()) throw ExamError(kSyncName, kSyncFailed);
        return 1;
    });
}

void APIManager::uploadTaskToServer_withBlock(const IntBlock& block) {
    guardedInt(block, [] {
        ClientDataExchange exchange;
        if (exchange.uploadTaskToServer() == TaskSend::Kept)
            throw ExamError(kSyncName, kSyncFailed);
        return 1;
    });
}

void APIManager::checkCourseHadNewUpdate_withCourseId(int courseId, int courseType,
                                                      const std::function<void(bool)>& block) {
    ClientDataExchange exchange;
    const bool hadNewUpdate = exchange.checkCourseHadNewUpdate(courseId, courseType);
    if (block) block(hadNewUpdate);
}

}  // namespace examora
