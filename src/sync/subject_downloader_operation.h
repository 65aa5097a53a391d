#pragma once

#include <atomic>
#include <cstdint>
#include <vector>

#include "sync/client_data_exchange.h"
#include "sync/content_item_rule.h"

namespace examora {

// One batch of the orchestration: the records of up to 25 ids of one item set of a course,
// fetched and written with a ClientDataExchange (and database connection) of its own, on a
// worker of the orchestration's operation queue.
class SubjectDownloaderOperation {
  public:
    SubjectDownloaderOperation(int courseId, ContentItemSet downloadObject,
                               std::vector<int> downloadList);

    // Fetches and writes the batch. A failure is logged ("download%d fail:%@") and answered as
    // a batch not written whole; nothing is thrown.
    ContentBatchResult main();

    const int courseId;
    const ContentItemSet downloadObject;
    const std::vector<int> lstDownload;
    std::atomic<bool> stop{false};
    // The order of creation, from a counter shared by every operation.
    const std::int64_t sequence;

  private:
    static std::int64_t nextSequence();
};

}  // namespace examora
