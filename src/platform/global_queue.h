#pragma once

#include <functional>

#include "platform/operation_queue.h"

namespace examora {

enum class QueuePriority { Background, Default };

// The process-wide concurrent queues, one per priority. Background workers run at a lower
// scheduling priority. Their threads are joined at process exit after the queued work has run.
class GlobalQueue {
  public:
    static OperationQueue& get(QueuePriority priority);
    static void async(QueuePriority priority, std::function<void()> task);
    // Blocks until both queues have nothing queued or running (tests, orderly shutdown).
    static void waitUntilIdle();
};

}  // namespace examora
