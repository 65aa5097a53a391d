// BaseItemDownloader: one background run of the base-item download and its notification.
#include "sync/base_item_downloader.h"

#include <exception>

#include "platform/exam_error.h"
#include "platform/global_queue.h"
#include "platform/log.h"
#include "platform/notification_center.h"

namespace examora {

std::shared_ptr<BaseItemDownloader> BaseItemDownloader::create(Finished finished) {
    return std::shared_ptr<BaseItemDownloader>(new BaseItemDownloader(std::move(finished)));
}

BaseItemDownloader::BaseItemDownloader(Finished finished) : finished_(std::move(finished)) {}

void BaseItemDownloader::downloadBaseItem() {
    GlobalQueue::async(QueuePriority::Background,
                       [self = shared_from_this()] { self->downloadBaseItemThread(); });
}

void BaseItemDownloader::downloadBaseItemThread() {
    {
        std::lock_guard<std::mutex> hold(lock_);
        std::vector<BaseItemResult> results;
        try {
            ClientDataExchange exchange;
            exchange.downloadBaseItem();
            results = exchange.baseItemResults();
        } catch (const ExamError& e) {
            logf("download baseitem error:%@:%@", e.name(), e.reason());
        } catch (const std::exception& e) {
            logf("download baseitem error:%@:%@", "exception", e.what());
        }
        try {
            if (finished_) finished_(results);
        } catch (const std::exception& e) {
            logf("download baseitem error:%@:%@", "finished", e.what());
        }
    }
    NotificationCenter::defaultCenter().post(kDownloadedNotification);
}

}  // namespace examora
