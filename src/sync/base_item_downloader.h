#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "sync/client_data_exchange.h"

namespace examora {

// Runs the base-item download in the background and tells the screens when it is over.
//
// Contract kept for every caller:
// - Errors: nothing reaches the caller. An error that escapes the run is logged as
//   "download baseitem error:%@:%@"; the notification is posted all the same.
// - Threads: downloadBaseItem returns at once; the run happens on a worker of the
//   background-priority global queue, holding this downloader's own lock, so two runs of one
//   downloader never overlap (runs of two downloaders are not serialised). The notification
//   "downloadedbaseitem" is delivered on the main queue after every run, whatever happened.
// - Lifetimes: create with `create`; a run keeps the downloader alive until it has finished. Each
//   run makes and releases its own ClientDataExchange (and so its own connection).
// - Crash safety: as ClientDataExchange, item by item; a killed run leaves every item with its
//   old or its new content, and the next run starts from the dates last stored.
class BaseItemDownloader : public std::enable_shared_from_this<BaseItemDownloader> {
  public:
    static constexpr const char* kDownloadedNotification = "downloadedbaseitem";

    // Called on the worker, before the notification, with what each item of the run did.
    using Finished = std::function<void(const std::vector<BaseItemResult>& results)>;

    static std::shared_ptr<BaseItemDownloader> create(Finished finished = {});

    // Queues one run on the background queue and returns.
    void downloadBaseItem();

  private:
    explicit BaseItemDownloader(Finished finished);
    // One run on the calling thread.
    void downloadBaseItemThread();

    std::mutex lock_;
    Finished finished_;
};

}  // namespace examora
