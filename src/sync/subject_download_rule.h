#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace examora {

// The rules of the download orchestration that need no database: how batches are counted, when
// an item set is complete, which date it stores, which path a course takes, and the progress
// shown.
class SubjectDownloadRule {
  public:
    // Ids per batch, and batches running at once.
    static constexpr std::size_t kBatchSize = 25;
    static constexpr int kMaxConcurrentBatches = 5;
    // Questions with a change date at or after this count as downloaded.
    static constexpr const char* kDownloadedSince = "2000-01-01";

    // The finished count after one more batch: every batch counts kBatchSize, the last short one
    // too, so the count of an item set of 60 ids runs 25, 50, 75.
    static std::int64_t countAfterBatch(std::int64_t finished) {
        return finished + static_cast<std::int64_t>(kBatchSize);
    }
    // Whether every batch of an item set of `total` ids is counted.
    static bool itemSetCounted(std::int64_t finished, std::int64_t total) {
        return total > 0 && finished >= total;
    }
    // The change date an item set stores once every batch is counted: none when any batch was
    // not written whole (the next run asks from the old date again); else the date the service
    // handed back with the id list, and the local time only when it gave none.
    static std::optional<std::string> dateToStore(bool everyBatchWritten,
                                                  const std::string& serviceDate,
                                                  const std::string& localNow);
    // The whole package for a rebuild, or for a course none of whose questions was downloaded.
    static bool usePackage(bool rebuild, bool anyQuestionDownloaded) {
        return rebuild || !anyQuestionDownloaded;
    }
    // The share of work done, 0 to 1 (never above 1); nullopt while the total is unknown.
    static std::optional<double> progress(std::int64_t finished, std::int64_t total);
};

}  // namespace examora
