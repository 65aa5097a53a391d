// PushService: the presence loop, with its reachability check, online login and periodic upload.
#include "account/push_service.h"

#include "app/common_setting.h"
#include "platform/log.h"
#include "platform/main_queue.h"
#include "service/exam_web_service_util.h"

namespace examora {

namespace {
constexpr int kTicksPerUpload = 7;
constexpr double kOnlineCheckSeconds = 5;
constexpr int kBackgroundNice = 10;
}  // namespace

PushService::PushService(Actions actions, Options options)
    : actions_(std::move(actions)),
      options_(std::move(options)),
      loop_(OperationQueue::Options{1, kBackgroundNice}) {
    if (!actions_.checkOnline) {
        actions_.checkOnline = []() -> std::optional<bool> {
            return ExamWebServiceUtil().checkIsOnline(kOnlineCheckSeconds);
        };
    }
}

PushService::~PushService() {
    stopService();
    loop_.waitUntilAllOperationsAreFinished();
}

void PushService::startService() {
    if (isRun_ && !quit_) return;
    // A loop still winding down from an earlier stop ends before the new one starts (one worker).
    quit_ = false;
    isRun_ = true;
    msgId_ = 0;
    runIndex_ = 0;
    loop_.addOperation([this] { run(); });
}

void PushService::stopService() {
    {
        std::lock_guard<std::mutex> lock(waitMutex_);
        quit_ = true;
    }
    stopped_.notify_all();
}

void PushService::waitUntilFinished() {
    loop_.waitUntilAllOperationsAreFinished();
}

void PushService::wait() {
    if (options_.sleep) {
        options_.sleep(options_.tick);
        return;
    }
    std::unique_lock<std::mutex> lock(waitMutex_);
    stopped_.wait_for(lock, options_.tick, [this] { return quit_.load(); });
}

void PushService::run() {
    while (!quit_) {
        wait();
        if (quit_) break;
        tick();
    }
    isRun_ = false;
    postToMain([] { logLine("push service finished"); });
}

void PushService::tick() {
    runIndex_ = runIndex_ > kTicksPerUpload - 1 ? 1 : runIndex_ + 1;
    logf("push service index%d", runIndex_.load());

    if (!CommonSetting::IsOnline()) {
        std::optional<bool> online = actions_.checkOnline();
        if (online) {
            CommonSetting::setIsOnline(*online);
            logf("NET STATUS:%@", *online ? "ONLINE" : "OFFLINE");
            if (*online && CommonSetting::LoginOnlineId() <= 0 && actions_.loginOnline) {
                std::optional<bool> done = actions_.loginOnline();
                if (done && CommonSetting::LoginOnlineId() >= 1 && actions_.downloadBaseData) {
                    actions_.downloadBaseData();
                }
            }
        }
    }

    if (runIndex_ == 1 && CommonSetting::IsOnline() && actions_.uploadTasks) {
        actions_.uploadTasks();
    }
}

}  // namespace examora
