#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "sync/content_item_rule.h"

namespace examora {

// What one sync did with one item set of a course.
struct ContentItemSetReport {
    ContentItemSet itemSet = ContentItemSet::Chapter;
    // The service delivered the id list (an empty one included).
    bool listDelivered = false;
    std::size_t listed = 0;     // ids the service listed as changed
    std::size_t written = 0;    // records stored
    std::size_t unchanged = 0;  // questions whose stored change date was already the server's
    std::size_t pictures = 0;   // picture files saved
    std::size_t batches = 0;
    std::size_t failedBatches = 0;  // batches not written whole
    // The item set's change date moved: every listed record is stored.
    bool dateStored = false;
    // The item set's change date after the run; empty when it was never stored.
    std::string storedDate;
};

// Brings one course's chapters, outline entries and questions up to date from the service, item
// set after item set, in batches of ContentItemRule::kBatchSize ids: the plain driver of the
// command line and of tests (the application's own orchestration adds progress and stopping).
//
// Contract:
// - Errors: nothing is thrown; each item set's report says what happened. A failed id list or a
//   batch not written whole leaves the item set's change date as it was, so the next sync asks
//   from the same date and fetches what is missing again.
// - The date stored for a complete item set is the one the service handed back with its id list:
//   the service compares change dates with its own clock, which the device's may not match.
// - Threads: blocks the calling thread. With concurrency above 1 the batches of an item set run
//   on an operation queue of that many workers, each batch with its own ClientDataExchange and
//   connection; item sets still run one after the other.
// - Crash safety: each record is written in its own transaction and the date only after all of
//   them, so after a kill the next sync completes the item set.
class CourseContentSync {
  public:
    struct Options {
        int courseId = 0;
        int courseType = 0;
        std::string district;
        int concurrency = 1;
    };

    // The three reports, in the order chapters, outline entries, questions.
    static std::vector<ContentItemSetReport> run(const Options& options);
    // One item set.
    static ContentItemSetReport runItemSet(const Options& options, ContentItemSet itemSet);
};

}  // namespace examora
