#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/dict.h"

namespace examora {

// The local tables whose records travel through the exchange-task queue, picked by item name.
enum class ExchangeTable { Unknown, WriteNote, WriteError, SimulationLog };

// What one send of a queued task did.
enum class TaskSend {
    // The queue was empty.
    None,
    // The service received the record and the task is gone.
    Sent,
    // The call failed, or the record changed while it was being sent: the task stays queued.
    Kept,
    // The record no longer exists or its table is unknown: the task is gone without a call.
    Dropped
};

// The rules of the learner-data exchange that need no database.
class ExchangeRule {
  public:
    // Answers go up in calls of at most this many rows.
    static constexpr std::size_t kBatchSize = 500;
    // The start date that stands for "never uploaded".
    static constexpr const char* kNever = "2000-01-01";

    // The table an item name names, compared ignoring case.
    static ExchangeTable tableFor(std::string_view itemName);

    // The [begin, end) row ranges of the calls for `rows` rows, in row order: one range per
    // batch, the last holding the rest; none for no rows.
    static std::vector<std::pair<std::size_t, std::size_t>> batches(
        std::size_t rows, std::size_t batchSize = kBatchSize);

    // Rows changed on or after this date are sent: kNever with the clear flag or without a mark.
    static std::string startDate(bool clear, const std::string& mark);

    // The mark to store after an upload pass that began (by the device's clock, before its rows
    // were read) at `passStart`: that time when every call of the pass was delivered, nothing
    // (the previous mark stays) otherwise, so that the next pass sends the same rows again.
    static std::optional<std::string> markAfterPass(bool allDelivered,
                                                    const std::string& passStart);

    // Whether a downloaded paper may be taken for a local one by local number, course and name:
    // only when this device uploaded it (local numbers and default names repeat across devices),
    // or when the service names no uploader.
    static bool mayMatchByNumber(const std::optional<std::string>& uploaderMachine,
                                 const std::string& thisMachine);

    // Whether a row can be written as JSON text for the service: every text in it is well-formed
    // UTF-8. A row that cannot is never deliverable and is left out of uploads.
    static bool sendable(const Dict& row);
};

}  // namespace examora
